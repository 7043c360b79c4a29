#include "support/GuiTestMain.h"

#include <QtGlobal>

// The window's description and icon are resources of the static ui library.
int main(int argc, char** argv) {
    Q_INIT_RESOURCE(ui);
    return RunGuiTests(argc, argv);
}
