#include "app/EntryRoutine.h"
#include "platform/TApplication.h"
#include "ui/MainCode.h"

#include <QtGlobal>

int main(int argc, char** argv) {
    Q_INIT_RESOURCE(ui);
    // The program takes no command-line options, Qt's own included: only the program name
    // goes on (and a name of our own when the caller gave none).
    char fallbackName[] = "dpartition";
    int applicationArgc = 1;
    char* applicationArgv[] = {argc > 0 && argv[0] != nullptr ? argv[0] : fallbackName, nullptr};
    TApplication application(applicationArgc, applicationArgv);
    // Lets the desktop match the window to its launcher entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("dpartition"));
    return RunEntryRoutine(application, [&application] { application.CreateForm(MainForm); });
}
