#include "clock/clock_dlg.h"

#include <cstdio>

#include <QApplication>
#include <QBitmap>
#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QRegularExpression>
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

CClockDlg::CClockDlg(const Services& services, QWidget* pParent)
    : QDialog(pParent),
      m_services(services),
      // The small size a window manager shows, from the decoded image: a QIcon made from a
      // file name first consults the MIME database, which costs half a megabyte for nothing.
      m_hIcon(QPixmap::fromImage(ReadPng(QStringLiteral(":/icon/48")))),
      m_handsDlg(services),
      m_memoStore(services.paths.memoFile),
      m_memoDlg(services, m_memoStore) {
    // A tool window keeps the clock off the taskbar; the face itself is the whole window.
    Qt::WindowFlags flags =
        Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::NoDropShadowWindowHint;
    // A Wayland compositor places managed windows where it likes and tells nobody, so the
    // overlay could never find the face: there the face goes unmanaged too, where it is put.
    if (m_bUnmanaged) {
        flags |= Qt::X11BypassWindowManagerHint;
    }
    setWindowFlags(flags);
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowTitle(QLatin1String(kAppTitle));
    // Hover motion tells a drag on XWayland where the pointer is before the press.
    setMouseTracking(true);
    // The context menu's actions, also for assistive technology.
    ExposeToAssistiveTechnology(*this, QAccessible::Window);
    const struct {
        QAction& action;
        const char* name;
        QString text;
        QString tip;
        void (CClockDlg::*run)();
    } actions[] = {
        {m_actMemos, "memos", tr("备忘事件…"), tr("显示备忘列表"), &CClockDlg::OpenMemos},
        {m_actSettings, "settings", tr("设置…"), tr("选择皮肤和开机自动启动"),
         &CClockDlg::OpenSettings},
        {m_actQuit, "quit", tr("退出"), tr("关闭时钟"), &CClockDlg::EndRun},
    };
    for (const auto& a : actions) {
        a.action.setObjectName(QLatin1String(a.name));
        a.action.setText(a.text);
        a.action.setToolTip(a.tip);
        connect(&a.action, &QAction::triggered, this, a.run);
        addAction(&a.action);
    }
    // Memos keep the wall-clock minute their lines say when the zone changes under them.
    m_handsDlg.SetZoneChangeHandler(
        [this](const std::function<void()>& reload) { m_memoStore.FollowZoneChange(reload); });
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
    if (!m_memoStore.Load()) {
        problems << QCoreApplication::translate("CClockDlg",
                                                "The memos cannot be read from %1: %2.\n\nThe "
                                                "clock leaves that file as it is and reads it "
                                                "again every minute.")
                        .arg(m_memoStore.path(), m_memoStore.problem());
    }
    UpdateAccessibleName();
    setWindowIcon(m_hIcon);
    x11::SkipTaskbar(this);

    const std::optional<QString> stored =
        m_services.profile != nullptr
            ? m_services.profile->Read(QLatin1String(kSkinGroup), QLatin1String(kSkinKey))
            : std::nullopt;
    if (m_services.profile != nullptr && !m_services.profile->ReadProblem().isEmpty()) {
        problems << QCoreApplication::translate("CClockDlg",
                                                "The chosen skin cannot be read from %1: "
                                                "%2.\n\nThe clock shows the first skin.")
                        .arg(m_services.paths.configFile, m_services.profile->ReadProblem());
    }
    SelectSkin(SkinIndexFromProfile(stored));
    for (const QString& problem : problems) {
        std::fprintf(stderr, "kelvarine: %s\n", problem.toLocal8Bit().constData());
    }
    if (!problems.isEmpty()) {
        QTimer::singleShot(0, this, [this, problems] {
            for (const QString& problem : problems) {
                m_services.question->Warn(this, QLatin1String(kAppTitle), problem);
            }
        });
    }

    m_handsDlg.Create(this);
    m_memoDlg.Create(this);
    ComposeFace();

    const QScreen* screen = QGuiApplication::primaryScreen();
    MoveBoth(InitialClockRect(screen->geometry(), faceSize()).topLeft());
    m_overlayKeeper.Start();
    WatchScreens();
}

void CClockDlg::WatchScreens() {
    m_screensSettled.setSingleShot(true);
    connect(&m_screensSettled, &QTimer::timeout, this, [this] {
        if (QGuiApplication::mouseButtons() & Qt::LeftButton) {
            m_screensSettled.start(150);  // the user is dragging it: look where it is let go
            return;
        }
        KeepOnScreens();
        // Some window managers move their windows after their own handling of the change, a
        // good while later and without a word to Qt: look once more then.
        if (--m_screenLooksLeft > 0) {
            m_screensSettled.start(1000);
        }
    });
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        WatchScreen(screen);
        ScreensChanged();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &CClockDlg::ScreensChanged);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, &CClockDlg::ScreensChanged);
    for (QScreen* screen : QGuiApplication::screens()) {
        WatchScreen(screen);
    }
}

