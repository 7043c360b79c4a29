#include "platform/TApplication.h"

#include <gtest/gtest.h>

// Widgets need the application object before the first test creates one.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    TApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
