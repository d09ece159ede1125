// The window tests run in one application object, offscreen unless told
// otherwise, with message boxes and dialogs scripted per test.
#include "velmaris_application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    velmaris_application app(argc, argv);
    return RUN_ALL_TESTS();
}
