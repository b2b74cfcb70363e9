#include <cstdlib>

#include <gtest/gtest.h>
#include <QCoreApplication>

int main(int argc, char** argv) {
    // A fixed zone keeps local-time cases reproducible; tests that need another set their own.
    setenv("TZ", "UTC", 1);
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) {
        unsetenv(name);
    }
    setenv("LANG", "C.UTF-8", 1);
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
