#pragma once

#include <cstdint>
#include <vector>

#include <QImage>
#include <QSize>

// Clock-face skins, in the order the program numbers them (skin i is stored as png/<129 + i>).
inline constexpr int kSkinCount = 8;
QSize SkinSize(int index);
// Premultiplied ARGB; transparent outside the round face.
QImage PaintSkin(int index);

// Opaque backdrop behind the skin previews.
inline constexpr QSize kBackdropSize{287, 256};
QImage PaintBackdrop();

inline constexpr int kIconSize = 256;
QImage PaintIcon();

// Alarm loop: mono unsigned 8-bit PCM; starts and ends on the 128 midline so it loops quietly.
inline constexpr int kChimeRate = 11025;
inline constexpr int kChimeLength = 22463;
std::vector<std::uint8_t> ChimeSamples();
