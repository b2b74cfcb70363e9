#include "logic/visible_area.h"

#include <algorithm>

namespace {

// `from` without `cut`: up to four bands, above, below, left and right of the overlap.
void Subtract(const QRect& from, const QRect& cut, std::vector<QRect>& out) {
    const QRect overlap = from.intersected(cut);
    if (overlap.isEmpty()) {
        out.push_back(from);
        return;
    }
    if (overlap.top() > from.top()) {
        out.emplace_back(QPoint(from.left(), from.top()), QPoint(from.right(), overlap.top() - 1));
    }
    if (overlap.bottom() < from.bottom()) {
        out.emplace_back(QPoint(from.left(), overlap.bottom() + 1),
                         QPoint(from.right(), from.bottom()));
    }
    if (overlap.left() > from.left()) {
        out.emplace_back(QPoint(from.left(), overlap.top()),
                         QPoint(overlap.left() - 1, overlap.bottom()));
    }
    if (overlap.right() < from.right()) {
        out.emplace_back(QPoint(overlap.right() + 1, overlap.top()),
                         QPoint(from.right(), overlap.bottom()));
    }
}

}  // namespace

std::vector<QRect> VisibleFaceArea(const std::vector<StackedWindow>& bottomToTop,
                                   unsigned long faceTopLevel, unsigned long overlay,
                                   const QRect& face) {
    auto above =
        std::find_if(bottomToTop.begin(), bottomToTop.end(),
                     [faceTopLevel](const StackedWindow& w) { return w.id == faceTopLevel; });
    std::vector<QRect> visible;
    if (!face.isEmpty()) {
        visible.push_back(face);
    }
    if (above == bottomToTop.end()) {
        return visible;
    }
    for (++above; above != bottomToTop.end() && !visible.empty(); ++above) {
        if (above->id == overlay || !above->shown || !above->rect.intersects(face)) {
            continue;
        }
        std::vector<QRect> rest;
        for (const QRect& r : visible) {
            Subtract(r, above->rect, rest);
        }
        visible = std::move(rest);
    }
    return visible;
}

bool OverlayBelowFace(const std::vector<StackedWindow>& bottomToTop, unsigned long faceTopLevel,
                      unsigned long overlay) {
    auto position = [&bottomToTop](unsigned long id) {
        return std::find_if(bottomToTop.begin(), bottomToTop.end(),
                            [id](const StackedWindow& w) { return w.id == id; });
    };
    const auto face = position(faceTopLevel);
    const auto over = position(overlay);
    return face != bottomToTop.end() && over != bottomToTop.end() && over < face;
}

bool FaceCoveredInStackingOrder(const std::vector<StackedWindow>& bottomToTop,
                                unsigned long faceTopLevel, unsigned long overlay,
                                const QRect& face) {
    const std::vector<QRect> visible = VisibleFaceArea(bottomToTop, faceTopLevel, overlay, face);
    return !face.isEmpty() && !(visible.size() == 1 && visible.front() == face);
}
