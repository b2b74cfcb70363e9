#include <cstdlib>

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Widget tests run headless whatever the caller's environment says.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // A fixed zone keeps local-time cases reproducible; tests that need another set their own.
    setenv("TZ", "UTC", 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
