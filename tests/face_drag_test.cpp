#include <gtest/gtest.h>

#include "logic/face_drag.h"

namespace {

const QRect kFace(1000, 50, 128, 128);

TEST(FaceDrag, followsThePointerFromThePressOnAnXServer) {
    FaceDrag drag(/*throughXWayland=*/false);
    drag.Press({1064, 114});
    EXPECT_EQ(drag.Move({1060, 120}, kFace), QPoint(996, 56));
    // Each move counts from the last one, wherever the face went meanwhile.
    EXPECT_EQ(drag.Move({1050, 120}, QRect(996, 56, 128, 128)), QPoint(986, 56));
    EXPECT_EQ(drag.Move({1050, 120}, QRect(986, 56, 128, 128)), std::nullopt);
    // An X server keeps the pointer with the face: a flick far away still moves it.
    EXPECT_EQ(drag.Move({300, 700}, QRect(986, 56, 128, 128)), QPoint(236, 636));
}

TEST(FaceDrag, throughXWaylandTheFirstMoveOnlyFindsThePointer) {
    FaceDrag drag(/*throughXWayland=*/true);
    drag.Press({1010, 60});  // where the pointer entered, not where it is
    EXPECT_EQ(drag.Move({1064, 114}, kFace), std::nullopt);
    EXPECT_EQ(drag.Move({1044, 120}, kFace), QPoint(980, 56));
    drag.Press({1044, 120});
    EXPECT_EQ(drag.Move({1050, 120}, kFace), std::nullopt);
}

TEST(FaceDrag, throughXWaylandAMoveFarFromTheFaceEndsTheDrag) {
    FaceDrag drag(/*throughXWayland=*/true);
    drag.Press({1064, 114});
    drag.Move({1064, 114}, kFace);
    // Up to the face's size beyond its edges a hand can get between two reports.
    EXPECT_EQ(drag.Move({1064 - 190, 114}, kFace), QPoint(810, 50));
    const QRect moved(810, 50, 128, 128);
    // The pointer coming back over another XWayland window, far away, with the button held.
    EXPECT_EQ(drag.Move({40, 600}, moved), std::nullopt);
    EXPECT_EQ(drag.Move({874, 114}, moved), std::nullopt) << "the drag is over until a press";
    drag.Press({874, 114});
    drag.Move({874, 114}, moved);
    EXPECT_EQ(drag.Move({884, 124}, moved), QPoint(820, 60));
}

}  // namespace
