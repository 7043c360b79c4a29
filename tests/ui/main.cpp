#include "platform/TApplication.h"
#include "platform/TMessageBox.h"

#include <QtGlobal>
#include <gtest/gtest.h>

// The window's description and icon are resources of the static ui library. A box that no
// test asked for would wait for a person forever; it fails the running test instead.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    Q_INIT_RESOURCE(ui);
    TApplication application(argc, argv);
    SetMessageBoxFunction([](const TMessageBoxRequest& request) {
        ADD_FAILURE() << "unexpected message box: " << request.title.toStdString() << ": "
                      << request.text.toStdString();
    });
    return RUN_ALL_TESTS();
}
