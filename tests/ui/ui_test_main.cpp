// The window tests run on Qt's offscreen platform unless the environment asks for another one.
#include "calc/volume.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    // As the program's start-up does before it builds the window.
    calc::setFloatingPointEnvironment();
    return RUN_ALL_TESTS();
}
