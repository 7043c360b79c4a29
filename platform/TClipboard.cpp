#include "platform/TClipboard.h"

#include "rtl/Exceptions.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <memory>
#include <utility>

namespace {

TClipboard::TOpenFunction& OpenFunction() {
    static TClipboard::TOpenFunction function;
    return function;
}

} // namespace

void TClipboard::SetImage(const QImage& image) {
    const TOpenFunction open = OpenFunction();
    QClipboard* clipboard = QGuiApplication::clipboard();
    if ((open && !open()) || clipboard == nullptr)
        throw EClipboardException("Cannot open clipboard");
    auto data = std::make_unique<QMimeData>();
    data->setImageData(image);
    // Setting new data drops every format the clipboard held before.
    clipboard->setMimeData(data.release(), QClipboard::Clipboard);
}

TClipboard::TOpenFunction TClipboard::SetOpenFunction(TOpenFunction function) {
    return std::exchange(OpenFunction(), std::move(function));
}
