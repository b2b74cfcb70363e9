#include "clock/clock_dlg.h"

#include <QApplication>
#include <QBitmap>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include "logic/face_geometry.h"
#include "logic/hand_tips.h"
#include "logic/local_time.h"
#include "logic/resource_ids.h"
#include "memo/memo_check.h"
#include "platform/x11_desktop.h"
#include "settings/settings_dlg.h"
#include "ui/accessible_actions.h"
#include "ui/drawing.h"
#include "ui/messages.h"
#include "ui/skin.h"
#include "ui/tell.h"

CClockDlg::CClockDlg(const Services& services, MemoKeeper& memos, QWidget* pParent)
    : QDialog(pParent),
      m_services(services),
      // The small size a window manager shows, from the decoded image: a QIcon made from a
      // file name first consults the MIME database, which costs half a megabyte for nothing.
      m_hIcon(QPixmap::fromImage(ReadPng(QStringLiteral(":/icon/48")))),
      m_skin(services),
      m_handsDlg(services),
      m_memos(memos),
      m_memoDlg(services, memos),
      m_actions(*this, {[this] { ShowMemos(); }, [this] { RunSettings(); }, [this] { EndRun(); }}),
      m_follower({[this] { return geometry(); },
                  [this] { return x11::ActualGeometry(windowHandle()); },
                  [this] { return ScreensNow(faceSize()); },
                  [] { return bool(QGuiApplication::mouseButtons() & Qt::LeftButton); },
                  [this](QPoint topLeft) { MoveBoth(topLeft); }}) {
    // A tool window keeps the clock off the taskbar; the face itself is the whole window.
    Qt::WindowFlags flags =
        Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::NoDropShadowWindowHint;
    // A Wayland compositor places managed windows where it likes and tells nobody, so the
    // overlay could never find the face: there the face goes unmanaged too, where it is put.
    if (m_unmanaged) {
        flags |= Qt::X11BypassWindowManagerHint;
    }
    setWindowFlags(flags);
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowTitle(QLatin1String(kAppTitle));
    // Hover motion tells a drag on XWayland where the pointer is before the press.
    setMouseTracking(true);
    // The context menu's actions, also for assistive technology.
    ExposeToAssistiveTechnology(*this, QAccessible::Window);
    // Memos keep the wall-clock minute their lines say when the zone changes under them.
    m_handsDlg.SetZoneChangeHandler(
        [this](const std::function<void()>& reload) { m_memos.store().FollowZoneChange(reload); });
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
    // A file of the user's that is left alone is told, once the face shows.
    QStringList problems;
    if (!m_memos.Load()) {
        problems << QCoreApplication::translate("CClockDlg",
                                                "The memos cannot be read from %1: %2.\n\nThe "
                                                "clock leaves that file as it is and reads it "
                                                "again every minute.")
                        .arg(m_memos.store().path(), m_memos.store().problem());
    }
    UpdateAccessibleName();
    setWindowIcon(m_hIcon);
    x11::SkipTaskbar(windowHandle());

    SelectSkin(m_skin.Stored(problems));
    TellOnceShown(m_services, this, problems);

    // The overlay takes the face's rectangle before it is first shown.
    m_overlayKeeper.Follow();
    m_handsDlg.Create(this);
    m_memoDlg.Create(this);
    ComposeFace();

    MoveBoth(ScreensNow(faceSize()).start.topLeft());
    m_overlayKeeper.Start();
    m_follower.WatchScreens();
}

void CClockDlg::SelectSkin(int nSkin) {
    m_skin.Select(nSkin, devicePixelRatioF());
    const QSize size = faceSize();
    if (!size.isEmpty()) {
        setFixedSize(size);
    }
    g_handTips = ComputeHandTips(size.width(), size.height());
}

void CClockDlg::ComposeFace() {
    // The skin at its own size over nothing is the skin itself: the paint draws it as it is.
    m_overlayKeeper.Follow();
    ApplyFaceMask();
    update();
}

void CClockDlg::ApplyFaceMask() {
    // Without a compositor transparent pixels show black; cut the corners away instead.
    if (!x11::HasCompositingManager() && m_skin.image() != nullptr) {
        setMask(LogicalAlphaMask(*m_skin.image()));
    } else {
        clearMask();
    }
}

void CClockDlg::MoveBoth(const QPoint& topLeft) {
    move(topLeft);
    // The window manager may place, clamp or refuse the move; the overlay follows where the
    // face really is when that is known (moveEvent), and meanwhile where it was asked to go.
    m_overlayKeeper.Follow();
    m_follower.FaceMoved();
}

void CClockDlg::moveEvent(QMoveEvent* e) {
    QDialog::moveEvent(e);
    m_overlayKeeper.Follow();
    m_follower.FaceMoved();
}

void CClockDlg::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    m_overlayKeeper.Follow();
}

void CClockDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (m_skin.image() != nullptr) {
        painter.drawImage(0, 0, *m_skin.image());
    }
    m_overlayKeeper.FacePainted();
}

