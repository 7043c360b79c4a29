#include "platform/TInplaceEdit.h"

#include "platform/TStringGrid.h"
#include "platform/TTypedChar.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>

TInplaceEdit::TInplaceEdit(TStringGrid* grid) : QLineEdit(grid->viewport()), grid_(grid) {
    setFrame(false);
    setTextMargins(1, 0, 1, 0);
    setAttribute(Qt::WA_InputMethodEnabled);
    hide();
}

void TInplaceEdit::ApplyChar(char key, char typedKey, const QString& typedText) {
    switch (static_cast<unsigned char>(key)) {
    case 8:
        backspace();
        return;
    case 3:
        copy();
        return;
    case 22:
        paste();
        return;
    case 24:
        cut();
        return;
    case 26:
        undo();
        return;
    default:
        break;
    }
    const auto byte = static_cast<unsigned char>(key);
    if (byte < 32 || byte == 127) {
        return; // Escape and the other control characters do nothing here.
    }
    insert(key == typedKey ? typedText : TextOfAnsiChar(key));
}

bool TInplaceEdit::event(QEvent* event) {
    // Tab leaves the grid rather than the editor alone: the grid closes the editor, storing its
    // text, and passes the focus on from itself.
    if (event->type() == QEvent::KeyPress) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        const bool plain =
            !(keyEvent->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        if (plain && (keyEvent->key() == Qt::Key_Tab || keyEvent->key() == Qt::Key_Backtab)) {
            const bool forward = keyEvent->key() == Qt::Key_Tab &&
                                 !keyEvent->modifiers().testFlag(Qt::ShiftModifier);
            grid_->TabFromEditor(forward);
            return true;
        }
    }
    return QLineEdit::event(event);
}

void TInplaceEdit::keyPressEvent(QKeyEvent* event) {
    const QList<TTypedChar> chars = TypedChars(*event);
    if (!chars.isEmpty()) {
        event->accept();
        for (const TTypedChar& typed : chars) {
            grid_->KeyChar(typed);
        }
        return;
    }
    if (grid_->NavigationKey(*event)) {
        return;
    }
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (event->key() == Qt::Key_Insert && modifiers == Qt::ShiftModifier) {
        paste();
        return;
    }
    if (event->key() == Qt::Key_Insert && modifiers == Qt::ControlModifier) {
        copy();
        return;
    }
    if (event->key() == Qt::Key_Delete && modifiers == Qt::ShiftModifier) {
        cut();
        return;
    }
    // The line edit's own keys, with the text stripped: whatever it would insert has to come
    // through the key-press event above.
    QKeyEvent bare(event->type(), event->key(), event->modifiers(), event->nativeScanCode(),
                   event->nativeVirtualKey(), event->nativeModifiers(), QString(),
                   event->isAutoRepeat(), event->count());
    QLineEdit::keyPressEvent(&bare);
    event->setAccepted(bare.isAccepted());
}

void TInplaceEdit::inputMethodEvent(QInputMethodEvent* event) {
    const QString committed = event->commitString();
    if (committed.isEmpty()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    for (const TTypedChar& typed : TypedChars(committed)) {
        grid_->KeyChar(typed);
    }
    // The composition that follows the committed text, if any, is shown as usual.
    if (isVisible()) {
        QInputMethodEvent rest(event->preeditString(), event->attributes());
        QLineEdit::inputMethodEvent(&rest);
    }
    event->accept();
}

void TInplaceEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    grid_->EditorLostFocus(event->reason());
}