void CClockDlg::WatchScreen(QScreen* screen) {
    connect(screen, &QScreen::geometryChanged, this, &CClockDlg::ScreensChanged);
}

void CClockDlg::ScreensChanged() {
    // One change of the monitors reaches Qt as several (a monitor goes, another becomes the
    // primary, a third appears): decide once they have settled, not on a state in between.
    m_screenLooksLeft = 2;
    m_screensSettled.start(150);
}

void CClockDlg::KeepOnScreens() {
    // Where the face really is: a window manager may have moved it on the change already.
    const QRect face = x11::ActualGeometry(this).value_or(geometry());
    // Whole screens, not the space panels leave: the clock stays on top of panels anyway, and
    // X11 tells one work area for all monitors together, wrong for each of them.
    std::vector<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        screens.push_back(screen->geometry());
    }
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QRect start = InitialClockRect(primary ? primary->geometry() : QRect(), faceSize());
    const std::optional<QRect> target = ClockRectAfterScreenChange(face, screens, start);
    // Staying, it still moves to where it really is: that brings Qt, and with it the overlay,
    // back to the truth, and has the overlay keeper look again once moves have settled.
    MoveBoth(target ? target->topLeft() : face.topLeft());
}

bool CClockDlg::LoadSkinImage(unsigned nResourceId) {
    return LoadPngResource(nResourceId, m_pSkin, devicePixelRatioF());
}

void CClockDlg::SelectSkin(int nSkin) {
    LoadSkinImage(IDR_SKIN_FIRST + nSkin);
    const QSize size = faceSize();
    if (!size.isEmpty()) {
        setFixedSize(size);
    }
    g_handTips = ComputeHandTips(size.width(), size.height());
}

QSize CClockDlg::faceSize() const {
    // Logical pixels, whatever the image's density.
    return m_pSkin ? m_pSkin->deviceIndependentSize().toSize() : QSize(0, 0);
}

void CClockDlg::ComposeFace() {
    // The skin at its own size over nothing is the skin itself: the paint draws it as it is.
    m_handsDlg.resize(faceSize());
    ApplyFaceMask();
    update();
}

void CClockDlg::ApplyFaceMask() {
    // Without a compositor transparent pixels show black; cut the corners away instead.
    if (!x11::HasCompositingManager() && m_pSkin) {
        setMask(LogicalAlphaMask(*m_pSkin));
    } else {
        clearMask();
    }
}

void CClockDlg::MoveBoth(const QPoint& topLeft) {
    move(topLeft);
    // The window manager may place, clamp or refuse the move; the overlay follows where the
    // face really is when that is known (moveEvent), and meanwhile where it was asked to go.
    m_overlayKeeper.Follow();
}

void CClockDlg::moveEvent(QMoveEvent* e) {
    QDialog::moveEvent(e);
    m_overlayKeeper.Follow();
}

void CClockDlg::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    m_overlayKeeper.Follow();
}

void CClockDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (m_pSkin) {
        painter.drawImage(0, 0, *m_pSkin);
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
    RunMemoCheck(m_memoStore, m_bInReminder, m_services, this);
}

void CClockDlg::UpdateAccessibleName() {
    const LocalTime now = ToLocalTime(m_services.time->Now());
    // The user's way of writing a time, to the minute the face shows.
    QString format = QLocale().timeFormat(QLocale::ShortFormat);
    format.remove(QRegularExpression(QStringLiteral("[:.]ss?")));
    const QString time = QLocale().toString(QTime(now.hour, now.minute), format);
    //: What a screen reader calls the clock: %1 is the time it shows.
    setAccessibleName(tr("Kelvarine, %1").arg(time));
}

void CClockDlg::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        OnLButtonDown(e->globalPosition().toPoint());
    } else if (e->button() == Qt::RightButton) {
        OnRButtonDown();
    }
    QDialog::mousePressEvent(e);
}

void CClockDlg::mouseMoveEvent(QMouseEvent* e) {
    OnMouseMove(e->buttons(), e->globalPosition().toPoint());
    QDialog::mouseMoveEvent(e);
}

void CClockDlg::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        OnLButtonUp();
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

void CClockDlg::OnLButtonDown(QPoint screenPoint) {
    // The X server holds the pointer for this window until the release, as a capture would.
    m_drag.Press(screenPoint);
    // No window manager gives an unmanaged face the keyboard; a click takes it, for Esc.
    if (m_bUnmanaged) {
        activateWindow();
    }
}

