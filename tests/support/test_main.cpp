#include <QApplication>

#include <gtest/gtest.h>

#include <clocale>

// Every test program runs headless with a real application object, as the
// windows need one; numbers are formatted the same whatever the user's locale.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
