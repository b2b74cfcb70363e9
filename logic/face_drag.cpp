#include "logic/face_drag.h"

#include <utility>

void FaceDrag::Enter(QPoint screenPoint) {
    m_entry = screenPoint;
    m_movedSinceEntry = false;
}

void FaceDrag::Hover(QPoint screenPoint) {
    // A report at the entry itself tells nothing new.
    m_movedSinceEntry = m_movedSinceEntry || screenPoint != m_entry;
}

void FaceDrag::Press(QPoint screenPoint) {
    m_anchor = screenPoint;
    m_findPointer = m_throughXWayland && !m_movedSinceEntry;
    // Once pressed, every compositor reports where the pointer is.
    m_movedSinceEntry = true;
    m_lost = false;
}

std::optional<QPoint> FaceDrag::Move(QPoint screenPoint, const QRect& face) {
    if (m_lost) {
        return std::nullopt;
    }
    if (m_throughXWayland) {
        if (std::exchange(m_findPointer, false)) {
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
