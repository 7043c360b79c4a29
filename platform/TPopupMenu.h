#pragma once

#include "platform/TComponent.h"

#include <QMenu>

class TMenuItem;

// A popup menu that opens only when code asks for it; it is nobody's automatic context menu.
class TPopupMenu : public QMenu, public TComponent {
    Q_OBJECT

public:
    explicit TPopupMenu(QWidget* parent = nullptr);

    void AddItem(TMenuItem* item);

    // Opens the menu with its top-left corner at the screen point and returns when it has
    // closed, whether an item was chosen or not.
    void Popup(int x, int y);
};
