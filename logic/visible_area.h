#pragma once

#include <vector>

#include <QRect>

// What of the face the desktop really shows, from the X stacking order. Compositing window
// managers differ on where they draw an unmanaged window among managed ones, so the overlay
// cannot be kept under a covering window by restacking it; instead it paints only where no
// window above the face lies.

// A top-level window of the desktop, as the X server lists it.
struct StackedWindow {
    unsigned long id = 0;
    QRect rect;          // on the screen, frame included
    bool shown = false;  // mapped and drawn (not InputOnly)
};

// The parts of `face` (screen coordinates) that no shown window above `faceTopLevel` covers,
// as disjoint rectangles; `overlay` never counts as a cover. The whole face when
// `faceTopLevel` is not in the list (not mapped yet): nothing then is known to cover it.
std::vector<QRect> VisibleFaceArea(const std::vector<StackedWindow>& bottomToTop,
                                   unsigned long faceTopLevel, unsigned long overlay,
                                   const QRect& face);

// Whether `overlay` lies below `faceTopLevel` in the stacking order (bottom to top), so the
// face would paint over the hands where the desktop follows that order. False when either is
// not listed.
bool OverlayBelowFace(const std::vector<StackedWindow>& bottomToTop, unsigned long faceTopLevel,
                      unsigned long overlay);

// Whether a shown window above `faceTopLevel` (the overlay aside) overlaps `face`. Where the
// compositor draws the face on top whatever the X order says, such a window would take the
// clicks meant for the face.
bool FaceCoveredInStackingOrder(const std::vector<StackedWindow>& bottomToTop,
                                unsigned long faceTopLevel, unsigned long overlay,
                                const QRect& face);
