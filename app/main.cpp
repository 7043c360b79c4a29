#include "app/EntryRoutine.h"
#include "platform/TApplication.h"
#include "ui/MainCode.h"

#include <QtGlobal>

int main(int argc, char** argv) {
    (void)argc;
    Q_INIT_RESOURCE(ui);
    // The program takes no command-line options, Qt's own included: only the program name
    // goes on.
    int applicationArgc = 1;
    char* applicationArgv[] = {argv[0], nullptr};
    TApplication application(applicationArgc, applicationArgv);
    return RunEntryRoutine(application, [&application] { application.CreateForm(MainForm); });
}
