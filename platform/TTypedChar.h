#pragma once

#include <QList>
#include <QString>

class QKeyEvent;

// One typed character as the key-press event sees it: Key is its byte in code page 1251 (the
// interface's code page), Text the character itself, so that a byte that comes back unchanged
// can be inserted exactly as it was typed.
struct TTypedChar {
    char Key = 0;
    QString Text;
};

// The characters that a key press types; empty for keys that type none (arrows, F2, Delete,
// Insert, Tab and Alt combinations). Ctrl+letter types the control character of that letter
// (Ctrl+C is 3, Ctrl+V 22) whatever text the platform attaches to the event.
QList<TTypedChar> TypedChars(const QKeyEvent& event);

// The characters of an input method's commit string, one keystroke each.
QList<TTypedChar> TypedChars(const QString& text);

// A character's byte in code page 1251. A character outside ASCII that the code page lacks
// becomes 0x98, the one code the page leaves unassigned: it still counts as a code of 128 or
// more, like every other character outside ASCII.
char AnsiCharOf(char32_t codePoint);

// The character that a byte of code page 1251 stands for (0x98 gives U+FFFD).
QString TextOfAnsiChar(char key);
