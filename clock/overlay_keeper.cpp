#include "clock/overlay_keeper.h"

#include <QGuiApplication>
#include <QWidget>

#include "logic/face_geometry.h"

OverlayKeeper::OverlayKeeper(QWidget& face, QWidget& overlay) : m_face(face), m_overlay(overlay) {
    m_settle.setSingleShot(true);
    m_settle.setInterval(100);
    connect(&m_settle, &QTimer::timeout, this, &OverlayKeeper::CheckActualGeometry);
}

OverlayKeeper::~OverlayKeeper() = default;

void OverlayKeeper::Start() {
    m_stackingWatch = x11::WatchStacking([this] { ScheduleRestack(); });
}

void OverlayKeeper::Follow() {
    if (m_overlay.geometry() != m_face.geometry()) {
        m_overlay.setGeometry(m_face.geometry());
    }
    // Some window managers refuse or clamp a move without a word. Once the moves have
    // settled (never in the middle of a drag), look where the face really is.
    if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) {
        m_settle.start();
    }
}

void OverlayKeeper::CheckActualGeometry() {
    const std::optional<QRect> actual = x11::ActualGeometry(&m_face);
    if (!actual || actual->topLeft() == m_face.pos()) {
        m_settleMismatch.reset();
        return;
    }
    // Only a position seen twice is taken as the truth: a move may still be on its way.
    if (m_settleMismatch != actual->topLeft()) {
        m_settleMismatch = actual->topLeft();
        m_settle.start();
        return;
    }
    m_settleMismatch.reset();
    // Asking for where it already is changes nothing on the screen but brings Qt, and with it
    // the overlay, back to the truth.
    m_face.move(actual->topLeft());
}

void OverlayKeeper::ScheduleRestack() {
    // Stacking changes come in bursts (a drag, a window manager's own shuffling): one look
    // after the burst is enough.
    if (!m_restackPending) {
        m_restackPending = true;
        QTimer::singleShot(0, this, [this] { RestackOverlay(); });
    }
}

void OverlayKeeper::RestackOverlay() {
    m_restackPending = false;
    if (!m_face.isVisible() || !m_overlay.isVisible()) {
        return;
    }
    const unsigned long face = x11::TopLevelOf(&m_face);
    if (face != 0 && OverlayNeedsRestack(x11::StackingOrder(), face, m_overlay.effectiveWinId())) {
        x11::StackAbove(&m_overlay, face);
    }
}
