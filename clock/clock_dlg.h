#pragma once

#include <memory>

#include <QDialog>
#include <QIcon>
#include <QImage>

#include "app/services.h"
#include "hands/hands_dlg.h"
#include "memo/memo_dlg.h"

// The clock's main window: a frameless, always-on-top face whose every pixel comes from the
// skin with its own alpha. It owns the hands overlay and the memo dialog, moves them with it,
// and runs the memo check whenever the overlay reports a new minute.
class CClockDlg : public QDialog {
    Q_OBJECT
public:
    explicit CClockDlg(const Services& services, QWidget* pParent = nullptr);
    ~CClockDlg() override;

    // Runs the clock until Esc or a close request; the result is not used.
    int DoModal() { return exec(); }

    bool LoadSkinImage(unsigned nResourceId);
    // Loads skin nSkin, takes its size (top-left corner kept) and recomputes g_handTips. What
    // the window shows changes only with the next ComposeFace.
    void SelectSkin(int nSkin);
    // Renders the skin as the window's content and gives the overlay the face size.
    void ComposeFace();

    QSize faceSize() const { return m_faceSize; }
    const QImage& face() const { return m_face; }
    CHandsDlg& handsDlg() { return m_handsDlg; }
    CMemoDlg& memoDlg() { return m_memoDlg; }

    // Enter never closes the clock.
    void accept() override {}

protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void done(int result) override;

private:
    void OnInitDialog();
    void OnCheckMemos();
    void OnDestroy();
    void ApplyFaceMask();
    void MoveBoth(const QPoint& topLeft);

    const Services& m_services;
    QIcon m_hIcon;
    QSize m_faceSize{0, 0};
    std::unique_ptr<QImage> m_pSkin;
    QPoint m_ptDragAnchor;
    bool m_bInReminder = false;
    CHandsDlg m_handsDlg;
    CMemoDlg m_memoDlg;
    QImage m_face;
    bool m_initialised = false;
};
