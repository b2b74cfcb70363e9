#include "logic/face_geometry.h"

#include <algorithm>

QPoint FacePointFromClient(QPoint client, QSize outer, QSize clientSize) {
    const int border = (outer.width() - clientSize.width()) / 2;
    return {client.x() + border, client.y() + (outer.height() - clientSize.height()) - border};
}

QRect CentreBox(QSize face) {
    const int hw = face.width() / 2;
    const int hh = face.height() / 2;
    return {hw - 4, hh - 4, 12, 12};
}

bool OverlayNeedsRestack(const std::vector<unsigned long>& bottomToTop, unsigned long faceTopLevel,
                         unsigned long overlay) {
    const auto face = std::find(bottomToTop.begin(), bottomToTop.end(), faceTopLevel);
    if (face == bottomToTop.end()) {
        return false;
    }
    const auto above = std::next(face);
    return above == bottomToTop.end() || *above != overlay;
}
