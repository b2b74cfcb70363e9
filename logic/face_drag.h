#pragma once

#include <optional>

#include <QPoint>
#include <QRect>

// The face follows the pointer while the left button is held on it.
//
// Under a Wayland compositor the pointer reaches the clock through XWayland, which learns
// where it is only from the compositor. mutter reports the press where the pointer entered the
// face, not where it is, and no motion before it; sway and kwin_wayland report the motion over
// the face and the press where it is. So a press is trusted once the pointer has been seen to
// move over the face since it entered; without that, the first move of the drag only finds the
// pointer. sway keeps the pointer with a window only while it lies over it: a fast move out of
// the face ends the drag without a release, and when the pointer later comes over any
// XWayland window, XWayland reports a move there with the button still held. A move that far
// from the face is taken as that, and ends the drag.
class FaceDrag {
public:
    explicit FaceDrag(bool throughXWayland) : m_throughXWayland(throughXWayland) {}

    // The pointer entered the face at `screenPoint`, and moved over it without a button.
    void Enter(QPoint screenPoint);
    void Hover(QPoint screenPoint);
    void Press(QPoint screenPoint);
    // Where the face at `face` goes for the pointer at `screenPoint`; nullopt when it stays.
    std::optional<QPoint> Move(QPoint screenPoint, const QRect& face);

private:
    const bool m_throughXWayland;
    QPoint m_entry;
    bool m_movedSinceEntry = false;  // the pointer's position is known, not only its entry
    QPoint m_anchor;
    bool m_findPointer = false;  // the press's position is only where the pointer entered
    bool m_lost = false;
};
