#pragma once

#include <memory>
#include <optional>

#include <QObject>
#include <QPoint>
#include <QTimer>

#include "platform/x11_desktop.h"

class QWidget;

// Keeps the hands overlay on the face: on the rectangle where the window manager really put
// the face, and directly above the face in the stacking order.
class OverlayKeeper : public QObject {
public:
    OverlayKeeper(QWidget& face, QWidget& overlay);
    ~OverlayKeeper() override;

    // Starts following the stacking order; once the face is shown.
    void Start();
    // The face moved or changed size, or was asked to: the overlay takes its rectangle now,
    // and a look at where the face really went follows once moves have settled.
    void Follow();
    // That look, after a drag ends.
    void CheckWhenSettled() { m_settle.start(); }

private:
    void CheckActualGeometry();
    void ScheduleRestack();
    void RestackOverlay();

    QWidget& m_face;
    QWidget& m_overlay;
    std::unique_ptr<x11::StackingWatch> m_stackingWatch;
    bool m_restackPending = false;
    QTimer m_settle;
    std::optional<QPoint> m_settleMismatch;  // a position the X server reported once
};
