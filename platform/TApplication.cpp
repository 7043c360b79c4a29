#include "platform/TApplication.h"

#include "platform/FailureText.h"
#include "platform/TMessageBox.h"
#include "rtl/Exceptions.h"

#include <QFileInfo>
#include <QWidget>
#include <cstdint>
#include <typeinfo>

#if defined(__GNUC__)
#include <cstdlib>
#include <cxxabi.h>
#endif
#if __has_include(<dlfcn.h>)
#include <dlfcn.h>
#define DPARTITION_HAVE_DLADDR 1
#endif

namespace {

TApplication* TheApplication = nullptr;

// The class name of the object being handled; called inside a catch block.
QString CurrentExceptionClassName() {
#if defined(__GNUC__)
    const std::type_info* type = abi::__cxa_current_exception_type();
    if (type == nullptr)
        return QStringLiteral("unknown");
    int status = 0;
    char* demangled = abi::__cxa_demangle(type->name(), nullptr, nullptr, &status);
    QString name = QString::fromUtf8(status == 0 && demangled ? demangled : type->name());
    std::free(demangled);
    return name;
#else
    return QStringLiteral("unknown");
#endif
}

// C++ keeps no record of where an object was thrown, so the box shows the offset, within the
// executable, of the code in the guard that caught it: stable from run to run, and enough to
// tell a caught-in-the-guard failure from anything else.
std::uint32_t GuardAddress(const void* code) {
#if defined(DPARTITION_HAVE_DLADDR)
    Dl_info info{};
    if (dladdr(code, &info) != 0 && info.dli_fbase != nullptr)
        return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(code) -
                                          reinterpret_cast<std::uintptr_t>(info.dli_fbase));
#endif
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(code));
}

} // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    TheApplication = this;
    title_ = ApplicationTitleFromFileName(QCoreApplication::applicationFilePath());
}

TApplication::~TApplication() {
    // The forms go first, while the application that they need still exists.
    DestroyForms();
    TheApplication = nullptr;
}

void TApplication::DestroyForms() {
    mainWindow_ = nullptr;
    // Newest first, so that a form never outlives one created before it.
    while (!forms_.empty())
        forms_.pop_back();
}

TApplication* TApplication::Instance() {
    return TheApplication;
}

void TApplication::AdoptForm(QWidget* form) {
    forms_.emplace_back(form);
    if (mainWindow_ == nullptr)
        mainWindow_ = form;
}

int TApplication::Run() {
    if (mainWindow_ == nullptr)
        return 0;
    // A failure while the window is first shown ends the program: it is not guarded.
    guarding_ = false;
    try {
        mainWindow_->show();
    } catch (...) {
        guarding_ = true;
        throw;
    }
    guarding_ = true;
    return exec();
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    if (!guarding_)
        return QApplication::notify(receiver, event);
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        HandleFailure(std::current_exception());
        return false;
    }
}

bool TApplication::RunGuarded(const std::function<void()>& handler) {
    if (!guarding_) {
        handler();
        return true;
    }
    try {
        handler();
        return true;
    } catch (...) {
        HandleFailure(std::current_exception());
        return false;
    }
}

void TApplication::HandleFailure(std::exception_ptr failure) {
    // A drag, a selection by mouse or an open menu ends before the box opens.
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    if (QWidget* grabber = QWidget::keyboardGrabber())
        grabber->releaseKeyboard();
    while (QWidget* popup = QApplication::activePopupWidget()) {
        if (!popup->close())
            break;
    }

    try {
        std::rethrow_exception(failure);
    } catch (const EAbort&) {
        // The silent kind.
    } catch (const Exception& e) {
        ShowFailure(e);
    } catch (...) {
        TMessageBoxRequest request;
        request.text = ApplicationErrorText(
            CurrentExceptionClassName(),
            QFileInfo(QCoreApplication::applicationFilePath()).fileName(),
            GuardAddress(reinterpret_cast<const void*>(&ApplicationErrorText)));
        request.title = QStringLiteral("Application Error");
        request.icon = QMessageBox::Critical;
        ShowMessageBox(request);
    }
}

void TApplication::ShowFailure(const Exception& failure) {
    TMessageBoxRequest request;
    request.text = QString::fromStdString(WithFullStop(failure.Message()));
    request.title = title_;
    request.icon = QMessageBox::Critical;
    request.owner = QApplication::activeWindow();
    ShowMessageBox(request);
}
