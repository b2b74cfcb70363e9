#pragma once

#include <QDialog>
#include <QEventLoop>
#include <QIcon>
#include <QImage>

#include "clock/clock_actions.h"
#include "clock/face_skin.h"
#include "clock/overlay_keeper.h"
#include "clock/screen_follower.h"
#include "hands/hands_dlg.h"
#include "logic/face_drag.h"
#include "memo/memo_dlg.h"
#include "memo/memo_keeper.h"
#include "platform/services.h"
#include "platform/x11_desktop.h"

// The clock's main window: a frameless, always-on-top face whose every pixel comes from the
// skin with its own alpha. It owns the hands overlay and the memo dialog over `memos`, moves
// the windows with it, and runs the memo check whenever the overlay reports a new minute.
class CClockDlg : public QDialog {
    Q_OBJECT
public:
    CClockDlg(const Services& services, MemoKeeper& memos, QWidget* pParent = nullptr);
    ~CClockDlg() override;

    // Runs the clock until Esc or a close request; the result is not used. Not exec(): that
    // makes the face application-modal, which X window managers are told (_NET_WM_STATE_MODAL)
    // and then treat it as a dialog of some other window.
    int DoModal() {
        QEventLoop loop;
        connect(this, &QDialog::finished, &loop, &QEventLoop::exit);
        show();
        return loop.exec(QEventLoop::DialogExec);
    }

    // Loads skin nSkin, takes its size (top-left corner kept) and recomputes g_handTips. What
    // the window shows changes only with the next ComposeFace.
    void SelectSkin(int nSkin);
    // Renders the skin as the window's content and gives the overlay the face size.
    void ComposeFace();

    // The skin's size in logical pixels; empty when no skin could be loaded.
    QSize faceSize() const { return m_skin.size(); }
    // What the window shows: the skin itself, transparent corners and all (shared, not copied).
    QImage face() const { return m_skin.image() != nullptr ? *m_skin.image() : QImage(); }

    // What the context menu, the desktop's launcher and assistive technology ask of the clock:
    // "memos" shows the memo dialog, "settings" runs the settings (while a box or the settings
    // are open, they come to the front instead), "quit" ends the run; any other name brings
    // the clock to the front.
    void RunAction(const QString& name) { m_actions.Run(name); }
    void Activate() { m_actions.Activate(); }

    // Enter never closes the clock.
    void accept() override {}
    // Ends the run as Esc does, from wherever the program is: a box or dialog still open
    // (a reminder, the settings) goes away unanswered first, so its loop returns.
    void EndRun();

protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void done(int result) override;

private:
    void OnInitDialog();
    void OnLButtonDblClk(QPoint point);
    void RunSettings();
    void ShowMemos();
    // The name assistive technology reads: the program and the time it shows.
    void UpdateAccessibleName();
    void OnCheckMemos();
    void OnDestroy();
    void ApplyFaceMask();
    void MoveBoth(const QPoint& topLeft);

    const Services& m_services;
    const bool m_unmanaged = x11::IsXWayland();  // placed by us, not by a window manager
    QIcon m_hIcon;
    FaceSkin m_skin;
    FaceDrag m_drag{m_unmanaged};
    bool m_bInReminder = false;
    CHandsDlg m_handsDlg;
    MemoKeeper& m_memos;
    CMemoDlg m_memoDlg;
    bool m_initialised = false;
    OverlayKeeper m_overlayKeeper{*this, m_handsDlg};
    ClockActions m_actions;
    ScreenFollower m_follower;
};
