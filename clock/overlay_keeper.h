#pragma once

#include <memory>

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include "hands/hands_dlg.h"
#include "platform/x11_desktop.h"

class QWidget;

// Keeps the hands overlay on the face: on the rectangle where the window manager really put
// the face, showing the hands only where no window above the face covers it, and above the
// face where the desktop draws windows in their stacking order. On XWayland, where the
// compositor draws the clock over everything, it keeps the hands drawn after the face and the
// face on top of the X order, which decides where a click goes.
class OverlayKeeper : public QObject {
public:
    OverlayKeeper(QWidget& face, CHandsDlg& overlay);
    ~OverlayKeeper() override;

    // Starts following the stacking order; once the face is shown.
    void Start();
    // The face painted; the first time, on XWayland, the overlay is mapped again after it.
    void FacePainted();
    // The face moved or changed size, or was asked to: the overlay takes its rectangle. The
    // only place that sets the overlay's geometry.
    void Follow();

private:
    void RemapOverlay();
    void ScheduleLook();
    void LookAtStacking();
    void RaiseOverlay();

    QWidget& m_face;
    CHandsDlg& m_overlay;
    std::unique_ptr<x11::StackingWatch> m_stackingWatch;
    bool m_lookPending = false;
    // Raises of the overlay come at most once per m_raiseGap; a desktop that keeps undoing
    // them doubles the gap, so the clock never restacks against a window manager for long.
    QTimer m_raise;
    QElapsedTimer m_sinceRaise;
    int m_raiseGap = 0;        // milliseconds; none before the first raise
    bool m_raiseFace = false;  // the face too, above what lies over it in the X order
    bool m_facePainted = false;
};
