#pragma once

#include <QImage>
#include <QPointer>
#include <QRasterWindow>
#include <QRegion>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>

#include "hands/hands_frame.h"
#include "logic/hand_positions.h"
#include "logic/local_time.h"
#include "logic/tick_timing.h"
#include "platform/services.h"
#include "platform/x11_desktop.h"

// The click-through overlay over the clock face: the hands, the AM/PM label and the day of the
// month, redrawn every second. It is also the clock's heartbeat: the first frame of every new
// minute posts WM_CHECK_MEMOS to its owner. A plain window, not a widget: assistive technology
// lists every widget's window as one of the application's own, and the face already stands
// for the clock there.
class CHandsDlg : public QRasterWindow {
    Q_OBJECT
public:
    explicit CHandsDlg(const Services& services);

    // Makes this an overlay owned by `owner` and shows it, where its keeper put it.
    void Create(QWidget* owner);
    // The window that hears of each new minute; none before Create or once it has gone.
    QWidget* owner() const { return m_owner; }
    // Fills tips with the hour, minute and second tips from g_handTips for the time `now` and
    // returns true after noon. Posts WM_CHECK_MEMOS to the owner on a new minute.
    bool GetHandTips(const LocalTime& now, QPoint tips[3]);
    // Runs when the local zone's rules change: it must call the function it is given, which
    // switches to the new rules, and may do what needs the old ones around that call.
    void SetZoneChangeHandler(std::function<void(const std::function<void()>& reload)> handler) {
        m_onZoneChange = std::move(handler);
    }
    // Samples the time, draws a new frame and schedules its display.
    void Refresh();
    // The part of the overlay (its own coordinates) no other window covers: the hands show
    // only there, whatever order the desktop draws its windows in.
    void SetVisibleArea(const QRegion& area);
    // Hidden because windows cover all of it; shown again by the next visible area.
    bool hiddenByCover() const { return m_hiddenByCover; }

    const QImage& frame() const { return m_frame.image(); }
    bool hovering() const { return m_bHover != 0; }

signals:
    // A compositing manager came or went; windows with see-through pixels must re-mask.
    void compositingChanged(bool compositing);

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void OnTimer();
    void OnMouseHover();
    void OnMouseLeave();
    void ScheduleTick();
    void OnCompositingChanged(bool compositing);
    void ApplyMask(const QRect& changed, bool whole);

    QRect rect() const { return QRect(QPoint(), size()); }

    const Services& m_services;
    QPointer<QWidget> m_owner;
    int m_bHover = 0;
    bool m_compositing = true;
    bool m_shaped = false;             // the window has a shape of ours
    std::optional<QRegion> m_visible;  // nullopt: all of the window
    bool m_hiddenByCover = false;
    MinuteWatch m_minuteWatch;
    QTimer m_tick;
    HandsFrame m_frame;
    ZoneWatch m_zoneWatch;
    std::function<void(const std::function<void()>&)> m_onZoneChange;
    std::unique_ptr<x11::CompositorWatch> m_compositorWatch;
};
