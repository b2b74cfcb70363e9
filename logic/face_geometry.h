#pragma once

#include <optional>
#include <vector>

#include <QPoint>
#include <QRect>
#include <QSize>

// The face on the desktop: where mouse events land on it, and where the overlay belongs.

// A point in client coordinates as a face point. The face covers the whole outer rectangle,
// frame included; the frame is taken to be equally thick on the left, right and bottom, the
// rest of the height going to the top.
QPoint FacePointFromClient(QPoint client, QSize outer, QSize clientSize);

// The 12 x 12 box that opens the settings: from 4 pixels left of and above the face's centre
// (half the size, truncated) to 7 pixels right of and below it.
QRect CentreBox(QSize face);

// Where the clock first appears: its right edge on the screen's right edge, 50 pixels down.
QRect InitialClockRect(const QRect& screen, QSize face);

// Where the clock goes after the screens changed: nullopt while no part of it is off every
// screen (a clock the user put across the seam of two monitors stays there), else onto the
// screen holding most of it, moved as little as it takes; when no screen holds any of it, to
// `start` (the start position on the primary screen). A clock larger than its screen goes to
// the screen's top-left corner. Empty screens (a display without monitors) count as none; with
// no screen at all the clock stays. nullopt also when the result is where the clock is.
std::optional<QRect> ClockRectAfterScreenChange(const QRect& clock,
                                                const std::vector<QRect>& screens,
                                                const QRect& start);
