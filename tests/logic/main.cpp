#include <gtest/gtest.h>
#include <QCoreApplication>

#include "tests/logic/support.h"

int main(int argc, char** argv) {
    PinTestEnvironment();
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
