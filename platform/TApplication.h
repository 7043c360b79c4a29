#pragma once

#include <QApplication>
#include <QString>
#include <exception>
#include <functional>
#include <memory>
#include <new>
#include <vector>

class Exception;
class QWidget;

// The application object, one per process: its title, its forms, its message loop and the
// guard that brings every failure leaving an event handler to the user.
class TApplication : public QApplication {
    Q_OBJECT

public:
    TApplication(int& argc, char** argv);
    ~TApplication() override;

    // The one application object, or null when there is none.
    static TApplication* Instance();

    // Derived once from the executable's file name.
    const QString& Title() const { return title_; }

    // Creates a form owned by this object. The reference is set as soon as the storage
    // exists, before the constructor runs, and emptied again if the constructor throws.
    // The first form created becomes the main window.
    template <class TFormClass> void CreateForm(TFormClass*& reference);

    QWidget* MainWindow() const { return mainWindow_; }

    // The end-of-run clean-up: destroys every form created through this object, the main
    // window with all of its components; the destructor does it too.
    void DestroyForms();

    // Shows the main window and runs the message loop until it is closed. A failure while
    // the main window is first shown leaves this function instead of being handled.
    int Run();

    // The guard: whatever leaves an event handler is caught here and handed to HandleFailure.
    bool notify(QObject* receiver, QEvent* event) override;

    // Runs one handler of the program under the same guard, so that a failure ends the
    // handler right where it leaves it: it never unwinds through the toolkit's own frames,
    // which are not built to be unwound. Returns false when the handler failed. While the
    // guard is off (the main window's first show) the failure goes on to the caller.
    bool RunGuarded(const std::function<void()>& handler);

    // Ends any mouse capture or popup first; then EAbort and its kind stay silent, other
    // Exceptions go to ShowFailure, and any other object gets the "Application Error" box.
    void HandleFailure(std::exception_ptr failure);

    // The error box: the message with the full-stop rule applied, the title, the error icon
    // and one OK button, owned by the active window.
    void ShowFailure(const Exception& failure);

private:
    void AdoptForm(QWidget* form);

    QString title_;
    std::vector<std::unique_ptr<QWidget>> forms_;
    QWidget* mainWindow_ = nullptr;
    bool guarding_ = true;
};

template <class TFormClass> void TApplication::CreateForm(TFormClass*& reference) {
    void* storage = ::operator new(sizeof(TFormClass));
    reference = static_cast<TFormClass*>(storage);
    TFormClass* form = nullptr;
    try {
        form = new (storage) TFormClass();
    } catch (...) {
        reference = nullptr;
        ::operator delete(storage);
        throw;
    }
    AdoptForm(form);
}
