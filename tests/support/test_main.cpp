// Test entry point: a headless QApplication around GoogleTest.
#include <gtest/gtest.h>
#include <QApplication>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The tests sit next to the program's files (template "Nueva", report definitions).
    if (qEnvironmentVariableIsEmpty("TORVANE_BIN"))
        qputenv("TORVANE_BIN", QCoreApplication::applicationDirPath().toLocal8Bit());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
