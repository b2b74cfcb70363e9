#include "clock/overlay_keeper.h"

#include <QGuiApplication>
#include <QWidget>

#include <algorithm>

#include "logic/face_geometry.h"
#include "logic/visible_area.h"

namespace {
constexpr int kFirstRaiseGap = 250;
constexpr int kLongestRaiseGap = 16000;
constexpr int kCalm = 2000;  // a raise this long after the last starts the gaps afresh
// Long enough for XWayland to hand the face's first frame to the compositor, which draws
// unmanaged windows in the order their first frames arrived; the second for a machine too
// busy for the first. Each costs the hands one frame.
constexpr int kRemapsAfterFirstPaint[] = {300, 2500};
}  // namespace

OverlayKeeper::OverlayKeeper(QWidget& face, CHandsDlg& overlay) : m_face(face), m_overlay(overlay) {
    m_raise.setSingleShot(true);
    connect(&m_raise, &QTimer::timeout, this, &OverlayKeeper::RaiseOverlay);
}

OverlayKeeper::~OverlayKeeper() = default;

void OverlayKeeper::Start() {
    m_stackingWatch = x11::WatchStacking([this] { ScheduleLook(); });
    ScheduleLook();
}

void OverlayKeeper::FacePainted() {
    if (m_facePainted) {
        return;
    }
    m_facePainted = true;
    // Mapping the overlay again once the face has surely reached the compositor puts the hands
    // on top there; elsewhere the stacking order already does.
    if (x11::IsXWayland()) {
        for (const int after : kRemapsAfterFirstPaint) {
            QTimer::singleShot(after, this, &OverlayKeeper::RemapOverlay);
        }
    }
}

void OverlayKeeper::RemapOverlay() {
    // The compositor moves the pointer off a window that goes, and XWayland then lets go of
    // the buttons. The compositor sees it only at the pointer's next move, so a press on the
    // face just after a remap loses its drag too: never while the pointer is on the face.
    if (QGuiApplication::mouseButtons() != Qt::NoButton || m_face.underMouse()) {
        QTimer::singleShot(250, this, &OverlayKeeper::RemapOverlay);
        return;
    }
    if (m_overlay.isVisible()) {
        m_overlay.hide();
        m_overlay.show();
    }
}

void OverlayKeeper::Follow() {
    if (m_overlay.geometry() != m_face.geometry()) {
        m_overlay.setGeometry(m_face.geometry());
    }
}

void OverlayKeeper::ScheduleLook() {
    // Stacking changes come in bursts (a drag, a window manager's own shuffling): one look
    // after the burst is enough.
    if (!m_lookPending) {
        m_lookPending = true;
        QTimer::singleShot(0, this, [this] { LookAtStacking(); });
    }
}

void OverlayKeeper::LookAtStacking() {
    m_lookPending = false;
    if (!m_face.isVisible() || (!m_overlay.isVisible() && !m_overlay.hiddenByCover())) {
        return;
    }
    const unsigned long face = x11::TopLevelOf(m_face.windowHandle());
    if (face == 0) {
        return;
    }
    const std::vector<StackedWindow> windows = x11::StackedWindowsFrom(face, m_face.windowHandle());
    // Where the overlay really is: its shape counts from there.
    const QRect overlay = x11::ActualGeometry(&m_overlay).value_or(m_overlay.geometry());
    const unsigned long overlayId = m_overlay.winId();
    // On XWayland the compositor draws the unmanaged face and overlay over everything, in the
    // order their first frames arrived, whatever the X order says: nothing covers them there.
    // But XWayland hands a click to the window on top in the X order, so a window raised
    // there over the face (one that took the focus) must go below it again.
    m_raiseFace =
        x11::IsXWayland() && FaceCoveredInStackingOrder(windows, face, overlayId, overlay);
    if (!x11::IsXWayland()) {
        QRegion visible;
        for (const QRect& part : VisibleFaceArea(windows, face, overlayId, overlay)) {
            visible += part.translated(-overlay.topLeft());
        }
        // Changes nothing, and asks the X server nothing, when the covers stayed as they were.
        m_overlay.SetVisibleArea(visible);
    }
    if (m_overlay.isVisible() && (m_raiseFace || OverlayBelowFace(windows, face, overlayId)) &&
        !m_raise.isActive()) {
        // Once the gap since the last raise is over; a desktop that keeps putting the face
        // back above the overlay makes the gaps longer.
        const qint64 since = m_sinceRaise.isValid() ? m_sinceRaise.elapsed() : kLongestRaiseGap;
        m_raise.start(static_cast<int>(std::max<qint64>(0, m_raiseGap - since)));
    }
}

void OverlayKeeper::RaiseOverlay() {
    const bool again = m_sinceRaise.isValid() && m_sinceRaise.elapsed() < kCalm;
    m_raiseGap = again ? std::clamp(2 * m_raiseGap, kFirstRaiseGap, kLongestRaiseGap) : 0;
    m_sinceRaise.start();
    // On top of everything, not next to the face: a window manager answers a restack next to
    // one of its windows with one of its own. What lies above the face is cut out of the
    // overlay's shape anyway.
    if (m_raiseFace) {
        x11::Raise(m_face.windowHandle());
    }
    x11::Raise(&m_overlay);
}
