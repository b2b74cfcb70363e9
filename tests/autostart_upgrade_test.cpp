#include <gtest/gtest.h>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>

#include "platform/autostart_store.h"
#include "settings/settings_dlg.h"
#include "tests/test_support.h"

namespace {

// Users who ticked "start with the session" in an earlier version have its entry under the
// name that version used. The desktop entry was renamed after the application id; the session
// entry keeps its name, so those users see it ticked and never end up with two clocks at log-in.
class AutostartUpgradeTest : public ::testing::Test {
protected:
    QString Folder() const { return fakes.dir.filePath("config/autostart"); }
    QStringList Entries() const { return QDir(Folder()).entryList(QDir::Files | QDir::Hidden); }
    void Apply(bool ticked) {
        CSettingsDlg dlg(fakes.services);
        dlg.show();
        QCheckBox* box = dlg.findChild<QCheckBox*>("IDC_AUTOSTART");
        if (box->isChecked() != ticked) {
            box->click();
        }
        dlg.findChild<QPushButton*>("IDOK")->click();
    }
    bool ShownTicked() {
        CSettingsDlg dlg(fakes.services);
        dlg.show();
        const bool ticked = dlg.findChild<QCheckBox*>("IDC_AUTOSTART")->isChecked();
        dlg.reject();
        return ticked;
    }

    TestServices fakes;
    ScopedEnv config{"XDG_CONFIG_HOME", QFile::encodeName(fakes.dir.filePath("config"))};
    XdgAutostartStore store{DefaultAutostartPath()};
    void SetUp() override { fakes.services.autostart = &store; }
};

TEST_F(AutostartUpgradeTest, anEntryFromTheEarlierVersionIsOursAndNeverDoubled) {
    // Byte for byte what 0.1 before the application id wrote for this program.
    WriteFile(Folder() + "/kelvarine.desktop",
              "[Desktop Entry]\nType=Application\nName=Kelvarine\nExec=\"" +
                  QFile::encodeName(fakes.services.paths.program) + "\"\n");
    EXPECT_TRUE(ShownTicked());

    Apply(true);  // OK with the box as it was: brought up to date, under its name
    EXPECT_EQ(Entries(), QStringList{"kelvarine.desktop"});
    EXPECT_EQ(store.ReadEntry(), AutostartEntryText(fakes.services.paths.program));

    Apply(false);
    EXPECT_TRUE(Entries().isEmpty());
    EXPECT_FALSE(ShownTicked());

    Apply(true);
    EXPECT_EQ(Entries(), QStringList{"kelvarine.desktop"});
    EXPECT_TRUE(ShownTicked());
}

TEST_F(AutostartUpgradeTest, anEntryTheUserEditedKeepsTheirEdits) {
    const QByteArray edited = "[Desktop Entry]\nType=Application\nName=Kelvarine\nExec=\"" +
                              QFile::encodeName(fakes.services.paths.program) +
                              "\"\nX-GNOME-Autostart-Delay=20\n";
    WriteFile(Folder() + "/kelvarine.desktop", edited);
    Apply(true);
    EXPECT_EQ(store.ReadEntry(), edited);
}

}  // namespace
