#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "logic/face_geometry.h"

namespace {

// Two 1280 x 800 monitors side by side, the left one primary; a 128 x 128 clock.
const QRect kLeft(0, 0, 1280, 800);
const QRect kRight(1280, 0, 1280, 800);
const QRect kStart(1152, 50, 128, 128);  // top-right of the left monitor, 50 px down

QRect Clock(int x, int y, int size = 128) {
    return QRect(x, y, size, size);
}

struct Case {
    const char* what;
    QRect clock;
    std::vector<QRect> screens;
    std::optional<QRect> expected;  // nullopt: stays
};

TEST(ScreenChange, clockGoesWhereItStaysReachable) {
    const std::vector<Case> cases = {
        {"wholly on one screen stays", Clock(100, 100), {kLeft, kRight}, std::nullopt},
        {"touching every edge of a screen stays", Clock(1152, 672), {kLeft}, std::nullopt},
        {"across the seam of two monitors stays", Clock(1230, 300), {kLeft, kRight}, std::nullopt},
        {"across a gap between monitors goes onto the side holding more",
         Clock(1230, 300),
         {kLeft, QRect(1300, 0, 1280, 800)},
         Clock(1300, 300)},
        {"across a seam that is gone moves onto the screen left",
         Clock(1230, 300),
         {kLeft},
         Clock(1152, 300)},
        {"mostly on the removed monitor goes to the one holding the rest",
         Clock(1270, 300),
         {kLeft},
         Clock(1152, 300)},
        {"the larger share wins over the order of the screens",
         Clock(1250, 300),
         {kLeft, QRect(1280, 0, 1280, 350)},
         Clock(1280, 222)},
        {"a sliver left on screen after the resolution dropped",
         Clock(1000, 700),
         {QRect(0, 0, 1024, 768)},
         Clock(896, 640)},
        {"off the top-left corner", Clock(-100, -20), {kLeft}, Clock(0, 0)},
        {"on the removed monitor goes to the start position", Clock(2000, 300), {kLeft}, kStart},
        {"off every screen goes to the start position", Clock(5000, 5000), {kLeft, kRight}, kStart},
        {"clamped on a monitor with an offset origin",
         Clock(2500, 790),
         {kLeft, QRect(1280, 100, 1280, 800)},
         Clock(2432, 772)},
        {"larger than its screen: top-left aligned",
         Clock(100, 100, 900),
         {QRect(0, 0, 800, 600)},
         Clock(0, 0, 900)},
        {"already top-left on a screen it cannot fit stays",
         Clock(0, 0, 900),
         {QRect(0, 0, 800, 600)},
         std::nullopt},
        {"no monitors at all: nowhere better to go",
         Clock(2000, 300),
         {QRect(0, 0, 0, 0)},
         std::nullopt},
        {"an empty screen counts as none", Clock(2000, 300), {QRect(1280, 0, 0, 0), kLeft}, kStart},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ClockRectAfterScreenChange(c.clock, c.screens, kStart), c.expected) << c.what;
    }
}

TEST(ScreenChange, startPositionTooLargeForThePrimaryIsAlignedTopLeft) {
    const QRect small(0, 0, 800, 600);
    const QRect start(-100, 50, 900, 900);  // the right edge on the screen's, as it starts
    EXPECT_EQ(ClockRectAfterScreenChange(Clock(3000, 0, 900), {small}, start), Clock(0, 0, 900));
}

}  // namespace
