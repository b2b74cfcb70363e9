#include <gtest/gtest.h>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include "tests/logic/support.h"
#include "ui/calendar_accessible.h"

int main(int argc, char** argv) {
    // Widget tests run headless on one 1920 x 1080 screen at 96 dpi, whatever the caller's
    // environment says.
    QTemporaryDir configDir;
    const QString config = configDir.filePath(QStringLiteral("screens.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(R"({"screens": [{"name": "test", "x": 0, "y": 0, "width": 1920,
                       "height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})") < 0) {
        return 2;
    }
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config));
    PinTestEnvironment();
    QApplication app(argc, argv);
    InstallCalendarAccessibility();  // as the program does
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
