#include <gtest/gtest.h>

#include <QApplication>

// The widget tests need an application object, and run offscreen wherever
// they are started from (also when ctest lists them without its preset).
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
