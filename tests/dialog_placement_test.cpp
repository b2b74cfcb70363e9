#include <gtest/gtest.h>

#include "ui/dialog_placement.h"

namespace {

TEST(DialogPlacement, centredOnTheScreenAndClearOfTheFace) {
    const QRect screen(0, 0, 1920, 1080);
    const QSize dialog(600, 440);
    EXPECT_EQ(DialogPositionClearOf(screen, QRect(1712, 50, 208, 209), dialog), QPoint(660, 320));
    // A face dragged to the middle: the dialog goes beside it.
    EXPECT_EQ(DialogPositionClearOf(screen, QRect(900, 500, 128, 128), dialog), QPoint(292, 320));
    // A small screen with the face on the left: to the face's right, kept on the screen.
    EXPECT_EQ(DialogPositionClearOf(QRect(0, 0, 800, 600), QRect(0, 200, 128, 128), dialog),
              QPoint(136, 80));
    // No room beside it: below the face, as far as the screen allows.
    EXPECT_EQ(DialogPositionClearOf(QRect(0, 0, 640, 480), QRect(256, 0, 128, 128), dialog),
              QPoint(20, 40));
    // A second screen to the right.
    EXPECT_EQ(DialogPositionClearOf(QRect(1920, 0, 1280, 1024), QRect(2992, 50, 208, 209), dialog),
              QPoint(2260, 292));
}

}  // namespace
