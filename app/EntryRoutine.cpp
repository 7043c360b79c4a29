#include "app/EntryRoutine.h"

#include "platform/TApplication.h"
#include "rtl/Exceptions.h"

int RunEntryRoutine(TApplication& application, const std::function<void()>& createMainForm) {
    try {
        createMainForm();
        // How the loop ended does not matter: the program always reports success.
        application.Run();
    } catch (const Exception& failure) {
        application.ShowFailure(failure);
    }
    return 0;
}
