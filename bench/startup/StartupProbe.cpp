// Start-up to the first painted window, for the start-up benchmark (bench/startup.sh).
//   dpartition_startup_probe window   the program's own start: application, main window, loop
//   dpartition_startup_probe empty    an empty Qt Widgets window, for comparison
// Either quits as soon as its window has been painted once.
#include "app/EntryRoutine.h"
#include "platform/TApplication.h"
#include "ui/MainCode.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstring>

namespace {

// Ends the loop once the watched window has had its first paint; the zero timer lets the
// rest of that paint (the children, the flush to the screen) finish first.
class QuitAfterFirstPaint : public QObject {
public:
    explicit QuitAfterFirstPaint(QWidget*& window) : window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!done_ && event->type() == QEvent::Paint && window_ != nullptr && watched == window_) {
            done_ = true;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }

private:
    QWidget*& window_;
    bool done_ = false;
};

} // namespace

int main(int argc, char** argv) {
    Q_INIT_RESOURCE(ui);
    const bool empty = argc > 1 && std::strcmp(argv[1], "empty") == 0;
    int applicationArgc = 1;
    char* applicationArgv[] = {argv[0], nullptr};
    if (empty) {
        QApplication application(applicationArgc, applicationArgv);
        QWidget* window = nullptr;
        QuitAfterFirstPaint probe(window);
        application.installEventFilter(&probe);
        QWidget emptyWindow;
        window = &emptyWindow;
        emptyWindow.resize(706, 392);
        emptyWindow.show();
        return application.exec();
    }
    TApplication application(applicationArgc, applicationArgv);
    QWidget* window = nullptr;
    QuitAfterFirstPaint probe(window);
    application.installEventFilter(&probe);
    return RunEntryRoutine(application, [&] {
        application.CreateForm(MainForm);
        window = MainForm;
    });
}
