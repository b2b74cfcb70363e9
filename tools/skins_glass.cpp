// The faces of glass and light: skins 6 and 7.

#include <cmath>

#include <QConicalGradient>
#include <QLinearGradient>
#include <QRadialGradient>

#include "paint_kit.h"
#include "skin_parts.h"

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
