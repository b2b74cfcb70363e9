#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <functional>

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "clock/clock_dlg.h"
#include "logic/hand_tips.h"
#include "logic/memo_file.h"
#include "logic/user_file.h"
#include "tests/test_support.h"
#include "ui/messages.h"

namespace {

// A started clock on the 1920 x 1080 test screen.
struct RunningClock {
    TestServices fakes;
    MemoKeeper memos{fakes.services};
    std::unique_ptr<CClockDlg> dlg;

    explicit RunningClock(std::optional<QString> storedSkin, const QByteArray& memoFile = {}) {
        fakes.time.SetSeconds(LocalSeconds(2026, 12, 7, 10, 10, 30));
        if (!memoFile.isEmpty()) {
            WriteFile(fakes.services.paths.memoFile, memoFile);
        }
        if (storedSkin) {
            fakes.profile.values[{"Kelvarine", "Rand"}] = *storedSkin;
        }
        dlg = std::make_unique<CClockDlg>(fakes.services, memos);
        dlg->show();
        QCoreApplication::processEvents();
    }
};

TEST(ClockWindow, aMemoFileThatCannotBeReadIsToldAndLeftAsItIs) {
    const struct {
        FileKind kind;
        const char* told;
        std::function<int(const char*)> make;
    } cases[] = {
        {FileKind::Pipe, "named pipe", [](const char* p) { return ::mkfifo(p, 0600); }},
        {FileKind::CharDevice, "character device",
         [](const char* p) { return ::symlink("/dev/null", p); }},
        // Sparse: larger than a memo file may be, without the disk space.
        {FileKind::Regular, "larger than 64 MB",
         [](const char* p) { return ::truncate(p, kMaxMemoFileBytes + 1); }},
    };
    for (const auto& c : cases) {
        TestServices fakes;
        fakes.time.SetSeconds(LocalSeconds(2026, 12, 7, 10, 10, 30));
        const QByteArray path = QFile::encodeName(fakes.services.paths.memoFile);
        QDir().mkpath(QFileInfo(fakes.services.paths.memoFile).path());
        if (c.kind == FileKind::Regular) {
            WriteFile(fakes.services.paths.memoFile, "");
        }
        ASSERT_EQ(c.make(path.constData()), 0) << c.told;
        ::testing::internal::CaptureStderr();
        MemoKeeper keeper(fakes.services);
        CClockDlg clock(fakes.services, keeper);
        clock.show();
        QCoreApplication::processEvents();
        ASSERT_FALSE(fakes.question.warnings.empty()) << c.told;
        const QString told = fakes.question.warnings[0].text;
        EXPECT_TRUE(told.contains(fakes.services.paths.memoFile)) << told.toStdString();
        EXPECT_TRUE(told.contains(c.told)) << told.toStdString();
        // A memo added meanwhile is not written over it.
        CMemoDlg& memos = MemoDialogOf(clock);
        memos.show();
        QCoreApplication::processEvents();
        memos.findChild<QLineEdit*>("IDC_MEMO_TEXT")->setText("not written over it");
        memos.findChild<QPushButton*>("IDC_MEMO_ADD")->click();
        memos.close();
        EXPECT_NE(::testing::internal::GetCapturedStderr().find("cannot be read from"),
                  std::string::npos);
        struct stat info = {};
        ASSERT_EQ(::stat(path.constData(), &info), 0);
        EXPECT_EQ(KindOfMode(info.st_mode), c.kind) << c.told;
        EXPECT_TRUE(c.kind != FileKind::Regular || info.st_size == kMaxMemoFileBytes + 1);
    }
}

TEST(ClockWindow, storedSkinIsShownAtTheTopRightWithTheOverlayOnIt) {
    RunningClock clock(QStringLiteral("1"));
    EXPECT_EQ(clock.dlg->geometry(), QRect(1792, 50, 128, 128));
    EXPECT_EQ(OverlayOf(*clock.dlg).geometry(), clock.dlg->geometry());
    EXPECT_TRUE(OverlayOf(*clock.dlg).isVisible());
    EXPECT_FALSE(MemoDialogOf(*clock.dlg).isVisible());
    EXPECT_EQ(g_handTips.secondTips[0], QPoint(64, 13));
    // The composed face is the skin itself, transparent corners and all.
    EXPECT_EQ(qAlpha(clock.dlg->face().pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(clock.dlg->face().pixel(64, 64)), 255);
    // Assistive technology finds one window of the clock, the face, not the overlay on it.
    QAccessibleInterface* application = QAccessible::queryAccessibleInterface(qApp);
    ASSERT_NE(application, nullptr);
    QObjectList shown;
    for (int i = 0; i < application->childCount(); ++i) {
        auto* window = qobject_cast<QWidget*>(application->child(i)->object());
        if (window != nullptr && window->isVisible()) {
            shown << window;
        }
    }
    EXPECT_EQ(shown, QObjectList{clock.dlg.get()});
}

TEST(ClockWindow, absentOrGarbageStoredSkinGivesTheStandardFace) {
    for (const std::optional<QString>& stored :
         {std::optional<QString>(), std::optional<QString>(QStringLiteral("banana")),
          std::optional<QString>(QStringLiteral("12"))}) {
        RunningClock clock(stored);
        EXPECT_EQ(clock.dlg->geometry(), QRect(1920 - 208, 50, 208, 209));
    }
}

TEST(ClockWindow, skinChangeKeepsTheTopLeftCornerOfBothWindows) {
    RunningClock clock(QStringLiteral("3"));
    CClockDlg& dlg = *clock.dlg;
    const QPoint corner = dlg.pos();
    ASSERT_EQ(dlg.size(), QSize(256, 256));

    dlg.SelectSkin(1);
    dlg.ComposeFace();
    EXPECT_EQ(dlg.geometry(), QRect(corner, QSize(128, 128)));
    EXPECT_EQ(OverlayOf(dlg).geometry(), dlg.geometry());
    EXPECT_EQ(g_handTips.secondTips[0], QPoint(64, 13));

    // A skin that does not exist changes nothing at all.
    const HandTipTable before = g_handTips;
    dlg.SelectSkin(42);
    dlg.ComposeFace();
    EXPECT_EQ(dlg.geometry(), QRect(corner, QSize(128, 128)));
    EXPECT_EQ(g_handTips.secondTips, before.secondTips);
    EXPECT_EQ(g_handTips.hourTips, before.hourTips);
}

TEST(ClockWindow, escapeEndsTheRunAndEnterDoesNot) {
    RunningClock clock(std::nullopt);
    CClockDlg& dlg = *clock.dlg;
    QTest::keyClick(&dlg, Qt::Key_Return);
    QTest::keyClick(&dlg, Qt::Key_Enter);
    EXPECT_TRUE(dlg.isVisible());
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

TEST(ClockWindow, closeRequestEndsTheRun) {
    RunningClock clock(std::nullopt);
    EXPECT_TRUE(clock.dlg->close());
    EXPECT_FALSE(clock.dlg->isVisible());
    EXPECT_FALSE(OverlayOf(*clock.dlg).isVisible());
}

TEST(ClockWindow, draggingMovesBothWindowsByTheSameDelta) {
    RunningClock clock(QStringLiteral("1"));
    CClockDlg& dlg = *clock.dlg;
    const QPoint start = dlg.pos();
    QTest::mousePress(&dlg, Qt::LeftButton, {}, QPoint(20, 20));
    QMouseEvent drag(QEvent::MouseMove, QPointF(30, 15), dlg.mapToGlobal(QPointF(30, 15)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&dlg, &drag);
    QTest::mouseRelease(&dlg, Qt::LeftButton, {}, QPoint(30, 15));
    EXPECT_EQ(dlg.pos(), start + QPoint(10, -5));
    EXPECT_EQ(OverlayOf(dlg).geometry(), dlg.geometry());

    // Moving without the button held moves nothing.
    QTest::mouseMove(&dlg, QPoint(60, 60));
    EXPECT_EQ(dlg.pos(), start + QPoint(10, -5));
}

TEST(ClockWindow, hoverAndLeaveReachTheOverlayAsPostedMessages) {
    RunningClock clock(QStringLiteral("1"));
    CClockDlg& dlg = *clock.dlg;
    QEnterEvent enter(QPointF(10, 10), QPointF(10, 10), dlg.mapToGlobal(QPointF(10, 10)));
    QCoreApplication::sendEvent(&dlg, &enter);
    EXPECT_FALSE(OverlayOf(dlg).hovering());  // posted, not sent
    QCoreApplication::processEvents();
    EXPECT_TRUE(OverlayOf(dlg).hovering());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&dlg, &leave);
    QCoreApplication::processEvents();
    EXPECT_FALSE(OverlayOf(dlg).hovering());
}

TEST(ClockWindow, memosThatFellDueWhileNotRunningAreAskedAtStartUp) {
    const QByteArray memos = "2026-12-07 10:09 Call home\r\n2026-12-07 18:00 Later\r\n";
    // The overlay's first frame posts the check; answering No postpones from 10:09.
    RunningClock clock(std::nullopt, memos);
    EXPECT_EQ(clock.memos.store().memos().size(), 2u);
    ASSERT_EQ(clock.fakes.question.asked.size(), 1u);
    EXPECT_EQ(clock.fakes.question.asked[0],
              QStringLiteral("2026-12-07 10:09 Call home - 删除此备忘？"));
    EXPECT_EQ(ReadFile(clock.fakes.services.paths.memoFile),
              "2026-12-07 10:14 Call home\r\n2026-12-07 18:00 Later\r\n");
}

TEST(ClockWindow, everyWayTheClockEndsKeepsTheOpenMemoDialogsMemos) {
    const std::function<void(RunningClock&)> ends[] = {
        [](RunningClock& clock) { QTest::keyClick(clock.dlg.get(), Qt::Key_Escape); },
        [](RunningClock& clock) { clock.dlg->RunAction("quit"); },
        // The session's end quits every event loop; what follows the run commits.
        [](RunningClock& clock) { clock.memos.Finish(); },
    };
    for (const auto& end : ends) {
        RunningClock clock(std::nullopt, "2026-12-07 18:00 Later\r\n");
        CMemoDlg& dialog = MemoDialogOf(*clock.dlg);
        dialog.show();
        QCoreApplication::processEvents();
        dialog.findChild<QLineEdit*>("IDC_MEMO_HOUR")->setText("9");
        dialog.findChild<QLineEdit*>("IDC_MEMO_MINUTE")->setText("0");
        dialog.findChild<QLineEdit*>("IDC_MEMO_TEXT")->setText("Presents");
        dialog.findChild<QPushButton*>("IDC_MEMO_ADD")->click();
        end(clock);
        EXPECT_EQ(ReadFile(clock.fakes.services.paths.memoFile),
                  "2026-12-07 09:00 Presents\r\n2026-12-07 18:00 Later\r\n");
        EXPECT_FALSE(clock.memos.store().dirty());
    }
}

}  // namespace
