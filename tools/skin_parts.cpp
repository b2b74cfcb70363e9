#include "skin_parts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <QLinearGradient>

#include "paint_kit.h"

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