bool CClockDlg::event(QEvent* e) {
    if (e->type() == WM_CHECK_MEMOS) {
        OnCheckMemos();
        return true;
    }
    return QDialog::event(e);
}

void CClockDlg::OnCheckMemos() {
    // Posted on each new minute, like the time in the name.
    UpdateAccessibleName();
    RunMemoCheck(m_memos, m_bInReminder, m_services, this);
}

void CClockDlg::UpdateAccessibleName() {
    const LocalTime now = ToLocalTime(m_services.time->Now());
    // The user's way of writing a time (whatever language the windows read in), to the minute
    // the face shows. No regular expression: that would load and compile one for a few
    // characters, at a cost of half a megabyte.
    QString format = QLocale::system().timeFormat(QLocale::ShortFormat);
    for (const char* seconds : {":ss", ".ss", ":s", ".s"}) {
        format.remove(QLatin1String(seconds));
    }
    const QString time = QLocale::system().toString(QTime(now.hour, now.minute), format);
    //: What a screen reader calls the clock: %1 is the time it shows.
    setAccessibleName(tr("Kelvarine, %1").arg(time));
}

void CClockDlg::mousePressEvent(QMouseEvent* e) {
    // Positions in screen coordinates as the X server reported them with the event: the
    // window's own idea of where it is may still be a move on its way.
    if (e->button() == Qt::LeftButton) {
        // The X server holds the pointer for this window until the release, as a capture would.
        m_drag.Press(e->globalPosition().toPoint());
        // No window manager gives an unmanaged face the keyboard; a click takes it, for Esc.
        if (m_unmanaged) {
            activateWindow();
        }
    }
    QDialog::mousePressEvent(e);
}

void CClockDlg::mouseMoveEvent(QMouseEvent* e) {
    // Hover and leave need no re-arming here: every enter and leave reaches this window.
    const QPoint screenPoint = e->globalPosition().toPoint();
    if (e->buttons() & Qt::LeftButton) {
        if (const std::optional<QPoint> to = m_drag.Move(screenPoint, QRect(pos(), size()))) {
            MoveBoth(*to);
        }
    } else if (e->buttons() == Qt::NoButton) {
        m_drag.Hover(screenPoint);
    }
    QDialog::mouseMoveEvent(e);
}

void CClockDlg::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        m_follower.FaceMoved();  // look where the drag really left it
    }
    QDialog::mouseReleaseEvent(e);
}

void CClockDlg::mouseDoubleClickEvent(QMouseEvent* e) {
    // Not passed on: the base would take the double-click for another press.
    if (e->button() == Qt::LeftButton) {
        OnLButtonDblClk(e->position().toPoint());
    }
    e->accept();
}

void CClockDlg::OnLButtonDblClk(QPoint point) {
    const QPoint face = FacePointFromClient(point, frameGeometry().size(), size());
    if (CentreBox(faceSize()).contains(face)) {
        RunSettings();
    } else {
        m_memoDlg.show();
    }
}

void CClockDlg::ShowMemos() {
    m_memoDlg.show();
    m_memoDlg.raise();
    m_memoDlg.activateWindow();
}

void CClockDlg::contextMenuEvent(QContextMenuEvent* e) {
    // The keys that ask for it are taken in keyPressEvent, whatever the platform reports.
    if (e->reason() != QContextMenuEvent::Keyboard) {
        m_actions.ShowMenu(e->globalPos());
    }
    e->accept();
}

void CClockDlg::keyPressEvent(QKeyEvent* e) {
    const bool shiftF10 = e->key() == Qt::Key_F10 && e->modifiers() == Qt::ShiftModifier;
    if (e->key() == Qt::Key_Menu || shiftF10) {
        m_actions.ShowMenu(mapToGlobal(rect().center()));
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

void CClockDlg::RunSettings() {
    CSettingsDlg dlg(m_services, m_skin.shown(), this);
    if (dlg.DoModal() != QDialog::Accepted) {
        return;
    }
    const int skin = dlg.chosenSkin();
    m_skin.Store(skin, this);
    SelectSkin(skin);
    ComposeFace();
    // A larger skin grows right and down from the corner, past the screen's edge at the start.
    m_follower.FaceResized();
    m_handsDlg.Refresh();
}

void CClockDlg::enterEvent(QEnterEvent* e) {
    m_drag.Enter(e->globalPosition().toPoint());
    QCoreApplication::postEvent(&m_handsDlg, new QEvent(WM_MOUSEHOVER));
    QDialog::enterEvent(e);
}

void CClockDlg::leaveEvent(QEvent* e) {
    QCoreApplication::postEvent(&m_handsDlg, new QEvent(WM_MOUSELEAVE));
    QDialog::leaveEvent(e);
}

void CClockDlg::EndRun() {
    CloseModalDialogs(this);
    reject();
}

void CClockDlg::done(int result) {
    OnDestroy();
    QDialog::done(result);
}

void CClockDlg::OnDestroy() {
    // Before the memo dialog hides, which would drop its edits; and changes not yet written (a
    // save that kept failing) would otherwise be lost with the process.
    m_memos.Finish();
    m_handsDlg.hide();
    m_memoDlg.hide();
}
