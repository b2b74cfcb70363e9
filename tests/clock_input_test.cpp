#include <gtest/gtest.h>
#include <QAccessible>
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "clock/clock_dlg.h"
#include "logic/face_geometry.h"
#include "settings/settings_dlg.h"
#include "tests/test_support.h"

namespace {

TEST(FaceGeometry, centreBoxThroughTheFrameOffsets) {
    // A 128 x 128 face in a window with a 3-pixel frame (client 122 x 122).
    const QSize outer(128, 128);
    const QSize framed(122, 122);
    const QRect box = CentreBox(QSize(128, 128));
    EXPECT_EQ(box, QRect(60, 60, 12, 12));
    EXPECT_EQ(FacePointFromClient({57, 57}, outer, framed), QPoint(60, 60));
    EXPECT_TRUE(box.contains(FacePointFromClient({57, 57}, outer, framed)));
    EXPECT_TRUE(box.contains(FacePointFromClient({68, 68}, outer, framed)));
    EXPECT_FALSE(box.contains(FacePointFromClient({56, 57}, outer, framed)));
    EXPECT_FALSE(box.contains(FacePointFromClient({69, 60}, outer, framed)));
    // 208 x 209: face pixels 100..111 both ways.
    const QRect standard = CentreBox(QSize(208, 209));
    EXPECT_EQ(standard.left(), 100);
    EXPECT_EQ(standard.right(), 111);
    EXPECT_EQ(standard.top(), 100);
    EXPECT_EQ(standard.bottom(), 111);
    // No frame: face and client points coincide.
    EXPECT_EQ(FacePointFromClient({99, 112}, {208, 209}, {208, 209}), QPoint(99, 112));
}

QListWidget& Skins(CSettingsDlg& settings) {
    return *settings.findChild<QListWidget*>("IDC_SKIN_LIST");
}

// A started clock on the 1920 x 1080 test screen, with skin 1 (128 x 128) stored.
class ClockInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        fakes.time.SetSeconds(LocalSeconds(2026, 12, 7, 10, 10, 30));
        fakes.profile.values[{"Kelvarine", "Rand"}] = "1";
        dlg = std::make_unique<CClockDlg>(fakes.services, memos);
        dlg->show();
        QCoreApplication::processEvents();
    }
    void DoubleClick(QPoint at) {
        QTest::mouseDClick(dlg->windowHandle(), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
    }
    // Double-clicks the centre and answers the settings dialog with `answer` once it is up.
    void ChooseInSettings(QPoint at, std::function<void(CSettingsDlg&)> answer) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* settings = qobject_cast<CSettingsDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(settings, nullptr);
            seen = true;
            EXPECT_TRUE(OverlayOf(*dlg).isVisible());
            answer(*settings);
        });
        DoubleClick(at);
        EXPECT_TRUE(seen);
    }

    QString StoredSkin() const {
        const auto it = fakes.profile.values.find({"Kelvarine", "Rand"});
        return it == fakes.profile.values.end() ? QStringLiteral("<none>") : it->second;
    }

    TestServices fakes;
    MemoKeeper memos{fakes.services};
    std::unique_ptr<CClockDlg> dlg;
};

TEST_F(ClockInputTest, centreDoubleClickStoresAndAppliesTheChosenSkin) {
    const QPoint corner = dlg->pos();
    ChooseInSettings({60, 60}, [](CSettingsDlg& s) {
        Skins(s).setCurrentRow(3);
        s.accept();
    });
    EXPECT_EQ(StoredSkin(), "3");
    // From the start position the larger face would grow past the screen's right edge.
    EXPECT_EQ(corner, QPoint(1920 - 128, 50));
    EXPECT_EQ(dlg->geometry(), QRect(1920 - 256, 50, 256, 256));
    EXPECT_EQ(OverlayOf(*dlg).geometry(), dlg->geometry());
    EXPECT_EQ(OverlayOf(*dlg).frame().size(), QSize(256, 256));
    EXPECT_FALSE(MemoDialogOf(*dlg).isVisible());

    // OK without a change keeps the skin shown, and still stores it.
    fakes.profile.values.clear();
    ChooseInSettings({128 + 3, 128 + 3}, [](CSettingsDlg& s) {
        EXPECT_EQ(Skins(s).currentRow(), 3);
        s.accept();
    });
    EXPECT_EQ(StoredSkin(), "3");
    EXPECT_EQ(dlg->size(), QSize(256, 256));
}

TEST_F(ClockInputTest, okOnTheSkinShownStillStoresIt) {
    fakes.profile.values.clear();
    ChooseInSettings({71, 71}, [](CSettingsDlg& s) { s.accept(); });
    EXPECT_EQ(StoredSkin(), "1");
    EXPECT_EQ(dlg->size(), QSize(128, 128));
}

TEST_F(ClockInputTest, aSkinThatCannotBeStoredIsShownAndToldOnceWhileStoringFails) {
    fakes.profile.failWrites = true;
    const auto choose = [this](int skin) {
        ChooseInSettings(dlg->rect().center(), [skin](CSettingsDlg& s) {
            Skins(s).setCurrentRow(skin);
            s.accept();
        });
    };
    ::testing::internal::CaptureStderr();
    choose(3);
    EXPECT_EQ(dlg->size(), QSize(256, 256));
    ASSERT_EQ(fakes.question.warnings.size(), 1u);
    EXPECT_EQ(fakes.question.warnings[0].caption, QStringLiteral("Kelvarine"));
    EXPECT_TRUE(fakes.question.warnings[0].text.contains(fakes.services.paths.configFile));
    EXPECT_TRUE(fakes.question.warnings[0].text.contains(QStringLiteral("Permission denied")));
    choose(1);  // still failing: not told again
    EXPECT_EQ(fakes.question.warnings.size(), 1u);
    fakes.profile.failWrites = false;
    choose(1);
    fakes.profile.failWrites = true;
    choose(1);  // a new run of failures
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(fakes.question.warnings.size(), 2u);
    EXPECT_EQ(QString::fromStdString(err).count(QStringLiteral("could not store the skin")), 2)
        << err;
}

