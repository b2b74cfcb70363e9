#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Where a dialog of the clock first appears: centred on the screen's free area, and clear of the
// clock face when there is room (beside it, else below it), never off the screen. `outer` is the
// dialog's size with its window frame.
QPoint DialogPositionClearOf(const QRect& available, const QRect& face, const QSize& outer);

// Moves `dialog`, not yet shown, to that place on the screen of `face`. Moving it before the
// first show also keeps Qt from centring it over its owner, the face.
void PlaceClearOf(QWidget& dialog, const QWidget& face);
