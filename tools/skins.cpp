#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <span>

#include <QConicalGradient>
#include <QLinearGradient>
#include <QRadialGradient>

#include "assets.h"
#include "paint_kit.h"

namespace {

constexpr double kPi = std::numbers::pi;

struct Dial {
    int w = 0;
    int h = 0;
    QPointF c;     // geometric centre of the face
    double r = 0;  // face radius; half a pixel inside the image so the edge can antialias

    // Point on the dial; `hour` runs clockwise from 12 and may be fractional.
    QPointF At(double hour, double radius) const {
        const double a = hour * kPi / 6;
        return c + QPointF(radius * std::sin(a), -radius * std::cos(a));
    }
    QPainterPath Disc(double radius) const {
        QPainterPath path;
        path.addEllipse(c, radius, radius);
        return path;
    }
    QPainterPath Ring(double inner, double outer) const {
        return Disc(outer).subtracted(Disc(inner));
    }
};

Dial MakeDial(QSize size) {
    Dial d;
    d.w = size.width();
    d.h = size.height();
    d.c = QPointF(d.w / 2.0, d.h / 2.0);
    d.r = std::min(d.w, d.h) / 2.0 - 0.5;
    return d;
}

// Where the program prints the day of month: two digits of 0.124 w pixels, centred across
// the box x = 0.55 w .. 0.55 w + 50 and hanging from its top edge y = h / 2 - 15. Measured
// digit ink runs from about 0.2 to 0.9 text heights below that edge.
QRectF DayWindow(const Dial& d) {
    const double text = 0.124 * d.w;
    QRectF box(0, 0, 1.45 * text, 1.1 * text);
    box.moveCenter(QPointF(0.55 * d.w + 25, d.h / 2.0 - 15 + 0.55 * text));
    return box;
}

// Where the program prints AM/PM: 14 pt at 96 dpi hanging from y = 0.3 w, centred across the
// face; the capitals' ink spans about 4.5 to 16.5 px below that line and 27 px across.
QRectF LabelWindow(const Dial& d) {
    QRectF box(0, 0, 36, 19);
    box.moveCenter(QPointF(d.w / 2.0, 0.3 * d.w + 10.5));
    return box;
}

struct WindowLook {
    QColor fill;
    QColor edge;
    QColor shade;  // inner shadow along the top, so the window reads as recessed
};

void Window(QPainter& p, const QRectF& box, const WindowLook& look) {
    const double round = std::min(4.0, box.height() * 0.22);
    p.setPen(QPen(look.edge, 0.9));
    p.setBrush(look.fill);
    p.drawRoundedRect(box, round, round);
    QLinearGradient shade(box.topLeft(), QPointF(box.left(), box.top() + box.height() * 0.4));
    shade.setColorAt(0, look.shade);
    shade.setColorAt(1, WithAlpha(look.shade, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    const QRectF inner = box.adjusted(0.45, 0.45, -0.45, -0.45);
    p.drawRoundedRect(inner, round - 0.45, round - 0.45);
}

void CutToFace(QPainter& p, const Dial& d) {
    // Painting only touches what the path covers, so erase the outside rather than keep the inside.
    QPainterPath outside;
    outside.addRect(QRectF(-1, -1, d.w + 2, d.h + 2));
    p.setCompositionMode(QPainter::CompositionMode_DestinationOut);
    p.fillPath(outside.subtracted(d.Disc(d.r)), Qt::black);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void Tick(QPainter& p, const Dial& d, double hour, double outer, double length, const QPen& pen) {
    p.setPen(pen);
    p.drawLine(d.At(hour, outer - length), d.At(hour, outer));
}

bool IsQuarter(int hour) {
    return hour % 3 == 0;
}

// Numerals on the 128-pixel faces must leave room for the day window on the right.
void CheckClearOfDay(const Dial& d, const QPainterPath& three) {
    const double limit = d.w == 128 ? 106.0 : DayWindow(d).right() + 4;
    if (three.boundingRect().left() <= limit) {
        std::fprintf(stderr, "make_assets: the 3 of a %dx%d face reaches the day window\n", d.w,
                     d.h);
        std::exit(1);
    }
}

// Skin 0: brushed silver with a polished bezel and the four quarter numerals.
void PaintStandard(QPainter& p, const Dial& d) {
    const double r = d.r;
    const auto brushed = [&](double x, double y) {
        const double dx = x - d.c.x();
        const double dy = y - d.c.y();
        const double rr = std::hypot(dx, dy);
        const double a = std::atan2(dy, dx);
        // Circular brushing catches the light along one diagonal.
        const double sheen = 0.5 + 0.5 * std::cos(2 * (a + kPi / 4));
        const double streak = 0.6 * Noise(rr * 2.3, 0.5 + 0.35 * std::sin(3 * a), 11) +
                              0.4 * Noise(rr * 7.7, 4.0 + 0.5 * std::cos(2 * a), 12);
        double v = 0.79 + 0.11 * sheen + 0.06 * (streak - 0.5);
        v -= 0.05 * std::pow(rr / r, 6);
        return QColor::fromRgbF(static_cast<float>(v * 0.975), static_cast<float>(v * 0.985),
                                static_cast<float>(v));
    };
    p.drawImage(QRectF(0, 0, d.w, d.h), Field(d.w, d.h, brushed));

    const double rimIn = r - 7.5;
    QLinearGradient bezel(d.c + QPointF(-r, -r), d.c + QPointF(r, r));
    bezel.setColorAt(0.0, QColor(252, 252, 252));
    bezel.setColorAt(0.42, QColor(198, 202, 208));
    bezel.setColorAt(0.58, QColor(160, 165, 172));
    bezel.setColorAt(1.0, QColor(96, 101, 108));
    p.fillPath(d.Ring(rimIn, r), bezel);
    QLinearGradient bevel(d.c + QPointF(-r, -r), d.c + QPointF(r, r));
    bevel.setColorAt(0.0, QColor(110, 114, 120));
    bevel.setColorAt(1.0, QColor(245, 246, 248));
    p.fillPath(d.Ring(rimIn - 1.8, rimIn), bevel);
    p.setPen(QPen(QColor(70, 74, 80, 170), 0.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(d.c, rimIn - 1.8, rimIn - 1.8);

    const double tickOuter = rimIn - 4.5;
    const QColor ink(38, 42, 48);
    for (int m = 0; m < 60; ++m) {
        if (m % 5 != 0) {
            Tick(p, d, m / 5.0, tickOuter, 3.5, QPen(WithAlpha(ink, 0.75), 0.8));
        }
    }
    for (int hour = 1; hour <= 12; ++hour) {
        if (!IsQuarter(hour)) {
            Tick(p, d, hour, tickOuter, 9, QPen(ink, 2.6, Qt::SolidLine, Qt::FlatCap));
        }
    }
    const double numeralRadius = tickOuter - 17;
    for (int hour : {12, 3, 6, 9}) {
        const QPainterPath numeral = CentredText("Liberation Sans", 33, QFont::Bold,
                                                 QString::number(hour), d.At(hour, numeralRadius));
        if (hour == 3) {
            CheckClearOfDay(d, numeral);
        }
        // A light lower edge makes the numerals look stamped into the metal.
        p.fillPath(numeral.translated(0.5, 0.7), QColor(255, 255, 255, 170));
        p.fillPath(numeral, ink);
    }
    Window(p, DayWindow(d), {QColor(252, 252, 250), QColor(120, 124, 130), QColor(0, 0, 0, 55)});
}

// Skin 1: ocean-blue face with rolling wave lines under a gold chapter ring.
void PaintTraditional(QPainter& p, const Dial& d) {
    const double r = d.r;
    QRadialGradient sea(d.c - QPointF(0, r * 0.25), r * 1.25);
    sea.setColorAt(0.0, QColor(46, 104, 186));
    sea.setColorAt(0.55, QColor(24, 66, 142));
    sea.setColorAt(1.0, QColor(10, 34, 92));
    p.fillPath(d.Disc(r), sea);

    // Swells: each band a lighter crest over a darker trough, rising toward the top.
    p.setBrush(Qt::NoBrush);
    for (int i = -2; i < 34; ++i) {
        const double base = i * 4.2;
        QPainterPath crest;
        for (double x = -4; x <= d.w + 4; x += 0.5) {
            const double y =
                base + 1.7 * std::sin(x * 0.16 + i * 1.3) + 0.9 * std::sin(x * 0.061 - i * 0.7);
            if (x == -4) {
                crest.moveTo(x, y);
            } else {
                crest.lineTo(x, y);
            }
        }
        p.setPen(QPen(QColor(150, 200, 255, 46), 0.9));
        p.drawPath(crest);
        p.setPen(QPen(QColor(4, 20, 60, 40), 1.1));
        p.drawPath(crest.translated(0, 1.3));
    }

    const double rimIn = r - 4.5;
    QLinearGradient gold(d.c + QPointF(-r, -r), d.c + QPointF(r, r));
    gold.setColorAt(0.0, QColor(255, 236, 160));
    gold.setColorAt(0.45, QColor(222, 178, 72));
    gold.setColorAt(0.7, QColor(168, 120, 34));
    gold.setColorAt(1.0, QColor(120, 82, 20));
    p.fillPath(d.Ring(rimIn, r), gold);
    p.setPen(QPen(QColor(20, 14, 4, 150), 0.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(d.c, rimIn, rimIn);

    // Fine minute track just inside the rim.
    for (int m = 0; m < 60; ++m) {
        const bool five = m % 5 == 0;
        Tick(p, d, m / 5.0, rimIn - 1, 1.6,
             QPen(QColor(236, 200, 110, five ? 255 : 190), five ? 1.0 : 0.5));
    }

    QLinearGradient numeralGold(0, 0, 0, d.h);
    numeralGold.setColorAt(0.0, QColor(255, 230, 140));
    numeralGold.setColorAt(1.0, QColor(232, 176, 64));
    for (int hour = 1; hour <= 12; ++hour) {
        const double radius = hour >= 10 ? r - 16 : r - 15;
        const QPainterPath numeral = CentredText("Liberation Serif", 15, QFont::Bold,
                                                 QString::number(hour), d.At(hour, radius));
        if (hour == 3) {
            CheckClearOfDay(d, numeral);
        }
        p.fillPath(numeral.translated(0.5, 0.6), QColor(0, 10, 40, 170));
        p.setPen(QPen(QColor(90, 60, 10, 200), 0.35));
        p.setBrush(numeralGold);
        p.drawPath(numeral);
    }
    const WindowLook cream{QColor(255, 249, 232), QColor(176, 134, 48), QColor(90, 60, 0, 60)};
    Window(p, LabelWindow(d), cream);
    Window(p, DayWindow(d), cream);
}

// Skin 2: glossy deep-blue dial, silver baton markers, no numerals.
void PaintElegant(QPainter& p, const Dial& d) {
    const double r = d.r;
    QRadialGradient deep(d.c + QPointF(-r * 0.2, -r * 0.3), r * 1.3);
    deep.setColorAt(0.0, QColor(60, 128, 226));
    deep.setColorAt(0.5, QColor(22, 62, 160));
    deep.setColorAt(1.0, QColor(6, 22, 78));
    p.fillPath(d.Disc(r), deep);

    // Sunburst lines give the lacquer some depth without competing with the hands.
    for (int i = 0; i < 120; ++i) {
        const QColor c = i % 2 ? QColor(255, 255, 255, 10) : QColor(0, 0, 40, 14);
        Tick(p, d, i / 10.0, r - 5, r - 12, QPen(c, 0.6));
    }

    const double rimIn = r - 4;
    QLinearGradient silver(d.c + QPointF(-r, -r), d.c + QPointF(r, r));
    silver.setColorAt(0.0, QColor(250, 252, 255));
    silver.setColorAt(0.5, QColor(170, 178, 192));
    silver.setColorAt(1.0, QColor(92, 100, 116));
    p.fillPath(d.Ring(rimIn, r), silver);
    p.setPen(QPen(QColor(0, 0, 30, 160), 0.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(d.c, rimIn, rimIn);

    for (int m = 0; m < 60; ++m) {
        if (m % 5 != 0) {
            Tick(p, d, m / 5.0, rimIn - 2, 2.5, QPen(QColor(210, 222, 245, 200), 0.6));
        }
    }
    for (int hour = 1; hour <= 12; ++hour) {
        const double len = IsQuarter(hour) ? 12 : 9;
        const QPen shadow(QColor(0, 0, 30, 120), 2.8, Qt::SolidLine, Qt::FlatCap);
        const QPen baton(QColor(238, 242, 250), 2.2, Qt::SolidLine, Qt::FlatCap);
        const QPen glint(QColor(255, 255, 255), 0.7, Qt::SolidLine, Qt::FlatCap);
        const double outer = rimIn - 2;
        const double offsets12[] = {-1.9, 1.9};
        const double offsetsOne[] = {0};
        const auto& offsets =
            hour == 12 ? std::span<const double>(offsets12) : std::span<const double>(offsetsOne);
        for (double off : offsets) {
            const QPointF side = QPointF(std::cos(hour * kPi / 6), std::sin(hour * kPi / 6)) * off;
            const QPointF a = d.At(hour, outer - len) + side;
            const QPointF b = d.At(hour, outer) + side;
            p.setPen(shadow);
            p.drawLine(a + QPointF(0.4, 0.6), b + QPointF(0.4, 0.6));
            p.setPen(baton);
            p.drawLine(a, b);
            p.setPen(glint);
            p.drawLine(a, b);
        }
    }

    // Gloss: a soft highlight over the upper half, brightest at the rim.
    QPainterPath gloss;
    gloss.addEllipse(QRectF(d.c.x() - r * 0.86, d.c.y() - r * 0.94, r * 1.72, r * 1.02));
    gloss = gloss.intersected(d.Disc(rimIn - 0.5));
    QLinearGradient shine(0, d.c.y() - r, 0, d.c.y() + r * 0.05);
    shine.setColorAt(0.0, QColor(255, 255, 255, 120));
    shine.setColorAt(0.45, QColor(255, 255, 255, 36));
    shine.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillPath(gloss, shine);
    QPainterPath lower = d.Disc(rimIn - 1).subtracted(d.Disc(rimIn - 1).translated(0, -3.5));
    QLinearGradient bounce(0, d.c.y() + r * 0.5, 0, d.c.y() + r);
    bounce.setColorAt(0.0, QColor(140, 190, 255, 0));
    bounce.setColorAt(1.0, QColor(140, 190, 255, 110));
    p.fillPath(lower, bounce);

    const WindowLook pale{QColor(248, 250, 255), QColor(150, 160, 180), QColor(0, 20, 80, 60)};
    Window(p, LabelWindow(d), pale);
    Window(p, DayWindow(d), pale);
}

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

// A friendly round sprout with a leaf on its head; (0, 0) is the middle of its body.
void PaintBuddy(QPainter& p, QPointF at) {
    p.save();
    p.translate(at);
    const QColor line(59, 38, 24);
    const QPen outline(line, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);

    // Leaf sprout.
    p.setPen(QPen(QColor(46, 120, 50), 1.1, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, -11.5), QPointF(0.5, -15));
    for (int side : {-1, 1}) {
        QPainterPath leaf;
        const QPointF base(0.5, -15);
        const QPointF tip = base + QPointF(side * 6.5, -3.5);
        leaf.moveTo(base);
        leaf.quadTo(base + QPointF(side * 2.5, -4.5), tip);
        leaf.quadTo(base + QPointF(side * 4.5, 0.8), base);
        p.setPen(QPen(QColor(36, 96, 40), 0.7));
        p.setBrush(QColor(104, 196, 84));
        p.drawPath(leaf);
    }

    // Feet and arms sit behind the body.
    p.setPen(outline);
    p.setBrush(QColor(232, 120, 36));
    p.drawEllipse(QPointF(-5.5, 11.2), 3.8, 2.2);
    p.drawEllipse(QPointF(5.5, 11.2), 3.8, 2.2);
    p.setPen(QPen(line, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(-10, -1), QPointF(-15.5, -7));
    p.drawLine(QPointF(10, 1), QPointF(15, 5));
    p.setPen(QPen(QColor(255, 160, 60), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(-10, -1), QPointF(-15.5, -7));
    p.drawLine(QPointF(10, 1), QPointF(15, 5));

    QRadialGradient body(QPointF(-3, -5), 15);
    body.setColorAt(0.0, QColor(255, 196, 100));
    body.setColorAt(1.0, QColor(250, 136, 30));
    p.setPen(outline);
    p.setBrush(body);
    p.drawEllipse(QPointF(0, 0), 12, 11.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 226, 176));
    p.drawEllipse(QPointF(0, 4.5), 6.5, 4.8);

    // Eyes looking up toward the hands.
    for (int side : {-1, 1}) {
        const QPointF eye(side * 4.3, -3.5);
        p.setPen(QPen(line, 0.6));
        p.setBrush(Qt::white);
        p.drawEllipse(eye, 2.7, 3.2);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 24, 30));
        p.drawEllipse(eye + QPointF(0.4, -0.9), 1.55, 1.7);
        p.setBrush(Qt::white);
        p.drawEllipse(eye + QPointF(0.9, -1.6), 0.55, 0.55);
        p.setBrush(QColor(255, 110, 130, 150));
        p.drawEllipse(QPointF(side * 8.0, 1.8), 2.0, 1.3);
    }
    QPainterPath smile;
    smile.moveTo(-3.2, 1.6);
    smile.quadTo(0, 5.2, 3.2, 1.6);
    p.setPen(QPen(line, 0.9, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(smile);
    p.restore();
}

// Skin 4: thick dark rim, twelve coloured dots for the hours and the buddy below the centre.
void PaintCartoon(QPainter& p, const Dial& d) {
    const double r = d.r;
    QRadialGradient cream(d.c + QPointF(0, -r * 0.2), r * 1.1);
    cream.setColorAt(0.0, QColor(255, 251, 232));
    cream.setColorAt(1.0, QColor(255, 232, 168));
    p.fillPath(d.Disc(r), cream);

    const double rimIn = r - 6.5;
    p.fillPath(d.Ring(rimIn, r), QColor(40, 42, 62));
    p.setPen(QPen(QColor(92, 98, 140), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(d.c, r - 1.2, r - 1.2);
    // Cartoon shine on the rim.
    p.setPen(QPen(QColor(255, 255, 255, 150), 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(d.c.x() - r + 3.2, d.c.y() - r + 3.2, 2 * r - 6.4, 2 * r - 6.4), 110 * 16,
              50 * 16);
    p.setPen(QPen(QColor(40, 42, 62, 110), 1.0));
    p.drawEllipse(d.c, rimIn - 0.6, rimIn - 0.6);

    for (int hour = 1; hour <= 12; ++hour) {
        const QPointF at = d.At(hour, rimIn - 7.5);
        const double size = IsQuarter(hour) ? 4.3 : 3.5;
        const QColor hue =
            QColor::fromHsvF(static_cast<float>(((hour - 1) % 12) / 12.0), 0.78f, 0.97f);
        p.setPen(QPen(QColor(40, 42, 62), 0.9));
        p.setBrush(hue);
        p.drawEllipse(at, size, size);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 190));
        p.drawEllipse(at + QPointF(-size * 0.35, -size * 0.38), size * 0.3, size * 0.26);
    }

    PaintBuddy(p, d.c + QPointF(0, r * 0.40));
    const WindowLook paper{QColor(255, 255, 255), QColor(40, 42, 62), QColor(0, 0, 0, 40)};
    Window(p, DayWindow(d), paper);
}

// Skin 5: white face, solid blue rim and blue numerals.
void PaintPlain(QPainter& p, const Dial& d) {
    const double r = d.r;
    QRadialGradient white(d.c, r);
    white.setColorAt(0.0, QColor(255, 255, 255));
    white.setColorAt(0.85, QColor(252, 253, 255));
    white.setColorAt(1.0, QColor(232, 238, 248));
    p.fillPath(d.Disc(r), white);
    const QColor blue(28, 84, 176);
    const double rimIn = r - 4.5;
    QLinearGradient rim(0, d.c.y() - r, 0, d.c.y() + r);
    rim.setColorAt(0.0, QColor(52, 112, 208));
    rim.setColorAt(1.0, QColor(20, 64, 146));
    p.fillPath(d.Ring(rimIn, r), rim);

    for (int m = 0; m < 60; ++m) {
        Tick(p, d, m / 5.0, rimIn - 1.2, 1.8, QPen(QColor(150, 170, 205), m % 5 ? 0.6 : 1.1));
    }
    for (int hour = 1; hour <= 12; ++hour) {
        const double radius = hour >= 10 ? r - 16.5 : r - 15.5;
        const QPainterPath numeral = CentredText("Liberation Sans", 14, QFont::Normal,
                                                 QString::number(hour), d.At(hour, radius));
        if (hour == 3) {
            CheckClearOfDay(d, numeral);
        }
        p.fillPath(numeral, blue);
    }
    Window(p, DayWindow(d), {QColor(244, 248, 254), QColor(150, 170, 205), QColor(0, 30, 90, 40)});
}

// Skin 6: translucent blue glass with floating light and an opaque pearl boss at the centre.
void PaintDream(QPainter& p, const Dial& d) {
    const double r = d.r;
    // Never below 55 % alpha, so the whole face still catches clicks and reads as a surface.
    QRadialGradient glass(d.c + QPointF(-r * 0.25, -r * 0.3), r * 1.35);
    glass.setColorAt(0.0, QColor(176, 222, 255, 150));
    glass.setColorAt(0.55, QColor(86, 146, 236, 168));
    glass.setColorAt(1.0, QColor(36, 74, 190, 205));
    p.fillPath(d.Disc(r), glass);

    Rng rng(0x6b656c76);
    for (int i = 0; i < 16; ++i) {
        const double rr = std::sqrt(rng.Uniform(0, 1)) * (r - 12);
        const double a = rng.Uniform(0, 2 * kPi);
        const QPointF at = d.c + QPointF(rr * std::cos(a), rr * std::sin(a));
        const double size = rng.Uniform(2.5, 8);
        const int alpha = static_cast<int>(rng.Uniform(26, 62));
        QRadialGradient bokeh(at, size);
        bokeh.setColorAt(0.0, QColor(255, 255, 255, alpha));
        bokeh.setColorAt(0.7, QColor(220, 240, 255, alpha / 2));
        bokeh.setColorAt(1.0, QColor(220, 240, 255, 0));
        p.fillPath(d.Disc(size).translated(at - d.c), bokeh);
    }

    // Four-point stars mark the hours.
    for (int hour = 1; hour <= 12; ++hour) {
        const QPointF at = d.At(hour, r - 10);
        const double s = IsQuarter(hour) ? 4.2 : 2.8;
        QPainterPath star;
        star.moveTo(at + QPointF(0, -s));
        star.quadTo(at, at + QPointF(s, 0));
        star.quadTo(at, at + QPointF(0, s));
        star.quadTo(at, at + QPointF(-s, 0));
        star.quadTo(at, at + QPointF(0, -s));
        p.setPen(Qt::NoPen);
        QRadialGradient halo(at, s * 1.6);
        halo.setColorAt(0.0, QColor(255, 255, 255, 90));
        halo.setColorAt(1.0, QColor(255, 255, 255, 0));
        p.setBrush(halo);
        p.drawEllipse(at, s * 1.6, s * 1.6);
        p.setBrush(QColor(255, 255, 255, 240));
        p.drawPath(star);
    }

    // Glass rim: denser edge with a specular arc.
    QLinearGradient rim(0, d.c.y() - r, 0, d.c.y() + r);
    rim.setColorAt(0.0, QColor(230, 246, 255, 235));
    rim.setColorAt(0.5, QColor(120, 170, 240, 215));
    rim.setColorAt(1.0, QColor(40, 84, 200, 235));
    p.fillPath(d.Ring(r - 3.5, r), rim);
    p.setPen(QPen(QColor(255, 255, 255, 200), 1.1, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(d.c.x() - r + 1.8, d.c.y() - r + 1.8, 2 * r - 3.6, 2 * r - 3.6), 100 * 16,
              60 * 16);
    QPainterPath gloss;
    gloss.addEllipse(QRectF(d.c.x() - r * 0.78, d.c.y() - r * 0.9, r * 1.56, r * 0.8));
    QLinearGradient shine(0, d.c.y() - r, 0, d.c.y() - r * 0.1);
    shine.setColorAt(0.0, QColor(255, 255, 255, 95));
    shine.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillPath(gloss.intersected(d.Disc(r - 3.5)), shine);

    QRadialGradient pearl(d.c + QPointF(-1.2, -1.4), 6);
    pearl.setColorAt(0.0, QColor(255, 255, 255));
    pearl.setColorAt(1.0, QColor(160, 196, 244));
    p.setPen(QPen(QColor(60, 100, 190), 0.6));
    p.setBrush(pearl);
    p.drawEllipse(d.c, 5, 5);

    const WindowLook frost{QColor(255, 255, 255, 230), QColor(255, 255, 255, 250),
                           QColor(40, 80, 180, 50)};
    Window(p, LabelWindow(d), frost);
    Window(p, DayWindow(d), frost);
}

// Skin 7: green recordable disc seen from its data side, with the clear hub and a spindle cap.
void PaintDisc(QPainter& p, const Dial& d) {
    const double r = d.r;
    // The clear hub is drawn wider than on a real disc so AM/PM and the day sit on a light,
    // calm area instead of the grooves.
    const double clamp = r * 0.3;
    const double hubEdge = r * 0.47;
    const double dataIn = r * 0.5;

    const auto dye = [&](double x, double y) {
        const double rr = std::hypot(x - d.c.x(), y - d.c.y());
        // Track density varies a little across the disc; grooves show as rings.
        const double band = Noise(rr * 0.09, 0.5, 71);
        const double groove = 0.5 + 0.5 * std::sin(rr * 2 * kPi / 1.35);
        const double fine = Noise(rr * 1.7, 2.5, 72);
        double v = 0.78 + 0.16 * band + 0.05 * groove + 0.06 * (fine - 0.5);
        if (rr > r - 5) {
            v *= 1.06;  // unrecorded lead-out is a shade lighter
        }
        return QColor::fromRgbF(static_cast<float>(0.09 * v), static_cast<float>(0.55 * v),
                                static_cast<float>(0.30 * v));
    };
    p.drawImage(QRectF(0, 0, d.w, d.h), Field(d.w, d.h, dye));

    // Diffraction sheen: two opposite rainbow fans, added on top of the dye.
    QConicalGradient sheen(d.c, 40);
    const QColor spectrum[] = {QColor(255, 60, 200), QColor(255, 230, 60), QColor(60, 255, 200),
                               QColor(70, 120, 255)};
    for (int fan = 0; fan < 2; ++fan) {
        const double base = fan * 0.5;
        sheen.setColorAt(base + 0.0, QColor(0, 0, 0, 0));
        for (int i = 0; i < 4; ++i) {
            sheen.setColorAt(base + 0.05 + i * 0.035, WithAlpha(spectrum[i], 0.55));
        }
        sheen.setColorAt(base + 0.24, QColor(0, 0, 0, 0));
        sheen.setColorAt(base + 0.49, QColor(0, 0, 0, 0));
    }
    p.setCompositionMode(QPainter::CompositionMode_Screen);
    p.fillPath(d.Ring(dataIn, r), sheen);
    QConicalGradient glare(d.c, 130);
    glare.setColorAt(0.0, QColor(255, 255, 255, 90));
    glare.setColorAt(0.06, QColor(255, 255, 255, 0));
    glare.setColorAt(0.44, QColor(255, 255, 255, 0));
    glare.setColorAt(0.5, QColor(255, 255, 255, 70));
    glare.setColorAt(0.56, QColor(255, 255, 255, 0));
    glare.setColorAt(0.94, QColor(255, 255, 255, 0));
    glare.setColorAt(1.0, QColor(255, 255, 255, 90));
    p.fillPath(d.Ring(dataIn, r), glare);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);

    // Outer edge and the mirror band around the hub.
    p.setPen(QPen(QColor(210, 240, 220, 200), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(d.c, r - 0.8, r - 0.8);
    QRadialGradient mirror(d.c, dataIn);
    mirror.setColorAt(hubEdge / dataIn, QColor(190, 214, 200));
    mirror.setColorAt(1.0, QColor(120, 160, 138));
    p.fillPath(d.Ring(hubEdge, dataIn), mirror);

    // Clear hub: pale polycarbonate with the stacking ring and the clamping area.
    QRadialGradient clear(d.c, hubEdge);
    clear.setColorAt(0.0, QColor(226, 236, 230));
    clear.setColorAt(1.0, QColor(198, 216, 206));
    p.fillPath(d.Disc(hubEdge), clear);
    p.setPen(QPen(QColor(150, 172, 160), 0.8));
    p.drawEllipse(d.c, hubEdge, hubEdge);
    p.setPen(QPen(QColor(255, 255, 255, 200), 0.9));
    p.drawEllipse(d.c, clamp + 3.2, clamp + 3.2);
    p.setPen(QPen(QColor(140, 160, 150), 0.8));
    p.drawEllipse(d.c, clamp + 2.2, clamp + 2.2);
    for (int i = 0; i < 6; ++i) {
        p.setPen(QPen(QColor(170, 190, 180, 90), 0.5));
        p.drawEllipse(d.c, clamp - 3 - i * 2.6, clamp - 3 - i * 2.6);
    }

    // Opaque chrome spindle cap where the centre hole would be.
    const double cap = r * 0.1;
    QRadialGradient chrome(d.c + QPointF(-cap * 0.35, -cap * 0.4), cap * 1.3);
    chrome.setColorAt(0.0, QColor(255, 255, 255));
    chrome.setColorAt(0.6, QColor(186, 196, 192));
    chrome.setColorAt(1.0, QColor(96, 108, 104));
    p.setPen(QPen(QColor(70, 80, 76), 0.8));
    p.setBrush(chrome);
    p.drawEllipse(d.c, cap, cap);

    // Small hour marks near the edge keep it usable as a clock.
    for (int hour = 1; hour <= 12; ++hour) {
        const double len = IsQuarter(hour) ? 9 : 6;
        Tick(p, d, hour, r - 6, len,
             QPen(QColor(240, 255, 246, 230), IsQuarter(hour) ? 3.2 : 2.4, Qt::SolidLine,
                  Qt::RoundCap));
    }
}

}  // namespace

QSize SkinSize(int index) {
    switch (index) {
        case 0:
            return {208, 209};
        case 3:
        case 7:
            return {256, 256};
        default:
            return {128, 128};
    }
}

QImage PaintSkin(int index, double scale) {
    const Dial d = MakeDial(SkinSize(index));
    const auto paint = [&](QPainter& p) {
        switch (index) {
            case 0:
                PaintStandard(p, d);
                break;
            case 1:
                PaintTraditional(p, d);
                break;
            case 2:
                PaintElegant(p, d);
                break;
            case 3:
                PaintGames(p, d);
                break;
            case 4:
                PaintCartoon(p, d);
                break;
            case 5:
                PaintPlain(p, d);
                break;
            case 6:
                PaintDream(p, d);
                break;
            default:
                PaintDisc(p, d);
                break;
        }
        CutToFace(p, d);
    };
    return Supersampled(d.w, d.h, paint, scale);
}
