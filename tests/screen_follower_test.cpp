#include <gtest/gtest.h>
#include <QTest>

#include "clock/screen_follower.h"

namespace {

// A face on fake screens: Qt's idea of where it is, the X server's, and the moves asked for.
struct FakeDesktop {
    QRect face{1792, 50, 128, 128};
    std::optional<QRect> actual;
    ScreenLayout layout{{QRect(0, 0, 1920, 1080)}, QRect(1792, 50, 128, 128)};
    bool dragging = false;
    std::vector<QPoint> moves;
    ScreenFollower follower{{[this] { return face; }, [this] { return actual; },
                             [this] { return layout; }, [this] { return dragging; },
                             [this](QPoint to) {
                                 moves.push_back(to);
                                 face.moveTopLeft(to);
                             }}};
};

}  // namespace

TEST(ScreenFollower, takesWhereTheXServerHasTheFaceOnlyOnceItHoldsStill) {
    FakeDesktop desk;
    desk.follower.FaceMoved();
    QTest::qWait(400);
    EXPECT_TRUE(desk.moves.empty());  // nothing known, or where Qt has it: nothing to do

    // A window manager clamped the move without a word.
    desk.actual = QRect(1700, 50, 128, 128);
    desk.follower.FaceMoved();
    QTRY_COMPARE_WITH_TIMEOUT(desk.moves.size(), 1u, 2000);
    EXPECT_EQ(desk.moves[0], QPoint(1700, 50));

    // Still on its way after the first look: taken when seen the same a second time.
    desk.actual = QRect(1600, 50, 128, 128);
    desk.follower.FaceMoved();
    QTest::qWait(150);
    desk.actual = QRect(1500, 40, 128, 128);
    QTRY_COMPARE_WITH_TIMEOUT(desk.moves.size(), 2u, 2000);
    EXPECT_EQ(desk.moves[1], QPoint(1500, 40));
}

TEST(ScreenFollower, bringsTheFaceBackOnScreenAfterAChangeButNotDuringADrag) {
    FakeDesktop desk;
    desk.face.moveTopLeft(QPoint(1850, 100));  // half on a second monitor that went away
    desk.dragging = true;
    desk.follower.ScreensChanged();
    QTest::qWait(400);
    EXPECT_TRUE(desk.moves.empty());
    desk.dragging = false;  // let go: decided where it is now
    QTRY_VERIFY_WITH_TIMEOUT(!desk.moves.empty(), 2000);
    EXPECT_EQ(desk.moves[0], QPoint(1792, 100));
    // A late look follows, for window managers that move windows a while after the change.
    QTRY_COMPARE_WITH_TIMEOUT(desk.moves.size(), 2u, 3000);
    EXPECT_EQ(desk.moves[1], QPoint(1792, 100));
}
