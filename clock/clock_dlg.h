#pragma once

#include <memory>
#include <optional>

#include <QAction>
#include <QDialog>
#include <QEventLoop>
#include <QIcon>
#include <QImage>
#include <QTimer>

#include "clock/overlay_keeper.h"
#include "hands/hands_dlg.h"
#include "logic/face_drag.h"
#include "logic/memo_store.h"
#include "memo/memo_dlg.h"
#include "platform/services.h"
#include "platform/x11_desktop.h"

class QMenu;
class QScreen;

// The clock's main window: a frameless, always-on-top face whose every pixel comes from the
// skin with its own alpha. It owns the hands overlay, the memos and their dialog, moves the
// windows with it, and runs the memo check whenever the overlay reports a new minute.
class CClockDlg : public QDialog {
    Q_OBJECT
public:
    explicit CClockDlg(const Services& services, QWidget* pParent = nullptr);
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

    bool LoadSkinImage(unsigned nResourceId);
    // Loads skin nSkin, takes its size (top-left corner kept) and recomputes g_handTips. What
    // the window shows changes only with the next ComposeFace.
    void SelectSkin(int nSkin);
    // Renders the skin as the window's content and gives the overlay the face size.
    void ComposeFace();

    // The skin's size in logical pixels; empty when no skin could be loaded.
    QSize faceSize() const;
    // What the window shows: the skin itself, transparent corners and all (shared, not copied).
    QImage face() const { return m_pSkin ? *m_pSkin : QImage(); }
    CHandsDlg& handsDlg() { return m_handsDlg; }
    CMemoDlg& memoDlg() { return m_memoDlg; }
    MemoStore& memoStore() { return m_memoStore; }

    // What the context menu, the desktop's launcher and assistive technology ask of the clock:
    // the memo dialog shown, the settings run (both raised instead when open), the face
    // brought to the front (with any box it has open).
    void OpenMemos();
    void OpenSettings();
    void Activate();
    // Runs the context menu's action of that name ("memos", "settings", "quit"); an unknown
    // name only activates.
    void RunAction(const QString& name);

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
    // Positions in screen coordinates as the X server reported them with the event: the
    // window's own idea of where it is may still be a move on its way.
    void OnLButtonDown(QPoint screenPoint);
    void OnMouseMove(Qt::MouseButtons buttons, QPoint screenPoint);
    void OnLButtonUp();
    void OnLButtonDblClk(QPoint point);
    void OnRButtonDown() {}
    void RunSettings();
    void ShowContextMenu(QPoint screenPoint);
    // The name assistive technology reads: the program and the time it shows.
    void UpdateAccessibleName();
    void StoreSkin(int nSkin);
    void OnCheckMemos();
    void OnDestroy();
    void ApplyFaceMask();
    void MoveBoth(const QPoint& topLeft);
    void WatchScreens();
    void WatchScreen(QScreen* screen);
    void ScreensChanged();
    void KeepOnScreens();

    const Services& m_services;
    const bool m_bUnmanaged = x11::IsXWayland();  // placed by us, not by a window manager
    QIcon m_hIcon;
    std::unique_ptr<QImage> m_pSkin;
    FaceDrag m_drag{m_bUnmanaged};
    bool m_bInReminder = false;
    bool m_bSkinStoreFailing = false;  // the last try to store the skin failed
    CHandsDlg m_handsDlg;
    MemoStore m_memoStore;
    CMemoDlg m_memoDlg;
    bool m_initialised = false;
    QTimer m_screensSettled;
    int m_screenLooksLeft = 0;
    OverlayKeeper m_overlayKeeper{*this, m_handsDlg};
    QAction m_actMemos;
    QAction m_actSettings;
    QAction m_actQuit;
    QMenu* m_menu = nullptr;  // made at its first use
};
