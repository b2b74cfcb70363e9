#pragma once

#include <array>

#include <QPoint>

// Where the tip of each hand sits for each of the 60 dial positions (0 = twelve o'clock,
// clockwise, 6 degrees a step), in face pixels.
struct HandTipTable {
    std::array<QPoint, 60> secondTips{};
    std::array<QPoint, 60> minuteTips{};
    std::array<QPoint, 60> hourTips{};
};

// The table for the skin on screen; rewritten as a whole on every skin change.
extern HandTipTable g_handTips;

// The tips for a face of the given size. Every step truncates toward zero, which keeps the
// left half of each ring the exact mirror of the right half.
HandTipTable ComputeHandTips(int faceWidth, int faceHeight);
