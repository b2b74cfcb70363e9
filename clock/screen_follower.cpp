#include "clock/screen_follower.h"

#include <QGuiApplication>
#include <QScreen>

#include "logic/face_geometry.h"

namespace {

constexpr int kMovesSettle = 100;    // ms after the last move
constexpr int kScreensSettle = 150;  // ms after the last report of a change of the screens
// Some window managers move their windows after their own handling of a change of the screens,
// a good while later and without a word to Qt: one more look then.
constexpr int kLateLook = 1000;
constexpr int kLooksPerScreenChange = 2;

}  // namespace

ScreenLayout ScreensNow(QSize face) {
    ScreenLayout layout;
    for (const QScreen* screen : QGuiApplication::screens()) {
        layout.screens.push_back(screen->geometry());
    }
    const QScreen* primary = QGuiApplication::primaryScreen();
    layout.start = InitialClockRect(primary ? primary->geometry() : QRect(), face);
    return layout;
}

ScreenFollower::ScreenFollower(Sources sources) : m_sources(std::move(sources)) {
    m_settle.setSingleShot(true);
    connect(&m_settle, &QTimer::timeout, this, &ScreenFollower::Look);
}

void ScreenFollower::WatchScreens() {
    const auto watch = [this](QScreen* screen) {
        connect(screen, &QScreen::geometryChanged, this, &ScreenFollower::ScreensChanged);
    };
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this, watch](QScreen* screen) {
        watch(screen);
        ScreensChanged();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &ScreenFollower::ScreensChanged);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, &ScreenFollower::ScreensChanged);
    for (QScreen* screen : QGuiApplication::screens()) {
        watch(screen);
    }
}

void ScreenFollower::FaceMoved() {
    if (m_screenLooksLeft == 0 && !m_sources.dragging()) {
        m_settle.start(kMovesSettle);
    }
}

void ScreenFollower::ScreensChanged() {
    // One change of the monitors reaches Qt as several (a monitor goes, another becomes the
    // primary, a third appears): decide once they have settled, not on a state in between.
    m_screenLooksLeft = kLooksPerScreenChange;
    m_settle.start(kScreensSettle);
}

void ScreenFollower::FaceResized() {
    // The X server may not have the new size yet, but it knows best where the corner is.
    const QRect qt = m_sources.face();
    const std::optional<QRect> actual = m_sources.actual();
    const QPoint corner = actual ? actual->topLeft() : qt.topLeft();
    if (const std::optional<QPoint> to = PlaceOnScreens(QRect(corner, qt.size()))) {
        m_sources.move(*to);
    }
    // A busy window manager may still report the old corner, clamp the grown face on its own,
    // or take a later request of Qt's past the edge: it is kept on the screens by the same looks
    // as after a change of the screens.
    m_screenLooksLeft = kLooksPerScreenChange;
    m_settle.start(kScreensSettle);
}

std::optional<QPoint> ScreenFollower::PlaceOnScreens(const QRect& face) const {
    // Whole screens, not the space panels leave: the clock stays on top of panels anyway.
    const ScreenLayout layout = m_sources.layout();
    const std::optional<QRect> target =
        ClockRectAfterScreenChange(face, layout.screens, layout.start);
    return target ? std::optional<QPoint>(target->topLeft()) : std::nullopt;
}

void ScreenFollower::Look() {
    if (m_sources.dragging()) {
        if (m_screenLooksLeft > 0) {
            m_settle.start(kScreensSettle);  // look where the user lets it go
        }
        return;
    }
    const QRect qt = m_sources.face();
    const std::optional<QRect> actual = m_sources.actual();
    const QRect face = actual.value_or(qt);
    if (m_screenLooksLeft > 0) {
        // Staying, it still moves to where it really is: that brings Qt, and with it the
        // overlay, back to the truth.
        m_sources.move(PlaceOnScreens(face).value_or(face.topLeft()));
        m_seenOnce.reset();
        if (--m_screenLooksLeft > 0) {
            m_settle.start(kLateLook);
        }
        return;
    }
    if (!actual || actual->topLeft() == qt.topLeft()) {
        m_seenOnce.reset();
        return;
    }
    // Only a position seen twice is taken as the truth: a move may still be on its way.
    if (m_seenOnce != actual->topLeft()) {
        m_seenOnce = actual->topLeft();
        m_settle.start(kMovesSettle);
        return;
    }
    m_seenOnce.reset();
    m_sources.move(actual->topLeft());
}
