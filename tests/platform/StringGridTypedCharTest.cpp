#include "platform/TTypedChar.h"

#include <QKeyEvent>
#include <gtest/gtest.h>

namespace {

TEST(StringGridTypedChar, CharactersMapToCodePage1251) {
    const struct {
        char32_t CodePoint;
        unsigned char Byte;
    } cases[] = {
        {U'5', 0x35},
        {U'\b', 0x08},
        {U'А', 0xC0},
        {U'я', 0xFF},
        {U'Ж', 0xC6},
        {U'ё', 0xB8},
        {U'Ё', 0xA8},
        {U'№', 0xB9},
        {U'€', 0x88},
        {0x00A0, 0xA0},
        // Outside the code page, still 128 or more.
        {U'é', 0x98},
        {U'中', 0x98},
        {U'😀', 0x98},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<unsigned>(c.CodePoint));
        EXPECT_EQ(static_cast<unsigned char>(AnsiCharOf(c.CodePoint)), c.Byte);
    }
    for (int byte = 0; byte < 256; ++byte) {
        SCOPED_TRACE(byte);
        const QString text = TextOfAnsiChar(static_cast<char>(byte));
        ASSERT_EQ(text.size(), 1);
        if (byte != 0x98) {
            EXPECT_EQ(static_cast<unsigned char>(AnsiCharOf(text.at(0).unicode())), byte);
        }
    }
}

TEST(StringGridTypedChar, KeyEventsTypeTheCharactersTheKeyPressEventSees) {
    const struct {
        const char* What;
        int Key;
        Qt::KeyboardModifiers Modifiers;
        const char* Text;
        int Byte; // -1: no character
    } cases[] = {
        {"digit", Qt::Key_5, Qt::NoModifier, "5", '5'},
        {"Enter", Qt::Key_Return, Qt::NoModifier, "\r", 13},
        {"Escape", Qt::Key_Escape, Qt::NoModifier, "\x1b", 27},
        {"Backspace", Qt::Key_Backspace, Qt::NoModifier, "\b", 8},
        {"Ctrl+C with letter text", Qt::Key_C, Qt::ControlModifier, "c", 3},
        {"Ctrl+C with control text", Qt::Key_C, Qt::ControlModifier, "\x03", 3},
        {"Ctrl+Shift+V", Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier, "V", 22},
        {"Ctrl+Z without text", Qt::Key_Z, Qt::ControlModifier, "", 26},
        {"Ctrl+digit", Qt::Key_1, Qt::ControlModifier, "1", -1},
        {"Alt+letter", Qt::Key_A, Qt::AltModifier, "a", -1},
        {"AltGr as Ctrl+Alt", Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier, "@", '@'},
        {"Cyrillic", 0x0416, Qt::NoModifier, "ж", 0xE6},
        {"Delete", Qt::Key_Delete, Qt::NoModifier, "\x7f", -1},
        {"Tab", Qt::Key_Tab, Qt::NoModifier, "\t", -1},
        {"Shift+Insert", Qt::Key_Insert, Qt::ShiftModifier, "", -1},
        {"F2", Qt::Key_F2, Qt::NoModifier, "", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        const QKeyEvent event(QEvent::KeyPress, c.Key, c.Modifiers, QString::fromUtf8(c.Text));
        const QList<TTypedChar> chars = TypedChars(event);
        if (c.Byte < 0) {
            EXPECT_TRUE(chars.isEmpty());
        } else {
            ASSERT_EQ(chars.size(), 1);
            EXPECT_EQ(static_cast<unsigned char>(chars[0].Key), c.Byte);
        }
    }
    // A commit string is one keystroke per character, surrogate pairs included.
    const QList<TTypedChar> committed = TypedChars(QStringLiteral("1ж😀"));
    ASSERT_EQ(committed.size(), 3);
    EXPECT_EQ(committed[2].Text, QStringLiteral("😀"));
}

} // namespace
