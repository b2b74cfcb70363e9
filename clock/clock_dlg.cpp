#include "clock/clock_dlg.h"

#include <cstdio>

#include <QBitmap>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "app/drawing.h"
#include "app/messages.h"
#include "app/resource_ids.h"
#include "app/x11_desktop.h"
#include "clock/hand_tips.h"
#include "clock/skin.h"
#include "memo/memo_check.h"
#include "memo/memo_file.h"

CClockDlg::CClockDlg(const Services& services, QWidget* pParent)
    : QDialog(pParent),
      m_services(services),
      m_hIcon(ResourcePath("icon", IDR_MAINFRAME)),
      m_handsDlg(services),
      m_memoDlg(services) {
    // A tool window keeps the clock off the taskbar; the face itself is the whole window.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                   Qt::NoDropShadowWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowTitle(QLatin1String(kAppTitle));
    connect(&m_handsDlg, &CHandsDlg::compositingChanged, this, [this] {
        ApplyFaceMask();
        update();
    });
}

CClockDlg::~CClockDlg() = default;

void CClockDlg::showEvent(QShowEvent* e) {
    if (!m_initialised) {
        m_initialised = true;
        OnInitDialog();
    }
    QDialog::showEvent(e);
}

void CClockDlg::OnInitDialog() {
    LoadMemoFile(m_services.paths.memoFile, m_memoDlg.m_memos, &m_memoDlg.m_fileStamp);
    setWindowIcon(m_hIcon);
    x11::SkipTaskbar(this);

    const std::optional<QString> stored =
        m_services.profile != nullptr
            ? m_services.profile->Read(QStringLiteral("Kelvarine"), QStringLiteral("Rand"))
            : std::nullopt;
    SelectSkin(SkinIndexFromProfile(stored));

    m_handsDlg.Create(this);
    m_memoDlg.Create(this);
    ComposeFace();

    const QScreen* screen = QGuiApplication::primaryScreen();
    MoveBoth(InitialClockRect(screen->geometry(), m_faceSize).topLeft());
}

bool CClockDlg::LoadSkinImage(unsigned nResourceId) {
    return LoadPngResource(nResourceId, m_pSkin);
}

void CClockDlg::SelectSkin(int nSkin) {
    LoadSkinImage(IDR_SKIN_FIRST + nSkin);
    m_faceSize = m_pSkin ? m_pSkin->size() : QSize(0, 0);
    if (!m_faceSize.isEmpty()) {
        setFixedSize(m_faceSize);
    }
    g_handTips = ComputeHandTips(m_faceSize.width(), m_faceSize.height());
}

void CClockDlg::ComposeFace() {
    m_face = QImage(m_faceSize, QImage::Format_ARGB32_Premultiplied);
    m_face.fill(Qt::transparent);
    if (m_pSkin) {
        DrawingSurface(&m_face).DrawImage(*m_pSkin, QRect(QPoint(0, 0), m_faceSize));
    }
    m_handsDlg.resize(m_faceSize);
    ApplyFaceMask();
    update();
}

void CClockDlg::ApplyFaceMask() {
    // Without a compositor transparent pixels show black; cut the corners away instead.
    if (!x11::HasCompositingManager() && !m_face.isNull()) {
        setMask(QBitmap::fromImage(m_face.createAlphaMask()));
    } else {
        clearMask();
    }
}

void CClockDlg::MoveBoth(const QPoint& topLeft) {
    move(topLeft);
    m_handsDlg.move(topLeft);
}

void CClockDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, m_face);
}

bool CClockDlg::event(QEvent* e) {
    if (e->type() == WM_CHECK_MEMOS) {
        OnCheckMemos();
        return true;
    }
    return QDialog::event(e);
}

void CClockDlg::OnCheckMemos() {
    RunMemoCheck(m_memoDlg.m_memos, m_memoDlg.m_bDirty, m_bInReminder, m_services, this,
                 &m_memoDlg.m_fileStamp);
}

void CClockDlg::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        m_ptDragAnchor = e->globalPosition().toPoint();
    }
    QDialog::mousePressEvent(e);
}

void CClockDlg::mouseMoveEvent(QMouseEvent* e) {
    if (e->buttons() & Qt::LeftButton) {
        const QPoint point = e->globalPosition().toPoint();
        const QPoint delta = point - m_ptDragAnchor;
        m_ptDragAnchor = point;
        MoveBoth(pos() + delta);
    }
    QDialog::mouseMoveEvent(e);
}

void CClockDlg::enterEvent(QEnterEvent* e) {
    QCoreApplication::postEvent(&m_handsDlg, new QEvent(WM_MOUSEHOVER));
    QDialog::enterEvent(e);
}

void CClockDlg::leaveEvent(QEvent* e) {
    QCoreApplication::postEvent(&m_handsDlg, new QEvent(WM_MOUSELEAVE));
    QDialog::leaveEvent(e);
}

void CClockDlg::done(int result) {
    OnDestroy();
    QDialog::done(result);
}

void CClockDlg::OnDestroy() {
    m_handsDlg.hide();
    m_memoDlg.hide();
    // Changes not yet written by a memo check would otherwise be lost with the process.
    if (m_memoDlg.m_bDirty) {
        if (SaveMemoFile(m_services.paths.memoFile, m_memoDlg.m_memos, &m_memoDlg.m_fileStamp)) {
            m_memoDlg.m_bDirty = false;
        } else {
            std::fprintf(stderr, "kelvarine: could not save memos to %s\n",
                         qPrintable(m_services.paths.memoFile));
        }
    }
}
