#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QTest>

#include "clock/screen_follower.h"

namespace {

// A face on fake screens: Qt's idea of where it is, the X server's, and the moves asked for.
// `looks` counts the follower's questions to the X server and `dragChecks` its questions about
// the button, so a test waits for the follower to have looked rather than for a time.
struct FakeDesktop {
    QRect face{1792, 50, 128, 128};
    std::optional<QRect> actual;
    // Where the X server has the face at the n-th look (from 1); `actual` unless set.
    std::function<std::optional<QRect>(int)> actualAtLook;
    ScreenLayout layout{{QRect(0, 0, 1920, 1080)}, QRect(1792, 50, 128, 128)};
    bool dragging = false;
    int looks = 0;
    int dragChecks = 0;
    std::vector<QPoint> moves;
    ScreenFollower follower{{[this] { return face; },
                             [this] {
                                 ++looks;
                                 return actualAtLook ? actualAtLook(looks) : actual;
                             },
                             [this] { return layout; },
                             [this] {
                                 ++dragChecks;
                                 return dragging;
                             },
                             [this](QPoint to) {
                                 moves.push_back(to);
                                 face.moveTopLeft(to);
                             }}};
};

constexpr int kPatience = 10000;  // ms; the follower's timers take a fraction of a second

}  // namespace

// Runs the follower's timers until CONDITION holds, and fails the test when it never does.
// (Qt Test's own waiting macros report to Qt Test, which nothing here reads.)
#define WAIT_FOR(condition) \
    ASSERT_TRUE(QTest::qWaitFor([&] { return condition; }, kPatience)) << #condition

TEST(ScreenFollower, takesWhereTheXServerHasTheFaceOnlyOnceItHoldsStill) {
    FakeDesktop desk;
    desk.follower.FaceMoved();
    WAIT_FOR(desk.looks >= 1);
    EXPECT_TRUE(desk.moves.empty());  // nothing known, or where Qt has it: nothing to do

    // A window manager clamped the move without a word.
    desk.actual = QRect(1700, 50, 128, 128);
    desk.follower.FaceMoved();
    WAIT_FOR(desk.moves.size() >= 1u);
    EXPECT_EQ(desk.moves[0], QPoint(1700, 50));

    // Still on its way at the first look: taken when seen the same a second time.
    const int before = desk.looks;
    desk.actualAtLook = [before](int look) {
        return look == before + 1 ? QRect(1600, 50, 128, 128) : QRect(1500, 40, 128, 128);
    };
    desk.follower.FaceMoved();
    WAIT_FOR(desk.moves.size() >= 2u);
    EXPECT_EQ(desk.moves[1], QPoint(1500, 40));
    EXPECT_EQ(desk.looks, before + 3);  // 1600, 1500 once, 1500 again
}

TEST(ScreenFollower, bringsTheFaceBackOnScreenAfterAChangeButNotDuringADrag) {
    FakeDesktop desk;
    desk.face.moveTopLeft(QPoint(1850, 100));  // half on a second monitor that went away
    desk.dragging = true;
    desk.follower.ScreensChanged();
    WAIT_FOR(desk.dragChecks >= 2);  // looked twice, held each time
    EXPECT_TRUE(desk.moves.empty());
    desk.dragging = false;  // let go: decided where it is now
    WAIT_FOR(!desk.moves.empty());
    EXPECT_EQ(desk.moves[0], QPoint(1792, 100));
    // A late look follows, for window managers that move windows a while after the change.
    WAIT_FOR(desk.moves.size() >= 2u);
    EXPECT_EQ(desk.moves[1], QPoint(1792, 100));
}

// What a window manager does with a face grown past the screen's edge at the start corner, as
// the X server reports it at each look (after how many of the follower's moves, and how long
// after the resize), and where the face ends up.
TEST(ScreenFollower, keepsAGrownFaceOnTheScreenWhateverTheWindowManagerDoesMeanwhile) {
    const QRect grown(1792, 50, 208, 209);
    const QRect clamped(1712, 50, 208, 209);
    struct Case {
        const char* what;
        std::function<QRect(std::size_t moves, qint64 ms, QRect asked)> actual;
        QPoint end;
    } const cases[] = {
        {"a busy one reports the old corner for half a second",
         [&](std::size_t, qint64 ms, QRect asked) { return ms < 500 ? grown : asked; },
         clamped.topLeft()},
        {"it clamps the face itself, then Qt's later request puts it back past the edge",
         [&](std::size_t moves, qint64 ms, QRect asked) {
             return moves == 0 ? (ms < 50 ? clamped : grown) : asked;
         },
         clamped.topLeft()},
        {"it puts the face elsewhere on the screen: followed there",
         [](std::size_t, qint64, QRect) { return QRect(0, 0, 208, 209); }, QPoint(0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeDesktop desk;
        desk.face = grown;
        QElapsedTimer sinceResize;
        sinceResize.start();
        desk.actualAtLook = [&](int) -> std::optional<QRect> {
            return c.actual(desk.moves.size(), sinceResize.elapsed(), desk.face);
        };
        desk.follower.FaceResized();
        desk.follower.FaceMoved();  // as the move's own event would
        WAIT_FOR(desk.looks >= 3);  // at once, settled, and late
        EXPECT_EQ(desk.face.topLeft(), c.end);
        for (const QPoint& to : desk.moves) {
            EXPECT_TRUE(QRect(0, 0, 1920, 1080).contains(QRect(to, grown.size()))) << to.x();
        }
    }
}
