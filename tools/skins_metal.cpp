// The metal and enamel faces: skins 0 to 2.

#include <cmath>
#include <span>

#include <QLinearGradient>
#include <QRadialGradient>

#include "paint_kit.h"
#include "skin_parts.h"

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
