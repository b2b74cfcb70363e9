#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "logic/visible_area.h"

namespace {

constexpr unsigned long kBelow = 1, kFace = 2, kOverlay = 3, kDialog = 4, kOther = 5;
const QRect kFaceRect(100, 50, 128, 128);

StackedWindow Shown(unsigned long id, QRect rect) {
    return {id, rect, true};
}

// Pixels of `face` in the rectangles, each counted once; also fails on overlaps, which would
// make the shape sent to the X server larger than it looks.
int CountPixels(const std::vector<QRect>& parts) {
    int total = 0;
    for (size_t i = 0; i < parts.size(); ++i) {
        EXPECT_TRUE(kFaceRect.contains(parts[i])) << "outside the face";
        for (size_t j = i + 1; j < parts.size(); ++j) {
            EXPECT_FALSE(parts[i].intersects(parts[j])) << "rectangles overlap";
        }
        total += parts[i].width() * parts[i].height();
    }
    return total;
}

bool Covers(const std::vector<QRect>& parts, QPoint p) {
    for (const QRect& r : parts) {
        if (r.contains(p)) {
            return true;
        }
    }
    return false;
}

struct Case {
    std::string what;
    std::vector<StackedWindow> bottomToTop;
    int visiblePixels;
    std::vector<QPoint> shown;
    std::vector<QPoint> hidden;
};

TEST(VisibleFaceArea, onlyShownWindowsAboveTheFaceCutIt) {
    const QRect all = kFaceRect;
    const std::vector<Case> cases = {
        {"nothing above",
         {Shown(kBelow, {0, 0, 800, 600}), Shown(kFace, all)},
         128 * 128,
         {{100, 50}, {227, 177}},
         {}},
        {"a window below the face counts for nothing",
         {Shown(kOther, {90, 40, 300, 300}), Shown(kFace, all)},
         128 * 128,
         {{164, 114}},
         {}},
        {"the overlay itself is no cover",
         {Shown(kFace, all), Shown(kOverlay, all)},
         128 * 128,
         {{164, 114}},
         {}},
        {"a dialog over the left half",
         {Shown(kFace, all), Shown(kOverlay, all), Shown(kDialog, {0, 0, 164, 600})},
         64 * 128,
         {{164, 114}, {227, 50}},
         {{100, 50}, {163, 177}}},
        {"a window in the middle leaves a ring",
         {Shown(kFace, all), Shown(kOther, {132, 82, 64, 64})},
         128 * 128 - 64 * 64,
         {{131, 114}, {196, 114}, {164, 81}, {164, 146}},
         {{132, 82}, {195, 145}}},
        {"two covers overlapping each other",
         {Shown(kFace, all), Shown(kDialog, {0, 0, 164, 600}), Shown(kOther, {150, 0, 50, 114})},
         64 * 128 - 36 * 64,
         {{164, 114}, {200, 60}},
         {{199, 113}, {150, 177}}},
        {"an unmapped or input-only window",
         {Shown(kFace, all), {kOther, {0, 0, 800, 600}, false}},
         128 * 128,
         {{164, 114}},
         {}},
        {"covered whole",
         {Shown(kFace, all), Shown(kOther, {0, 0, 800, 600})},
         0,
         {},
         {{100, 50}, {227, 177}}},
        {"a cover beside the face",
         {Shown(kFace, all), Shown(kOther, {228, 50, 100, 100})},
         128 * 128,
         {{227, 100}},
         {}},
        {"the face not listed yet", {Shown(kOther, {0, 0, 800, 600})}, 128 * 128, {{164, 114}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<QRect> parts = VisibleFaceArea(c.bottomToTop, kFace, kOverlay, all);
        EXPECT_EQ(CountPixels(parts), c.visiblePixels);
        for (QPoint p : c.shown) {
            EXPECT_TRUE(Covers(parts, p)) << p.x() << "," << p.y() << " hidden";
        }
        for (QPoint p : c.hidden) {
            EXPECT_FALSE(Covers(parts, p)) << p.x() << "," << p.y() << " shown";
        }
    }
}

TEST(VisibleFaceArea, overlayBelowTheFaceOnlyWhenBothAreListed) {
    const QRect r(0, 0, 10, 10);
    EXPECT_FALSE(OverlayBelowFace({Shown(kFace, r), Shown(kOverlay, r)}, kFace, kOverlay));
    EXPECT_FALSE(
        OverlayBelowFace({Shown(kFace, r), Shown(kOther, r), Shown(kOverlay, r)}, kFace, kOverlay));
    EXPECT_TRUE(
        OverlayBelowFace({Shown(kOverlay, r), Shown(kOther, r), Shown(kFace, r)}, kFace, kOverlay));
    EXPECT_FALSE(OverlayBelowFace({Shown(kOverlay, r), Shown(kOther, r)}, kFace, kOverlay));
    EXPECT_FALSE(OverlayBelowFace({Shown(kOther, r), Shown(kFace, r)}, kFace, kOverlay));
}

TEST(VisibleFaceArea, coveredOnlyByAShownOverlappingWindowAboveTheFace) {
    const QRect beside(kFaceRect.right() + 1, kFaceRect.top(), 50, 50);
    const QRect corner(kFaceRect.right() - 3, kFaceRect.bottom() - 3, 50, 50);
    const StackedWindow hidden{kOther, kFaceRect, false};
    auto covered = [](const std::vector<StackedWindow>& windows) {
        return FaceCoveredInStackingOrder(windows, kFace, kOverlay, kFaceRect);
    };
    EXPECT_FALSE(covered({Shown(kBelow, kFaceRect), Shown(kFace, kFaceRect)}));
    EXPECT_FALSE(covered({Shown(kFace, kFaceRect), Shown(kOverlay, kFaceRect)}));
    EXPECT_FALSE(covered({Shown(kFace, kFaceRect), Shown(kOther, beside), hidden}));
    EXPECT_TRUE(covered({Shown(kFace, kFaceRect), Shown(kOther, corner)}));
    EXPECT_TRUE(covered({Shown(kFace, kFaceRect), Shown(kOverlay, kFaceRect),
                         Shown(kDialog, kFaceRect.adjusted(10, 10, -10, -10))}));
    // Not mapped yet: nothing is known to lie above it.
    EXPECT_FALSE(covered({Shown(kOther, kFaceRect)}));
}

}  // namespace