void CClockDlg::OnMouseMove(Qt::MouseButtons buttons, QPoint screenPoint) {
    // Hover and leave need no re-arming here: every enter and leave reaches this window.
    if (buttons & Qt::LeftButton) {
        if (const std::optional<QPoint> to = m_drag.Move(screenPoint, QRect(pos(), size()))) {
            MoveBoth(*to);
        }
    } else if (buttons == Qt::NoButton) {
        m_drag.Hover(screenPoint);
    }
}

void CClockDlg::OnLButtonUp() {
    m_overlayKeeper.CheckWhenSettled();
}

void CClockDlg::OnLButtonDblClk(QPoint point) {
    const QPoint face = FacePointFromClient(point, frameGeometry().size(), size());
    if (CentreBox(faceSize()).contains(face)) {
        RunSettings();
    } else {
        m_memoDlg.show();
    }
}

void CClockDlg::OpenMemos() {
    if (QApplication::activeModalWidget() != nullptr) {
        Activate();  // a box is waiting for an answer first
        return;
    }
    m_memoDlg.show();
    m_memoDlg.raise();
    m_memoDlg.activateWindow();
}

void CClockDlg::OpenSettings() {
    if (QApplication::activeModalWidget() != nullptr) {
        Activate();  // the settings, or a box, are open already
        return;
    }
    RunSettings();
}

void CClockDlg::Activate() {
    show();
    raise();
    activateWindow();
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

void CClockDlg::RunAction(const QString& name) {
    for (QAction* action : actions()) {
        if (action->objectName() == name) {
            action->trigger();
            return;
        }
    }
    Activate();
}

void CClockDlg::contextMenuEvent(QContextMenuEvent* e) {
    // The keys that ask for it are taken in keyPressEvent, whatever the platform reports.
    if (e->reason() != QContextMenuEvent::Keyboard) {
        ShowContextMenu(e->globalPos());
    }
    e->accept();
}

void CClockDlg::keyPressEvent(QKeyEvent* e) {
    const bool shiftF10 = e->key() == Qt::Key_F10 && e->modifiers() == Qt::ShiftModifier;
    if (e->key() == Qt::Key_Menu || shiftF10) {
        ShowContextMenu(mapToGlobal(rect().center()));
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

void CClockDlg::ShowContextMenu(QPoint screenPoint) {
    if (m_menu == nullptr) {
        m_menu = new QMenu(this);
        m_menu->addActions({&m_actMemos, &m_actSettings});
        m_menu->addSeparator();
        m_menu->addAction(&m_actQuit);
    }
    m_menu->popup(screenPoint);
}

void CClockDlg::RunSettings() {
    CSettingsDlg dlg(m_services, this);
    if (dlg.DoModal() != QDialog::Accepted) {
        return;
    }
    const int skin = dlg.m_nSkin;
    StoreSkin(skin);
    SelectSkin(skin);
    ComposeFace();
    m_handsDlg.Refresh();
}

void CClockDlg::StoreSkin(int nSkin) {
    // Stored on every OK, also when the skin stays the same.
    if (m_services.profile == nullptr) {
        return;
    }
    const WriteResult stored = m_services.profile->Write(
        QLatin1String(kSkinGroup), QLatin1String(kSkinKey), QString::number(nSkin));
    // Told once while storing keeps failing; the skin is shown all the same.
    if (!stored && !m_bSkinStoreFailing) {
        const QString path = QDir::toNativeSeparators(m_services.paths.configFile);
        std::fprintf(stderr, "kelvarine: could not store the skin in %s: %s\n", qPrintable(path),
                     qPrintable(stored.reason));
        m_services.question->Warn(this, QLatin1String(kAppTitle),
                                  //: %1 is the settings file, %2 the system's reason.
                                  tr("The skin could not be stored in %1:\n%2.\n\nThe clock "
                                     "shows it until it ends; the next start shows the skin "
                                     "stored before.")
                                      .arg(path, stored.reason));
    }
    m_bSkinStoreFailing = !stored;
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
    // Innermost first: each closed dialog's loop returns once control is back in it.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(w);
        if (dialog != nullptr && dialog != this && dialog->isVisible() && dialog->isModal()) {
            dialog->done(QDialog::Rejected);
        }
    }
    reject();
}

void CClockDlg::done(int result) {
    OnDestroy();
    QDialog::done(result);
}

void CClockDlg::OnDestroy() {
    m_handsDlg.hide();
    m_memoDlg.hide();
    // Changes not yet written (a save that kept failing) would otherwise be lost with the
    // process. No box: the program is ending, perhaps with the session.
    SaveMemos(m_memoStore, m_services, this, SaveMoment::Ending);
}
