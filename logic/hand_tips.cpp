#include "logic/hand_tips.h"

#include <cmath>

HandTipTable g_handTips;

HandTipTable ComputeHandTips(int faceWidth, int faceHeight) {
    constexpr double kStep = 0.10471975511965977;  // 2 pi / 60
    const int cx = faceWidth / 2;
    const int cy = faceHeight / 2;
    // The hands' reach follows the width only, so a face one pixel taller changes nothing.
    const double radius = cx * 0.8;

    HandTipTable table;
    for (int p = 0; p < 60; ++p) {
        const double theta = p * kStep;
        const int dx = static_cast<int>(radius * std::sin(theta));
        const int dy = static_cast<int>(radius * std::cos(theta));
        table.secondTips[p] = QPoint(cx + dx, cy - dy);
        table.minuteTips[p] = QPoint(cx + (dx / 5) * 4, cy - (dy / 5) * 4);
        table.hourTips[p] = QPoint(cx + dx / 2, cy - dy / 2);
    }
    return table;
}
