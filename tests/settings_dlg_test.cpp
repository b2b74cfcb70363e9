#include <sys/stat.h>

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#include "logic/resource_ids.h"
#include "logic/user_file.h"
#include "platform/autostart_store.h"
#include "settings/settings_dlg.h"
#include "tests/test_support.h"
#include "ui/dialog_builder.h"

namespace {

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        fakes.services.autostart = &store;
        fakes.services.shell = &shell;
    }
    QString Folder() const { return fakes.dir.filePath("config/autostart"); }
    QString EntryPath() const { return Folder() + "/kelvarine.desktop"; }
    void WriteEntry(const QByteArray& bytes) { WriteFile(EntryPath(), bytes); }
    QByteArray Entry() const { return ReadFile(EntryPath()); }
    // Opens a dialog on skin `skin`; the test ends it.
    std::unique_ptr<CSettingsDlg> Open(int skin = 0) {
        auto dlg = std::make_unique<CSettingsDlg>(fakes.services, skin);
        dlg->show();
        QCoreApplication::processEvents();
        return dlg;
    }
    static QCheckBox* Box(CSettingsDlg& d) { return d.findChild<QCheckBox*>("IDC_AUTOSTART"); }
    static QListWidget& Skins(CSettingsDlg& d) {
        return *d.findChild<QListWidget*>("IDC_SKIN_LIST");
    }
    static void PressOk(CSettingsDlg& d) { d.findChild<QPushButton*>("IDOK")->click(); }
    // The preview as the dialog shows it.
    static QImage PreviewShown(CSettingsDlg& d) {
        return d.grab(d.PreviewRect()).toImage().convertToFormat(QImage::Format_RGB32);
    }
    // What it should show: skin `skin` stretched over the wood, both from the installed files.
    static QImage PreviewOf(int skin, QSize size) {
        QImage wood;
        QImage face;
        EXPECT_TRUE(wood.load(ResourcePath("png", IDR_PREVIEW_BACK)));
        EXPECT_TRUE(face.load(ResourcePath("png", IDR_SKIN_FIRST + skin))) << skin;
        QImage expected(size, QImage::Format_ARGB32_Premultiplied);
        QPainter p(&expected);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(expected.rect(), wood);
        p.drawImage(expected.rect(), face);
        p.end();
        return expected.convertToFormat(QImage::Format_RGB32);
    }

    TestServices fakes;
    XdgAutostartStore store{EntryPath()};
    FakeShellOpener shell;
};

TEST_F(SettingsDialogTest, opensOnTheClocksSkinAndOkReturnsIt) {
    auto dlg = Open(4);
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("设置"));
    ASSERT_EQ(Skins(*dlg).count(), 8);
    EXPECT_EQ(Skins(*dlg).item(0)->text(), QStringLiteral("标准版"));
    EXPECT_EQ(Skins(*dlg).item(7)->text(), QStringLiteral("光盘版"));
    EXPECT_EQ(Skins(*dlg).currentRow(), 4);
    EXPECT_EQ(PreviewShown(*dlg), PreviewOf(4, dlg->PreviewRect().size()));
    EXPECT_FALSE(Box(*dlg)->isChecked());
    PressOk(*dlg);
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(dlg->chosenSkin(), 4);
    EXPECT_FALSE(QFileInfo::exists(Folder()));  // box unchanged: nothing written, not even a folder
    EXPECT_EQ(Skins(*Open(8)).currentRow(), 0);  // no such skin: the first

    // Enter is OK too, and returns the selected skin.
    auto again = Open();
    Skins(*again).setCurrentRow(6);
    QTest::keyClick(&Skins(*again), Qt::Key_Return);
    EXPECT_EQ(again->result(), QDialog::Accepted);
    EXPECT_EQ(again->chosenSkin(), 6);
}

TEST_F(SettingsDialogTest, previewIsTheSelectedSkinStretchedOverTheWoodInTheFrame) {
    auto dlg = Open();
    const QRect frame = MapDialogRect(QRect(54, 7, 84, 81), DialogBaseUnitsOf(dlg->font()));
    EXPECT_EQ(dlg->PreviewRect(), frame);
    EXPECT_FALSE(dlg->findChild<QWidget*>("IDC_PREVIEW_FRAME")->isVisible());
    QImage wood;
    ASSERT_TRUE(wood.load(ResourcePath("png", IDR_PREVIEW_BACK)));
    for (const int skin : {3, 1}) {
        Skins(*dlg).setCurrentRow(skin);
        const QImage shown = PreviewShown(*dlg);
        EXPECT_EQ(shown, PreviewOf(skin, frame.size())) << skin;
        // The face's centre shows the skin, not the wood.
        const QPoint centre(frame.width() / 2, frame.height() / 2);
        EXPECT_NE(shown.pixel(centre), wood.scaled(frame.size()).pixel(centre)) << skin;
    }
}

