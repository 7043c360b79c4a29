#pragma once

#include <QLineEdit>

class TStringGrid;

// The cell editor of a TStringGrid: a frameless line edit laid over the current cell. Every
// character typed into it goes through the grid's key-press event first; only the editing
// keys that type no character (caret movement, Delete, Shift+Insert, Ctrl+Insert,
// Shift+Delete) and its own context menu reach the text without that filter.
class TInplaceEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TInplaceEdit(TStringGrid* grid);

    TStringGrid* Grid() const { return grid_; }

    // The editor's own handling of a character that the key-press event let through; Text is
    // inserted when the byte came back unchanged, so that it is exactly what was typed.
    void ApplyChar(char key, char typedKey, const QString& typedText);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    TStringGrid* grid_;
};
