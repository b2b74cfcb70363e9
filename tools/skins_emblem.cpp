// The face with our emblem: skin 3.

#include <cmath>

#include <QLinearGradient>
#include <QRadialGradient>

#include "paint_kit.h"
#include "skin_parts.h"

namespace {

// Our own emblem: a torch flame rising out of a laurel wreath tied with a ribbon.
void PaintEmblem(QPainter& p, QPointF centre, double radius) {
    const QColor stem(150, 112, 30);
    QLinearGradient leafGold(centre - QPointF(0, radius), centre + QPointF(0, radius));
    leafGold.setColorAt(0.0, QColor(248, 214, 110));
    leafGold.setColorAt(1.0, QColor(196, 146, 40));
    auto at = [&](double deg, double rr) {
        const double a = deg * kPi / 180;
        return centre + QPointF(rr * std::cos(a), rr * std::sin(a));
    };
    for (int side : {-1, 1}) {
        // Branch angles in screen degrees (90 = straight down), mirrored for the right side.
        const double from = side < 0 ? 100 : 80;
        const double to = side < 0 ? 242 : -62;
        QPainterPath branch;
        branch.moveTo(at(from, radius));
        for (int k = 1; k <= 40; ++k) {
            branch.lineTo(at(from + (to - from) * k / 40.0, radius));
        }
        p.setPen(QPen(stem, 1.3, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(branch);
        constexpr int kLeaves = 8;
        for (int k = 0; k < kLeaves; ++k) {
            const double t = (k + 0.5) / kLeaves;
            const double deg = from + (to - from) * t;
            const QPointF base = at(deg, radius);
            // Tangent toward the branch tip, then tilted outward and inward in turn.
            const double dir = deg + (to > from ? 90 : -90);
            const double tilt = (k % 2 ? 38 : -38) * (to > from ? 1 : -1);
            const double len = 11.5 - 4.0 * t;
            const double a = (dir + tilt) * kPi / 180;
            const QPointF along(std::cos(a), std::sin(a));
            const QPointF across(-along.y(), along.x());
            const QPointF tip = base + along * len;
            QPainterPath leaf;
            leaf.moveTo(base);
            leaf.quadTo(base + along * (len * 0.5) + across * (len * 0.36), tip);
            leaf.quadTo(base + along * (len * 0.5) - across * (len * 0.36), base);
            p.setPen(QPen(QColor(140, 100, 20), 0.5));
            p.setBrush(leafGold);
            p.drawPath(leaf);
            p.setPen(QPen(QColor(170, 126, 36, 200), 0.45));
            p.drawLine(base + along * (len * 0.15), base + along * (len * 0.8));
        }
    }

    // Ribbon knot where the branches meet.
    const QPointF knot = at(90, radius) + QPointF(0, 1);
    const QColor ribbon(32, 84, 176);
    p.setPen(QPen(QColor(16, 44, 100), 0.6));
    p.setBrush(ribbon);
    for (int side : {-1, 1}) {
        QPainterPath tail;
        tail.moveTo(knot);
        tail.lineTo(knot + QPointF(side * 5.5, 9));
        tail.lineTo(knot + QPointF(side * 2.5, 8));
        tail.lineTo(knot + QPointF(side * 1.0, 10.5));
        tail.closeSubpath();
        p.drawPath(tail);
        QPainterPath loop;
        loop.moveTo(knot);
        loop.cubicTo(knot + QPointF(side * 4, -6), knot + QPointF(side * 9, -2),
                     knot + QPointF(side * 7, 2.5));
        loop.closeSubpath();
        p.drawPath(loop);
    }
    p.drawEllipse(knot, 2.2, 2.0);

    // Torch: tapered bronze grip with a cup, flame above it.
    const QPointF cup = centre + QPointF(0, radius * 0.05);
    const QPointF foot = centre + QPointF(0, radius * 0.78);
    QPainterPath grip;
    grip.moveTo(cup + QPointF(-5.5, 3));
    grip.lineTo(cup + QPointF(5.5, 3));
    grip.lineTo(foot + QPointF(2.4, 0));
    grip.quadTo(foot + QPointF(0, 1.6), foot + QPointF(-2.4, 0));
    grip.closeSubpath();
    QLinearGradient bronze(cup + QPointF(-6, 0), cup + QPointF(6, 0));
    bronze.setColorAt(0.0, QColor(120, 80, 40));
    bronze.setColorAt(0.4, QColor(226, 180, 110));
    bronze.setColorAt(1.0, QColor(110, 70, 34));
    p.setPen(QPen(QColor(80, 50, 20), 0.6));
    p.setBrush(bronze);
    p.drawPath(grip);
    for (double band : {0.35, 0.62}) {
        const QPointF m = cup + (foot - cup) * band + QPointF(0, 3 * (1 - band));
        const double half = 5.5 - 3.1 * band;
        p.setPen(QPen(QColor(90, 60, 24), 0.9));
        p.drawLine(m + QPointF(-half, 0), m + QPointF(half, 0));
    }
    const QRectF rim(cup.x() - 8, cup.y() - 1, 16, 4.4);
    p.setPen(QPen(QColor(80, 50, 20), 0.6));
    p.setBrush(bronze);
    p.drawRoundedRect(rim, 1.6, 1.6);

    auto flame = [&](double scale, QColor color) {
        const QPointF b = cup + QPointF(0, -0.5);
        const double h = radius * 1.05 * scale;
        const double wgt = 8.5 * scale;
        QPainterPath f;
        f.moveTo(b + QPointF(-wgt, 0));
        f.cubicTo(b + QPointF(-wgt * 1.25, -h * 0.45), b + QPointF(-wgt * 0.1, -h * 0.6),
                  b + QPointF(wgt * 0.35, -h));
        f.cubicTo(b + QPointF(wgt * 0.5, -h * 0.62), b + QPointF(wgt * 1.5, -h * 0.42),
                  b + QPointF(wgt, 0));
        f.quadTo(b + QPointF(0, wgt * 0.35), b + QPointF(-wgt, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawPath(f);
    };
    flame(1.0, QColor(226, 58, 36));
    flame(0.74, QColor(246, 140, 30));
    flame(0.46, QColor(255, 214, 70));
}

}  // namespace

// Skin 3: white glossy face with the emblem, navy markers, no numerals.
void PaintGames(QPainter& p, const Dial& d) {
    const double r = d.r;
    QRadialGradient white(d.c + QPointF(-r * 0.15, -r * 0.25), r * 1.2);
    white.setColorAt(0.0, QColor(255, 255, 255));
    white.setColorAt(0.65, QColor(246, 248, 251));
    white.setColorAt(1.0, QColor(214, 220, 230));
    p.fillPath(d.Disc(r), white);

    const double rimIn = r - 6;
    QLinearGradient navy(d.c + QPointF(-r, -r), d.c + QPointF(r, r));
    navy.setColorAt(0.0, QColor(70, 110, 190));
    navy.setColorAt(0.5, QColor(22, 48, 112));
    navy.setColorAt(1.0, QColor(10, 24, 66));
    p.fillPath(d.Ring(rimIn, r), navy);
    QLinearGradient goldLine(d.c + QPointF(-r, -r), d.c + QPointF(r, r));
    goldLine.setColorAt(0.0, QColor(255, 232, 150));
    goldLine.setColorAt(1.0, QColor(176, 128, 36));
    p.fillPath(d.Ring(rimIn - 1.6, rimIn), goldLine);

    const double outer = rimIn - 5;
    for (int m = 0; m < 60; ++m) {
        if (m % 5 != 0) {
            Tick(p, d, m / 5.0, outer, 4, QPen(QColor(120, 130, 150), 1.0));
        }
    }
    for (int hour = 1; hour <= 12; ++hour) {
        const double len = IsQuarter(hour) ? 17 : 12;
        Tick(p, d, hour, outer, len,
             QPen(QColor(22, 48, 112), IsQuarter(hour) ? 5 : 3.6, Qt::SolidLine, Qt::FlatCap));
    }

    PaintEmblem(p, d.c + QPointF(0, r * 0.44), 28);

    // Glossy dome: bright crescent above, faint cool shade below.
    QPainterPath gloss;
    gloss.addEllipse(QRectF(d.c.x() - r * 0.82, d.c.y() - r * 0.93, r * 1.64, r * 0.9));
    gloss = gloss.intersected(d.Disc(rimIn - 2));
    QLinearGradient shine(0, d.c.y() - r, 0, d.c.y() - r * 0.05);
    shine.setColorAt(0.0, QColor(255, 255, 255, 200));
    shine.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillPath(gloss, shine);
    QPainterPath edgeShade = d.Ring(rimIn - 9, rimIn - 1.6);
    QRadialGradient shade(d.c, rimIn);
    shade.setColorAt(0.88, QColor(60, 80, 120, 0));
    shade.setColorAt(1.0, QColor(60, 80, 120, 60));
    p.fillPath(edgeShade, shade);

    Window(p, DayWindow(d), {QColor(242, 245, 250), QColor(120, 134, 160), QColor(0, 20, 60, 50)});
}
