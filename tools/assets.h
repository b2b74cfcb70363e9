#pragma once

#include <cstdint>
#include <vector>

#include <QImage>
#include <QSize>

#include "logic/skins.h"

// Clock-face skins, as many and in the order the program numbers them (logic/skins.h; skin i
// is stored as png/<SkinResourceId(i)>).
QSize SkinSize(int index);
// Premultiplied ARGB; transparent outside the round face. `scale` 2 gives the same art in
// twice the pixels, for high-density screens.
QImage PaintSkin(int index, double scale = 1);

// Opaque backdrop behind the skin previews.
inline constexpr QSize kBackdropSize{287, 256};
QImage PaintBackdrop(double scale = 1);

inline constexpr int kIconSize = 256;
// The icon at `size` pixels square (kIconSize by default).
QImage PaintIcon(int size = kIconSize);

// Alarm loop: mono unsigned 8-bit PCM; starts and ends on the 128 midline so it loops quietly.
inline constexpr int kChimeRate = 11025;
inline constexpr int kChimeLength = 22463;
std::vector<std::uint8_t> ChimeSamples();
