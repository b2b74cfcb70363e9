#include "hands/hands_dlg.h"

#include <QBitmap>
#include <QCoreApplication>
#include <QPainter>

#include "app/local_time.h"
#include "app/messages.h"
#include "app/x11_desktop.h"
#include "clock/hand_tips.h"
#include "hands/hands_painter.h"

CHandsDlg::CHandsDlg(const Services& services) : m_services(services) {
    // Re-armed at every tick so each one lands just after a second boundary and never drifts.
    m_tick.setSingleShot(true);
    m_tick.setTimerType(Qt::PreciseTimer);
    connect(&m_tick, &QTimer::timeout, this, &CHandsDlg::OnTimer);
}

void CHandsDlg::Create(QWidget* owner) {
    // Bypassing the window manager keeps a frame from wrapping the overlay and taking clicks.
    setParent(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                         Qt::WindowTransparentForInput | Qt::X11BypassWindowManagerHint |
                         Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    resize(owner->size());
    show();
}

bool CHandsDlg::GetHandTips(QPoint tips[3]) {
    const LocalTime now = ToLocalTime(m_services.time->Now());
    if (m_minuteWatch.IsNewMinute(now.minute) && parentWidget() != nullptr) {
        QCoreApplication::postEvent(parentWidget(), new QEvent(WM_CHECK_MEMOS));
    }
    const HandPositions at = HandPositionsAt(now.hour, now.minute, now.second);
    tips[0] = g_handTips.hourTips[at.hour];
    tips[1] = g_handTips.minuteTips[at.minute];
    tips[2] = g_handTips.secondTips[at.second];
    return at.pm;
}

void CHandsDlg::Refresh() {
    QPoint tips[3] = {};
    const bool pm = GetHandTips(tips);
    const LocalTime today = ToLocalTime(m_services.time->Now());
    const HandsGeometry g =
        ComputeHandsGeometry({size(), tips[0], tips[1], tips[2], pm, today.day, m_bHover != 0});
    m_frame = RenderHandsFrame(g, logicalDpiY());
    // One round trip to the X server a second: cheap enough to follow a compositor that
    // starts or stops while the clock runs.
    const bool compositing = x11::HasCompositingManager();
    if (compositing != m_compositing) {
        m_compositing = compositing;
        emit compositingChanged(compositing);
    }
    if (!compositing) {
        // Without a compositor the see-through pixels would show black; cut them out instead.
        setMask(QBitmap::fromImage(m_frame.createAlphaMask()));
    } else if (!mask().isEmpty()) {
        clearMask();
    }
    update();
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
    return QWidget::event(e);
}

void CHandsDlg::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    ScheduleTick();
    Refresh();
}

void CHandsDlg::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (isVisible()) {
        Refresh();
    }
}

void CHandsDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, m_frame);
}
