#include <cstdlib>

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include "clock/clock_dlg.h"
#include "hands/hands_frame.h"
#include "logic/hand_positions.h"
#include "logic/hand_tips.h"
#include "logic/local_time.h"
#include "tests/test_support.h"

namespace {

// Puts the process in a zone read from a file of the test's own, which the test then replaces
// as an administrator (or a travelling laptop) replaces /etc/localtime; back to UTC after.
class ZoneFile {
public:
    ZoneFile() {
        path = dir.filePath("localtime");
        Become("UTC");
        setenv("TZ", (":" + path.toStdString()).c_str(), 1);
        ZoneWatch::Reload();
    }
    ~ZoneFile() {
        setenv("TZ", "UTC", 1);
        ZoneWatch::Reload();
    }
    // Replaces the file in one step, as package managers and timedatectl do.
    void Become(const char* zone) {
        const QString next = path + ".new";
        QFile::remove(next);
        ASSERT_TRUE(QFile::copy(QStringLiteral("/usr/share/zoneinfo/") + zone, next)) << zone;
        ASSERT_EQ(std::rename(next.toLocal8Bit().constData(), path.toLocal8Bit().constData()), 0);
    }

    QTemporaryDir dir;
    QString path;
};

TEST(ZoneWatch, noticesAReplacedZoneFileAndTheCLibraryFollows) {
    if (!QFile::exists("/usr/share/zoneinfo/Asia/Tokyo")) {
        GTEST_SKIP() << "tzdata is not installed";
    }
    ZoneFile zone;
    ZoneWatch watch;
    const std::int64_t noonUtc = 1'796'731'200;  // 2026-12-08 12:00 UTC
    EXPECT_FALSE(watch.Changed());
    EXPECT_EQ(ToLocalTime(noonUtc).hour, 12);
    zone.Become("Asia/Tokyo");
    // The C library on its own keeps the old rules.
    EXPECT_EQ(ToLocalTime(noonUtc).hour, 12);
    EXPECT_TRUE(watch.Changed());
    EXPECT_FALSE(watch.Changed());
    ZoneWatch::Reload();
    EXPECT_EQ(ToLocalTime(noonUtc).hour, 21);
}

TEST(ZoneWatch, aRunningClockShowsTheNewZoneAndItsMemosKeepTheirWallClock) {
    if (!QFile::exists("/usr/share/zoneinfo/Asia/Tokyo")) {
        GTEST_SKIP() << "tzdata is not installed";
    }
    ZoneFile zone;
    TestServices fakes;
    fakes.profile.values[{"Kelvarine", "Rand"}] = "1";
    fakes.time.SetSeconds(LocalSeconds(2026, 12, 7, 10, 10, 30));  // UTC, AM, the 7th
    WriteFile(fakes.services.paths.memoFile, "2026-12-24 09:00 presents\r\n");
    MemoKeeper memos(fakes.services);
    CClockDlg clock(fakes.services, memos);
    clock.show();
    QCoreApplication::processEvents();

    // 10:10:30 UTC is 19:10:30 in Tokyo: the hands, the label and the memo follow.
    zone.Become("Asia/Tokyo");
    OverlayOf(clock).Refresh();
    const HandTipTable tips = ComputeHandTips(128, 128);
    const HandPositions at = HandPositionsAt(19, 10, 30);
    const HandsGeometry expected = ComputeHandsGeometry({{128, 128},
                                                         tips.hourTips[at.hour],
                                                         tips.minuteTips[at.minute],
                                                         tips.secondTips[at.second],
                                                         true,
                                                         7,
                                                         false});
    EXPECT_EQ(OverlayOf(clock).frame(), RenderHandsFrame(expected, 96));
    const MemoStore& store = memos.store();
    ASSERT_EQ(store.memos().size(), 1u);
    EXPECT_EQ(FormatMemoLine(store.memos()[0]), "2026-12-24 09:00 presents");
    // 09:00 in Tokyo is 00:00 UTC.
    EXPECT_EQ(store.memos()[0].time, 1'798'070'400);
    EXPECT_FALSE(store.dirty());  // the file says the same as before
}

}  // namespace
