#include "platform/TPopupMenu.h"

#include "platform/TMenuItem.h"

TPopupMenu::TPopupMenu(QWidget* parent) : QMenu(parent) {}

void TPopupMenu::AddItem(TMenuItem* item) {
    addAction(item);
}

void TPopupMenu::Popup(int x, int y) {
    exec(QPoint(x, y));
}
