#pragma once

#include <QImage>
#include <QRgb>

#include "hands/hands_geometry.h"

// The see-through colour of the hands window.
inline constexpr QRgb HANDS_KEY_COLOR = 0xFF0C80DD;  // RGB(12,128,221)

// One frame of the hands window: the key colour everywhere, the hands, dots and texts drawn
// over it, then every pixel still exactly the key turned fully transparent. Font sizes in
// points follow `dpi`.
QImage RenderHandsFrame(const HandsGeometry& g, int dpi);

// Turns pixels exactly equal to `key` into alpha 0; any other pixel stays as it is.
void KeyToTransparent(QImage& image, QRgb key);
