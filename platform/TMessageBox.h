#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

// One message box as the program asks for it.
struct TMessageBoxRequest {
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::Critical;
    // The window the box belongs to; null for a box without owner.
    QWidget* owner = nullptr;
};

using TMessageBoxFunction = std::function<void(const TMessageBoxRequest&)>;

// Every box of the program goes through here, so that a test can see what would be shown
// without anyone pressing OK.
void ShowMessageBox(const TMessageBoxRequest& request);

// Replaces the function that shows the boxes and returns the one it replaces; an empty
// function restores the real box.
TMessageBoxFunction SetMessageBoxFunction(TMessageBoxFunction function);

// The real box: application-modal, one OK button, the text as plain text and shortened to
// what fits on a screen.
void ShowSystemMessageBox(const TMessageBoxRequest& request);
