#pragma once

#include <QRect>
#include <QSize>
#include <Qt>

// Where a label's rectangle goes when it shrinks or grows to `needed` (its text plus its frame):
// a left-aligned label keeps its left edge, a right-aligned one its right edge, a centred one
// moves both edges by half the difference (rounded toward zero). Vertically it keeps its top, or
// with Qt::AlignVCenter moves top and bottom by half the difference.
QRect FitWindowToText(const QRect& window, QSize needed, Qt::Alignment alignment);
