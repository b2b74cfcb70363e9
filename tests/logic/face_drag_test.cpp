#include <gtest/gtest.h>

#include <vector>

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

TEST(FaceDrag, throughXWaylandAPressIsTrustedOnceThePointerMovedOverTheFace) {
    const struct {
        const char* what;
        std::vector<QPoint> hovers;  // after entering at (1010, 60)
        std::optional<QPoint> firstMove;
    } cases[] = {
        // mutter: the press comes where the pointer entered, and no motion before it.
        {"no motion since the entry", {}, std::nullopt},
        {"a report at the entry itself", {{1010, 60}}, std::nullopt},
        // sway, kwin_wayland: the motion over the face, then the press where it is.
        {"motion over the face", {{1030, 80}, {1064, 114}}, QPoint(980, 56)},
    };
    for (const auto& c : cases) {
        FaceDrag drag(/*throughXWayland=*/true);
        drag.Enter({1010, 60});
        for (const QPoint& at : c.hovers) {
            drag.Hover(at);
        }
        drag.Press(c.hovers.empty() ? QPoint(1010, 60) : c.hovers.back());
        EXPECT_EQ(drag.Move({1044, 120}, kFace), c.firstMove) << c.what;
        EXPECT_EQ(drag.Move({1034, 123}, kFace), QPoint(990, 53)) << c.what;
        // After a press every compositor reports the pointer: the next press is trusted.
        drag.Press({1034, 123});
        EXPECT_EQ(drag.Move({1044, 120}, kFace), QPoint(1010, 47)) << c.what;
    }
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
