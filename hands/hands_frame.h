#pragma once

#include <QImage>
#include <QRect>
#include <QRgb>

#include "logic/hands_geometry.h"
#include "ui/drawing.h"

// The see-through colour of the hands window.
inline constexpr QRgb HANDS_KEY_COLOR = 0xFF0C80DD;  // RGB(12,128,221)

namespace hands_style {
inline constexpr QRgb kTextColor = 0xFF0C81DD;  // one step of green off the key, so it shows
inline constexpr QRgb kHandColor = 0xFFF50015;
inline constexpr QRgb kCentreDotColor = 0xFFF0FF15;
inline constexpr QRgb kSecondHandColor = 0xFFA0FFFF;
}  // namespace hands_style

// One frame of the hands window: the key colour everywhere, the hands, dots and texts drawn
// over it, then every pixel still exactly the key turned fully transparent. Font sizes in
// points follow `dpi`; the image has `dpr` device pixels per logical pixel, everything drawn
// at device resolution.
QImage RenderHandsFrame(const HandsGeometry& g, int dpi, qreal dpr = 1.0);

// The font families of the texts on the hands: the AM/PM label and the day of the month.
QStringList HandsLabelFamilies();

// Turns pixels exactly equal to `key` into alpha 0; any other pixel stays as it is.
void KeyToTransparent(QImage& image, QRgb key);

// The frame of the hands window kept from one tick to the next. Within a minute only the
// second hand moves, so a tick redraws just the rectangle it leaves and enters; everything
// else is drawn again only when it changes. The result is the same, pixel for pixel, as
// RenderHandsFrame.
class HandsFrame {
public:
    // Brings the frame to `g`; returns what changed, in logical pixels (empty for nothing).
    QRect Update(const HandsGeometry& g, int dpi, qreal dpr = 1.0);
    const QImage& image() const { return m_frame; }

private:
    QImage m_base;   // the frame without the second hand
    QImage m_frame;  // what the window shows
    HandsGeometry m_shown;
    LabelFonts m_fonts{HandsLabelFamilies()};
    int m_dpi = 0;
    bool m_valid = false;
};
