#pragma once

#include <optional>

#include <QPoint>
#include <QRect>

// The face follows the pointer while the left button is held on it.
//
// Under a Wayland compositor the pointer reaches the clock through XWayland, which learns
// where it is only from the compositor. Some compositors report the press where the pointer
// entered the face, not where it is, so there the first move of a drag only finds the pointer.
// sway keeps the pointer with a window only while it lies over it: a fast move out of the face
// ends the drag without a release, and when the pointer later comes over any XWayland window,
// XWayland reports a move there with the button still held. A move that far from the face is
// taken as that, and ends the drag.
class FaceDrag {
public:
    explicit FaceDrag(bool throughXWayland) : m_throughXWayland(throughXWayland) {}

    void Press(QPoint screenPoint);
    // Where the face at `face` goes for the pointer at `screenPoint`; nullopt when it stays.
    std::optional<QPoint> Move(QPoint screenPoint, const QRect& face);

private:
    const bool m_throughXWayland;
    QPoint m_anchor;
    bool m_anchorFromPress = false;
    bool m_lost = false;
};
