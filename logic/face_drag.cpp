#include "logic/face_drag.h"

#include <utility>

void FaceDrag::Press(QPoint screenPoint) {
    m_anchor = screenPoint;
    m_anchorFromPress = true;
    m_lost = false;
}

std::optional<QPoint> FaceDrag::Move(QPoint screenPoint, const QRect& face) {
    if (m_lost) {
        return std::nullopt;
    }
    if (m_throughXWayland) {
        if (std::exchange(m_anchorFromPress, false)) {
            m_anchor = screenPoint;
            return std::nullopt;
        }
        // Farther than the face's own size from it: no motion of a hand between two reports.
        const QRect reach =
            face.adjusted(-face.width(), -face.height(), face.width(), face.height());
        if (!reach.contains(screenPoint)) {
            m_lost = true;
            return std::nullopt;
        }
    }
    const QPoint delta = screenPoint - m_anchor;
    m_anchor = screenPoint;
    if (delta.isNull()) {
        return std::nullopt;
    }
    return face.topLeft() + delta;
}