TEST_F(ClockInputTest, cancelledSettingsChangeNothing) {
    fakes.profile.values.clear();
    ChooseInSettings({64, 64}, [](CSettingsDlg& s) {
        Skins(s).setCurrentRow(3);
        s.reject();
    });
    EXPECT_TRUE(fakes.profile.values.empty());
    EXPECT_EQ(dlg->size(), QSize(128, 128));
}

TEST_F(ClockInputTest, doubleClickElsewhereShowsTheMemoDialogOnce) {
    // Should the settings open by mistake, this closes them so the test goes on.
    bool settingsOpened = false;
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [&] {
        if (auto* s = qobject_cast<CSettingsDlg*>(QApplication::activeModalWidget())) {
            settingsOpened = true;
            s->reject();
        }
    });
    guard.start(10);
    for (const QPoint outside : {QPoint(59, 60), QPoint(72, 64), QPoint(10, 100)}) {
        DoubleClick(outside);
        ASSERT_TRUE(MemoDialogOf(*dlg).isVisible()) << outside.x() << "," << outside.y();
        EXPECT_FALSE(settingsOpened);
        // A second double-click while it is shown keeps the user's unsaved edits.
        MemoDialogOf(*dlg).findChild<QPushButton*>("IDC_MEMO_ADD")->click();
        DoubleClick(outside);
        EXPECT_EQ(MemoDialogOf(*dlg).findChild<QListView*>("IDC_MEMO_LIST")->model()->rowCount(),
                  1);
        MemoDialogOf(*dlg).hide();
    }
}

TEST_F(ClockInputTest, theMenuKeysAndAssistiveTechnologyReachTheDialogs) {
    // The face says the time it shows.
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(dlg.get());
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->text(QAccessible::Name), "Kelvarine, 10:10");
    ASSERT_NE(face->actionInterface(), nullptr);
    const QStringList actions = face->actionInterface()->actionNames();
    for (const char* name : {"memos", "settings", "quit"}) {
        EXPECT_TRUE(actions.contains(name)) << name;
    }

    const auto menuShown = [] {
        QCoreApplication::processEvents();
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        const bool shown = menu != nullptr && menu->actions().size() == 4;  // and a separator
        if (menu != nullptr) {
            menu->close();
        }
        return shown;
    };
    QTest::keyClick(dlg.get(), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(menuShown()) << "Shift+F10";
    QTest::keyClick(dlg.get(), Qt::Key_Menu);
    EXPECT_TRUE(menuShown()) << "the Menu key";
    QTest::keyClick(dlg.get(), Qt::Key_Return);
    EXPECT_FALSE(menuShown()) << "Return";
    EXPECT_TRUE(dlg->isVisible()) << "Return";

    // An action asked for by assistive technology runs once the request has been answered.
    face->actionInterface()->doAction("memos");
    EXPECT_FALSE(MemoDialogOf(*dlg).isVisible());
    QCoreApplication::processEvents();
    EXPECT_TRUE(MemoDialogOf(*dlg).isVisible());
    MemoDialogOf(*dlg).hide();
    dlg->RunAction("memos");  // as the desktop's launcher asks
    EXPECT_TRUE(MemoDialogOf(*dlg).isVisible());
    bool settingsShown = false;
    QTimer::singleShot(0, [&] {
        auto* settings = qobject_cast<CSettingsDlg*>(QApplication::activeModalWidget());
        settingsShown = settings != nullptr;
        // Asked again while open: still one settings dialog, and no memo dialog over it.
        MemoDialogOf(*dlg).hide();
        dlg->RunAction("settings");
        dlg->RunAction("memos");
        EXPECT_EQ(QApplication::activeModalWidget(), settings);
        EXPECT_FALSE(MemoDialogOf(*dlg).isVisible());
        if (settings != nullptr) {
            settings->reject();
        }
    });
    dlg->RunAction("settings");
    EXPECT_TRUE(settingsShown);
}

TEST_F(ClockInputTest, hoverEnlargesTheDotAndLeaveRestoresIt) {
    const QImage before = OverlayOf(*dlg).frame();
    QEnterEvent enter(QPointF(10, 10), QPointF(10, 10), dlg->mapToGlobal(QPointF(10, 10)));
    QCoreApplication::sendEvent(dlg.get(), &enter);
    QCoreApplication::processEvents();
    const QImage hovered = OverlayOf(*dlg).frame();
    // The dot grows from 6 to 10 pixels: a pixel 4 from the centre changes.
    EXPECT_NE(hovered.pixel(64 + 4, 64), before.pixel(64 + 4, 64));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(dlg.get(), &leave);
    QCoreApplication::processEvents();
    EXPECT_EQ(OverlayOf(*dlg).frame().pixel(64 + 4, 64), before.pixel(64 + 4, 64));
}

}  // namespace
