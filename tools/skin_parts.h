#pragma once

// What every skin's painter shares: the dial's measures, where the program prints the day and
// AM/PM, and the small parts several faces use. One painter per skin, spread over the
// skins_*.cpp files by kind; tools/skins.cpp picks one by the skin's index.

#include <cmath>
#include <numbers>

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <QSize>

inline constexpr double kPi = std::numbers::pi;

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

Dial MakeDial(QSize size);
QRectF DayWindow(const Dial& d);
QRectF LabelWindow(const Dial& d);

struct WindowLook {
    QColor fill;
    QColor edge;
    QColor shade;  // inner shadow along the top, so the window reads as recessed
};

void Window(QPainter& p, const QRectF& box, const WindowLook& look);
void CutToFace(QPainter& p, const Dial& d);
void Tick(QPainter& p, const Dial& d, double hour, double outer, double length, const QPen& pen);
bool IsQuarter(int hour);
void CheckClearOfDay(const Dial& d, const QPainterPath& three);

// The faces, skin 0 to 7 (tools/skins_metal.cpp, skins_emblem.cpp, skins_painted.cpp,
// skins_glass.cpp).
void PaintStandard(QPainter& p, const Dial& d);
void PaintTraditional(QPainter& p, const Dial& d);
void PaintElegant(QPainter& p, const Dial& d);
void PaintGames(QPainter& p, const Dial& d);
void PaintCartoon(QPainter& p, const Dial& d);
void PaintPlain(QPainter& p, const Dial& d);
void PaintDream(QPainter& p, const Dial& d);
void PaintDisc(QPainter& p, const Dial& d);
