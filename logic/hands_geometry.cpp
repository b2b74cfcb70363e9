#include "logic/hands_geometry.h"

HandsGeometry ComputeHandsGeometry(const HandsInput& in) {
    const int w = in.client.width();
    const int h = in.client.height();
    const auto fw = static_cast<float>(w);
    const auto fh = static_cast<float>(h);

    HandsGeometry g;
    g.client = in.client;
    g.centre = QPoint(w / 2, h / 2);
    g.hourTip = in.hourTip;
    g.minuteTip = in.minuteTip;
    g.secondTip = in.secondTip;
    // Integer division truncates toward zero, so the tail is never longer than a quarter.
    g.tail = QPoint(g.centre.x() - (in.secondTip.x() - g.centre.x()) / 4,
                    g.centre.y() - (in.secondTip.y() - g.centre.y()) / 4);

    g.label = in.pm ? QStringLiteral("PM") : QStringLiteral("AM");
    // The label's top follows the width, like its size, so it sits the same on every skin.
    g.labelRect = QRectF(0, 0.3f * fw, fw, 0.25f * fh);

    g.dayText = QStringLiteral("%1").arg(in.dayOfMonth, 2, 10, QLatin1Char('0'));
    g.dayRect = QRectF(0.55f * fw, 0.5f * fh - 15.0f, 50, 30);
    g.dayFontPoints = 0.093333334f * fw;

    const int dotHalf = in.hover ? 5 : 3;
    g.centreDot = QRect(g.centre.x() - dotHalf, g.centre.y() - dotHalf, 2 * dotHalf, 2 * dotHalf);
    g.tailDot = QRect(g.tail.x() - 2, g.tail.y() - 2, 4, 4);
    return g;
}
