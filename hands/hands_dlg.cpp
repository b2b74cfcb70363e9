#include "hands/hands_dlg.h"

#include <QBitmap>
#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QSurfaceFormat>

#include "hands/hands_frame.h"
#include "logic/hand_tips.h"
#include "logic/local_time.h"
#include "platform/x11_desktop.h"
#include "ui/drawing.h"
#include "ui/messages.h"

CHandsDlg::CHandsDlg(const Services& services) : m_services(services) {
    // The name its owner's tests and tools find the overlay by.
    setObjectName(QStringLiteral("hands"));
    // Re-armed at every tick so each one lands just after a second boundary and never drifts.
    m_tick.setSingleShot(true);
    m_tick.setTimerType(Qt::PreciseTimer);
    connect(&m_tick, &QTimer::timeout, this, &CHandsDlg::OnTimer);
}

void CHandsDlg::Create(QWidget* owner) {
    m_owner = owner;
    // Bypassing the window manager keeps a frame from wrapping the overlay and taking clicks.
    setFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
             Qt::WindowTransparentForInput | Qt::X11BypassWindowManagerHint |
             Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint);
    // An alpha channel for the see-through pixels; the visual is chosen when the window is made.
    QSurfaceFormat withAlpha = format();
    withAlpha.setAlphaBufferSize(8);
    setFormat(withAlpha);
    // Mapped without taking the keyboard from whatever has it: what a widget's
    // WA_ShowWithoutActivating sets, read by Qt's X11 platform.
    setProperty("_q_showWithoutActivating", true);
    if (owner != nullptr) {
        setTransientParent(owner->window()->windowHandle());
    }
    m_compositing = x11::HasCompositingManager();
    m_compositorWatch =
        x11::WatchCompositor([this](bool compositing) { OnCompositingChanged(compositing); });
    show();
}

void CHandsDlg::OnCompositingChanged(bool compositing) {
    if (compositing == m_compositing) {
        return;
    }
    m_compositing = compositing;
    emit compositingChanged(compositing);
    ApplyMask(rect(), /*whole=*/true);
    update();
}

bool CHandsDlg::GetHandTips(const LocalTime& now, QPoint tips[3]) {
    if (m_minuteWatch.IsNewMinute(now.minute) && m_owner != nullptr) {
        QCoreApplication::postEvent(m_owner, new QEvent(WM_CHECK_MEMOS));
    }
    const HandPositions at = HandPositionsAt(now.hour, now.minute, now.second);
    tips[0] = g_handTips.hourTips[at.hour];
    tips[1] = g_handTips.minuteTips[at.minute];
    tips[2] = g_handTips.secondTips[at.second];
    return at.pm;
}

void CHandsDlg::Refresh() {
    // A zone that changed under the clock (a laptop that travelled) shows at the next tick.
    if (m_zoneWatch.Changed()) {
        const auto reload = [] { ZoneWatch::Reload(); };
        if (m_onZoneChange) {
            m_onZoneChange(reload);
        } else {
            reload();
        }
    }
    // One sample for the hands, the day and the minute's news, so they never disagree.
    const LocalTime now = ToLocalTime(m_services.time->Now());
    QPoint tips[3] = {};
    const bool pm = GetHandTips(now, tips);
    const HandsGeometry g =
        ComputeHandsGeometry({size(), tips[0], tips[1], tips[2], pm, now.day, m_bHover != 0});
    const QRect changed = m_frame.Update(g, logicalDpiY(), devicePixelRatio());
    if (!changed.isEmpty()) {
        // The shape first: the X server keeps no pixels outside it, so what the new shape
        // takes in must be painted after. Only what changed is repainted and sent. A plain
        // window has no immediate repaint; the update it asks for comes a few milliseconds
        // later, still after the shape, and a window not shown paints once it is.
        ApplyMask(changed, /*whole=*/false);
        update(changed);
    }
}

void CHandsDlg::SetVisibleArea(const QRegion& area) {
    // Some compositors draw a window whose shape is empty as if it had none: one covered
    // whole goes away until a part of it shows again. The ticks go on meanwhile.
    if (area.isEmpty()) {
        if (isVisible()) {
            m_hiddenByCover = true;
            hide();
        }
        return;
    }
    const std::optional<QRegion> visible =
        area == QRegion(rect()) ? std::nullopt : std::optional<QRegion>(area);
    if (visible != m_visible) {
        m_visible = visible;
        ApplyMask(rect(), /*whole=*/true);
        // What the new shape takes in holds no pixels yet.
        update();
    }
    if (m_hiddenByCover) {
        m_hiddenByCover = false;
        show();
    }
}

void CHandsDlg::ApplyMask(const QRect& changed, bool whole) {
    // The shape goes to the X server directly: Qt would both resend every rectangle of it and
    // clip its own painting to the last shape it was given.
    if (m_compositing) {
        if (!m_visible) {
            if (m_shaped) {
                x11::ClearShape(this);
                m_shaped = false;
            }
        } else if (whole || !m_shaped) {
            x11::ReshapeArea(this, rect(), *m_visible);
            m_shaped = true;
        }
        return;
    }
    // Without a compositor the see-through pixels would show black; cut them out instead.
    const QImage& frame = m_frame.image();
    if (frame.isNull()) {
        return;
    }
    // The shape is in logical pixels. At one device pixel each, only the part that changed is
    // sent; finer frames are rare enough to send whole.
    whole = whole || !m_shaped || frame.devicePixelRatio() != 1.0;
    const QRect area = whole ? rect() : changed;
    QRegion opaque =
        QRegion(LogicalAlphaMask(whole ? frame : frame.copy(area))).translated(area.topLeft());
    if (m_visible) {
        opaque &= *m_visible;
    }
    x11::ReshapeArea(this, area, opaque);
    m_shaped = true;
}

void CHandsDlg::ScheduleTick() {
    m_tick.start(MillisecondsToNextTick(m_services.time->NowMs()));
}

void CHandsDlg::OnTimer() {
    ScheduleTick();
    Refresh();
}

void CHandsDlg::OnMouseHover() {
    m_bHover = 1;
    Refresh();
}

void CHandsDlg::OnMouseLeave() {
    m_bHover = 0;
    Refresh();
}

bool CHandsDlg::event(QEvent* e) {
    if (e->type() == WM_MOUSEHOVER) {
        OnMouseHover();
        return true;
    }
    if (e->type() == WM_MOUSELEAVE) {
        OnMouseLeave();
        return true;
    }
    return QRasterWindow::event(e);
}

void CHandsDlg::showEvent(QShowEvent* e) {
    QRasterWindow::showEvent(e);
    ScheduleTick();
    Refresh();
}

void CHandsDlg::resizeEvent(QResizeEvent* e) {
    QRasterWindow::resizeEvent(e);
    if (isVisible()) {
        Refresh();
    }
}

void CHandsDlg::paintEvent(QPaintEvent* e) {
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QImage& frame = m_frame.image();
    const QRect area = e->rect();
    const qreal dpr = frame.devicePixelRatio();
    painter.drawImage(QRectF(area), frame,
                      QRectF(QPointF(area.topLeft()) * dpr, QSizeF(area.size()) * dpr));
}
