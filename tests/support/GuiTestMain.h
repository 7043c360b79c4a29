#pragma once

#include "platform/TApplication.h"
#include "platform/TMessageBox.h"

#include <gtest/gtest.h>

// Runs the tests of a Qt layer. Widgets need the application object before the first test
// creates one. A box that no test asked for would wait for a person forever; it fails the
// running test instead.
inline int RunGuiTests(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    TApplication application(argc, argv);
    SetMessageBoxFunction([](const TMessageBoxRequest& request) {
        ADD_FAILURE() << "unexpected message box: " << request.title.toStdString() << ": "
                      << request.text.toStdString();
    });
    return RUN_ALL_TESTS();
}
