#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QTimer>

// The screens as the follower sees them: every monitor's rectangle, and where the clock starts
// on the primary one.
struct ScreenLayout {
    std::vector<QRect> screens;
    QRect start;
};

// The application's screens now, and where a face of that size starts on the primary one.
ScreenLayout ScreensNow(QSize face);

// Keeps the face where the desktop really has it, and reachable. After a move (some window
// managers refuse or clamp one without a word) it looks where the face really is, once the
// moves have settled; after the monitors change (a monitor gone, the resolution lowered) it
// also moves a face that is no longer wholly on them onto the screen holding most of it, or
// back to its start; a face that grew (a larger skin) is kept on them by the same rule, at once
// and at those looks.
// One settle timer and one look at the X server serve both, and never in the middle of a drag.
class ScreenFollower : public QObject {
public:
    struct Sources {
        std::function<QRect()> face;                   // where Qt has the face
        std::function<std::optional<QRect>()> actual;  // where the X server has it, if known
        std::function<ScreenLayout()> layout;          // the screens now
        std::function<bool()> dragging;                // the user is holding the button
        std::function<void(QPoint)> move;              // puts the face's top-left corner there
    };
    explicit ScreenFollower(Sources sources);

    // Follows the application's screens from now on: added, removed, resized, a new primary.
    void WatchScreens();
    // The face moved, or was asked to.
    void FaceMoved();
    // The screens changed.
    void ScreensChanged();
    // The face took a new size, its top-left corner kept.
    void FaceResized();

private:
    void Look();
    // Where `face` goes to be wholly on the screens; nullopt when it is.
    std::optional<QPoint> PlaceOnScreens(const QRect& face) const;

    Sources m_sources;
    QTimer m_settle;
    int m_screenLooksLeft = 0;         // looks still owed to a change of the screens or size
    std::optional<QPoint> m_seenOnce;  // a position the X server reported once
};
