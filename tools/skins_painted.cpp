// The flat painted faces: skins 4 and 5.

#include <cmath>

#include <QLinearGradient>
#include <QRadialGradient>

#include "paint_kit.h"
#include "skin_parts.h"

namespace {

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
}  // namespace

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