TEST_F(SettingsDialogTest, tickedOnlyForAnEntryThatStartsThisProgram) {
    const QString program = fakes.services.paths.program;
    WriteEntry(AutostartEntryText(program.toUpper()));
    EXPECT_TRUE(Box(*Open())->isChecked());

    // A moved copy, someone else's entry: cleared, and OK leaves it alone.
    const QByteArray foreign = AutostartEntryText(program + "-old");
    WriteEntry(foreign);
    auto dlg = Open();
    EXPECT_FALSE(Box(*dlg)->isChecked());
    PressOk(*dlg);
    EXPECT_EQ(Entry(), foreign);
}

TEST_F(SettingsDialogTest, tickingWritesTheEntryAndUntickingRemovesIt) {
    const QString program = fakes.services.paths.program;
    WriteEntry(AutostartEntryText(program + "-old"));
    auto dlg = Open();
    Box(*dlg)->click();
    PressOk(*dlg);
    EXPECT_EQ(Entry(), AutostartEntryText(program));  // a path with blanks, quoted

    auto again = Open();
    ASSERT_TRUE(Box(*again)->isChecked());
    Box(*again)->click();
    PressOk(*again);
    EXPECT_FALSE(QFileInfo::exists(EntryPath()));
    EXPECT_TRUE(QFileInfo(Folder()).isDir());
}

TEST_F(SettingsDialogTest, aProgramPathNoEntryCanHoldIsRefusedWhenTicked) {
    fakes.services.paths.program = DecodePath("/opt/k\xff\xfe/bin/kelvarine");
    auto dlg = Open();
    Box(*dlg)->click();
    ::testing::internal::CaptureStderr();
    PressOk(*dlg);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(QFileInfo::exists(EntryPath()));
    ASSERT_EQ(fakes.question.warnings.size(), 1u);
    EXPECT_TRUE(fakes.question.warnings[0].text.contains("UTF-8"));
    EXPECT_NE(err.find("UTF-8"), std::string::npos) << err;
}

TEST_F(SettingsDialogTest, escapeAndTheCloseBoxChangeNothing) {
    const QByteArray ours = AutostartEntryText(fakes.services.paths.program);
    for (const bool viaEscape : {true, false}) {
        WriteEntry(ours);
        auto dlg = Open();
        Skins(*dlg).setCurrentRow(4);
        Box(*dlg)->click();
        if (viaEscape) {
            QTest::keyClick(dlg.get(), Qt::Key_Escape);
        } else {
            dlg->close();
        }
        EXPECT_EQ(dlg->result(), QDialog::Rejected);
        EXPECT_FALSE(dlg->isVisible());
        EXPECT_EQ(Entry(), ours);
    }
}

TEST_F(SettingsDialogTest, hostileEntriesShowClearedWithoutBlockingAndAreNeverReplaced) {
    ASSERT_TRUE(QDir().mkpath(EntryPath()));  // a directory where the entry goes
    EXPECT_FALSE(Box(*Open())->isChecked());
    ASSERT_TRUE(QDir().rmdir(EntryPath()));
    ASSERT_EQ(::mkfifo(QFile::encodeName(EntryPath()).constData(), 0644), 0);
    auto dlg = Open();
    EXPECT_FALSE(Box(*dlg)->isChecked());
    Box(*dlg)->click();
    ::testing::internal::CaptureStderr();
    PressOk(*dlg);
    ::testing::internal::GetCapturedStderr();
    ASSERT_EQ(fakes.question.warnings.size(), 1u);
    EXPECT_TRUE(fakes.question.warnings[0].text.contains(EntryPath()));
    EXPECT_TRUE(fakes.question.warnings[0].text.contains(NotRegularReason(FileKind::Pipe)));
    EXPECT_FALSE(QFileInfo(EntryPath()).isFile());
}

TEST_F(SettingsDialogTest, theLinkReportsBugsByMail) {
    auto dlg = Open();
    CLinkLabel& link = *dlg->findChild<CLinkLabel*>("IDC_REPORT_LINK");
    EXPECT_EQ(link.text(), QStringLiteral("Report bugs to me"));
    EXPECT_EQ(link.toolTip(), QStringLiteral("mailto:bugs@kelvarine.example"));
    EXPECT_TRUE(link.font().underline());
    EXPECT_EQ(link.cursor().shape(), Qt::PointingHandCursor);
    shell.result = kLaunchStarted;
    QTest::mouseClick(&link, Qt::LeftButton);
    EXPECT_EQ(shell.targets, std::vector<QString>{"mailto:bugs@kelvarine.example"});

    // The keyboard reaches it after OK, and Return or Space open it, not OK.
    QWidget* ok = dlg->findChild<QWidget*>("IDOK");
    ok->setFocus();
    QTest::keyClick(ok, Qt::Key_Tab);
    EXPECT_EQ(dlg->focusWidget(), &link);
    QTest::keyClick(&link, Qt::Key_Return);
    QTest::keyClick(&link, Qt::Key_Space);
    EXPECT_EQ(shell.targets.size(), 3u);
    EXPECT_TRUE(dlg->isVisible());
}

}  // namespace
