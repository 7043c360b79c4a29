#include "platform/TMessageBox.h"

#include "platform/FailureText.h"

#include <utility>

namespace {

TMessageBoxFunction& CurrentFunction() {
    static TMessageBoxFunction function;
    return function;
}

} // namespace

void ShowMessageBox(const TMessageBoxRequest& request) {
    // A copy: the function may replace itself while its box is open.
    const TMessageBoxFunction function = CurrentFunction();
    if (function)
        function(request);
    else
        ShowSystemMessageBox(request);
}

TMessageBoxFunction SetMessageBoxFunction(TMessageBoxFunction function) {
    return std::exchange(CurrentFunction(), std::move(function));
}

void ShowSystemMessageBox(const TMessageBoxRequest& request) {
    QMessageBox box(request.icon, request.title, ShortenForDisplay(request.text), QMessageBox::Ok,
                    request.owner);
    box.setTextFormat(Qt::PlainText);
    // Application-modal: every other window of the program takes no input while it is open.
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}
