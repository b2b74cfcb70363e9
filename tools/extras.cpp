#include <algorithm>
#include <cmath>
#include <numbers>

#include <QLinearGradient>
#include <QRadialGradient>

#include "assets.h"
#include "paint_kit.h"

namespace {

constexpr double kPi = std::numbers::pi;

double SmoothStep(double lo, double hi, double x) {
    const double t = std::clamp((x - lo) / (hi - lo), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

QColor LightWood(double x, double y) {
    // Growth rings run along x; low-frequency warping bends them like a flat-sawn board.
    const double warp = 16 * Fbm(x * 0.004, y * 0.005, 31, 3) + 4 * std::sin(x * 0.017);
    const double rings = (y + warp) * 0.075;
    const double ring = rings - std::floor(rings);
    const double late = SmoothStep(0.6, 0.88, ring) * (1 - SmoothStep(0.9, 1.0, ring));
    const double fibre = Noise(x * 0.02, y * 0.9, 33);
    const double patch = Fbm(x * 0.006, y * 0.02, 34, 3);
    const double t = 0.36 * late + 0.22 * (fibre - 0.5) + 0.22 * (patch - 0.5) + 0.12;
    return Mix(QColor(240, 220, 184), QColor(206, 170, 122), t);
}

void PaintFlower(QPainter& p, QPointF at, double size, double turn) {
    const QPen edge(QColor(140, 92, 48, 90), 0.7);
    for (int i = 0; i < 5; ++i) {
        p.save();
        p.translate(at);
        p.rotate(turn + i * 72);
        QPainterPath petal;
        petal.moveTo(0, 0);
        petal.cubicTo(-size * 0.55, -size * 0.35, -size * 0.5, -size, 0, -size);
        petal.cubicTo(size * 0.5, -size, size * 0.55, -size * 0.35, 0, 0);
        p.setPen(edge);
        p.setBrush(QColor(255, 250, 240, 150));
        p.drawPath(petal);
        p.setPen(QPen(QColor(196, 120, 100, 60), 0.6));
        p.drawLine(QPointF(0, -size * 0.25), QPointF(0, -size * 0.7));
        p.restore();
    }
    p.setPen(QPen(QColor(150, 96, 30, 120), 0.6));
    p.setBrush(QColor(222, 168, 70, 200));
    p.drawEllipse(at, size * 0.24, size * 0.24);
}

void PaintLeaf(QPainter& p, QPointF base, double angleDeg, double len) {
    const double a = angleDeg * kPi / 180;
    const QPointF along(std::cos(a), std::sin(a));
    const QPointF across(-along.y(), along.x());
    QPainterPath leaf;
    leaf.moveTo(base);
    leaf.quadTo(base + along * (len * 0.5) + across * (len * 0.38), base + along * len);
    leaf.quadTo(base + along * (len * 0.5) - across * (len * 0.38), base);
    p.setPen(QPen(QColor(90, 100, 50, 80), 0.6));
    p.setBrush(QColor(150, 160, 96, 80));
    p.drawPath(leaf);
}

}  // namespace

QImage PaintBackdrop(double scale) {
    const int w = kBackdropSize.width();
    const int h = kBackdropSize.height();
    const auto paint = [&](QPainter& p) {
        p.drawImage(QRectF(0, 0, w, h), Field(w, h, LightWood));

        // A stencilled vine with flowers, staggered row by row.
        constexpr double kColumn = 72;
        constexpr double kRow = 64;
        for (int row = 0; row < 5; ++row) {
            const double y0 = 24 + row * kRow;
            const double shift = row % 2 ? kColumn / 2 : 0;
            QPainterPath vine;
            for (double x = -10; x <= w + 10; x += 1) {
                const double y = y0 + 9 * std::sin((x - shift) * 2 * kPi / kColumn);
                if (x == -10) {
                    vine.moveTo(x, y);
                } else {
                    vine.lineTo(x, y);
                }
            }
            p.setPen(QPen(QColor(120, 110, 60, 70), 1.1));
            p.setBrush(Qt::NoBrush);
            p.drawPath(vine);
            for (int col = -1; col < 5; ++col) {
                const double xf = shift + col * kColumn;
                // Leaves sprout at the crests of the vine, a bud in its troughs.
                const QPointF crest(xf + kColumn / 4, y0 + 9);
                const QPointF trough(xf + 3 * kColumn / 4, y0 - 9);
                PaintLeaf(p, crest, 60, 11);
                PaintLeaf(p, crest, 120, 9);
                PaintLeaf(p, trough, -60, 9);
                p.setPen(QPen(QColor(150, 96, 60, 90), 0.6));
                p.setBrush(QColor(236, 170, 150, 110));
                p.drawEllipse(trough + QPointF(0, -3), 2.2, 2.8);
                PaintFlower(p, QPointF(xf, y0), 10.5, row * 17 + col * 11);
            }
        }
    };
    return Supersampled(w, h, paint, scale);
}

QImage PaintIcon(int size) {
    constexpr double kSize = kIconSize;
    const auto paint = [&](QPainter& p) {
        const QPointF c(kSize / 2, kSize * 0.55);
        const double r = kSize * 0.36;

        QRadialGradient shadow(QPointF(c.x(), c.y() + r * 0.92), r * 1.05);
        shadow.setColorAt(0.0, QColor(0, 0, 0, 80));
        shadow.setColorAt(1.0, QColor(0, 0, 0, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(shadow);
        p.drawEllipse(QPointF(c.x(), c.y() + r * 0.95), r * 1.05, r * 0.2);

        const QColor navy(16, 40, 98);
        // Legs.
        for (int side : {-1, 1}) {
            p.setPen(QPen(navy, 12, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(c + QPointF(side * r * 0.55, r * 0.7),
                       c + QPointF(side * r * 0.78, r * 1.02));
        }
        // Bells with a striker bar between them.
        p.setPen(QPen(QColor(60, 66, 80), 7, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(c.x() - r * 0.62, c.y() - r * 1.42, r * 1.24, r * 0.8), 30 * 16, 120 * 16);
        for (int side : {-1, 1}) {
            p.save();
            p.translate(c + QPointF(side * r * 0.74, -r * 0.78));
            p.rotate(side * 38);
            QPainterPath bell;
            bell.moveTo(-r * 0.46, r * 0.1);
            bell.cubicTo(-r * 0.46, -r * 0.42, r * 0.46, -r * 0.42, r * 0.46, r * 0.1);
            bell.closeSubpath();
            QLinearGradient metal(-r * 0.46, 0, r * 0.46, 0);
            metal.setColorAt(0.0, QColor(150, 196, 255));
            metal.setColorAt(0.35, QColor(66, 130, 226));
            metal.setColorAt(1.0, QColor(24, 66, 150));
            p.setPen(QPen(navy, 3));
            p.setBrush(metal);
            p.drawPath(bell);
            p.setBrush(QColor(60, 66, 80));
            p.setPen(Qt::NoPen);
            p.drawEllipse(QPointF(0, -r * 0.33), r * 0.07, r * 0.07);
            p.restore();
        }

        // Case and face.
        QLinearGradient caseGrad(c - QPointF(r, r), c + QPointF(r, r));
        caseGrad.setColorAt(0.0, QColor(90, 150, 240));
        caseGrad.setColorAt(0.5, QColor(30, 84, 190));
        caseGrad.setColorAt(1.0, QColor(14, 40, 110));
        p.setPen(QPen(navy, 3));
        p.setBrush(caseGrad);
        p.drawEllipse(c, r, r);
        const double face = r * 0.82;
        QRadialGradient white(c - QPointF(face * 0.2, face * 0.3), face * 1.2);
        white.setColorAt(0.0, QColor(255, 255, 255));
        white.setColorAt(1.0, QColor(214, 226, 244));
        p.setPen(QPen(QColor(10, 30, 80, 140), 2));
        p.setBrush(white);
        p.drawEllipse(c, face, face);

        for (int hour = 0; hour < 12; ++hour) {
            const double a = hour * kPi / 6;
            const QPointF dir(std::sin(a), -std::cos(a));
            const double len = hour % 3 == 0 ? face * 0.2 : face * 0.12;
            p.setPen(QPen(navy, hour % 3 == 0 ? 7 : 4.5, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(c + dir * (face * 0.86 - len), c + dir * (face * 0.86));
        }

        // Hands at ten past ten, in the program's hand colours.
        auto hand = [&](double hour, double len, double width, QColor color) {
            const double a = hour * kPi / 6;
            const QPointF dir(std::sin(a), -std::cos(a));
            p.setPen(QPen(QColor(0, 0, 0, 60), width + 2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(c + QPointF(1.5, 2.5), c + dir * len + QPointF(1.5, 2.5));
            p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(c, c + dir * len);
        };
        hand(10 + 10 / 60.0, face * 0.5, 11, QColor(245, 0, 21));
        hand(2, face * 0.74, 8, QColor(245, 0, 21));
        p.setPen(QPen(QColor(120, 100, 0), 1.5));
        p.setBrush(QColor(240, 255, 21));
        p.drawEllipse(c, 9, 9);

        // Gloss over the crystal.
        QPainterPath gloss;
        gloss.addEllipse(QRectF(c.x() - face * 0.75, c.y() - face * 0.92, face * 1.5, face * 0.85));
        QPainterPath crystal;
        crystal.addEllipse(c, face - 1, face - 1);
        QLinearGradient shine(0, c.y() - face, 0, c.y() - face * 0.1);
        shine.setColorAt(0.0, QColor(255, 255, 255, 150));
        shine.setColorAt(1.0, QColor(255, 255, 255, 0));
        p.fillPath(gloss.intersected(crystal), shine);
    };
    return Supersampled(kIconSize, kIconSize, paint, static_cast<double>(size) / kIconSize);
}

std::vector<std::uint8_t> ChimeSamples() {
    // Ding-dong, twice: a major third down, struck like a soft metal bar.
    struct Strike {
        double at;    // seconds
        double freq;  // Hz
        double gain;
    };
    constexpr Strike kStrikes[] = {
        {0.00, 987.77, 1.0}, {0.30, 783.99, 0.9}, {1.00, 987.77, 0.85}, {1.30, 783.99, 0.8}};
    struct Partial {
        double ratio;
        double amp;
        double decay;  // 1/s
    };
    constexpr Partial kPartials[] = {
        {1.0, 1.0, 4.2}, {2.0, 0.22, 7.0}, {3.0, 0.07, 11.0}, {4.16, 0.05, 16.0}};
    constexpr double kAttack = 0.006;  // long enough not to click
    constexpr double kFadeOut = 0.30;  // the loop restarts on silence
    constexpr double kLevel = 0.62;

    std::vector<std::uint8_t> out(kChimeLength);
    const double total = static_cast<double>(kChimeLength - 1) / kChimeRate;
    for (int n = 0; n < kChimeLength; ++n) {
        const double t = static_cast<double>(n) / kChimeRate;
        double s = 0;
        for (const Strike& strike : kStrikes) {
            const double dt = t - strike.at;
            if (dt < 0) {
                continue;
            }
            const double attack = dt < kAttack ? 0.5 - 0.5 * std::cos(kPi * dt / kAttack) : 1.0;
            for (const Partial& partial : kPartials) {
                s += strike.gain * attack * partial.amp * std::exp(-dt * partial.decay) *
                     std::sin(2 * kPi * strike.freq * partial.ratio * dt);
            }
        }
        const double left = total - t;
        const double fade = left < kFadeOut ? 0.5 - 0.5 * std::cos(kPi * left / kFadeOut) : 1.0;
        const double v = 128 + std::lround(127 * kLevel * fade * s);
        out[static_cast<std::size_t>(n)] = static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
    }
    return out;
}
