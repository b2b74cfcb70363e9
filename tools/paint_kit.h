#pragma once

#include <cstdint>
#include <functional>

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QString>

// Everything is painted at this multiple of the final size and averaged down, which gives
// clean edges on thin strokes and the face outline without relying on clip antialiasing.
inline constexpr int kSuper = 4;

// Paints in final-pixel coordinates on a supersampled canvas; returns the averaged-down
// premultiplied image of w x h, times `scale` for the sharper images of high-density screens
// (w * scale and h * scale must be whole). At scale 1 nothing differs from a plain w x h.
QImage Supersampled(int w, int h, const std::function<void(QPainter&)>& paint, double scale = 1);

// A w x h field computed per supersampled pixel (x, y in final-pixel units), ready to be
// drawn at (0, 0, w, h) inside Supersampled(), at that call's scale.
QImage Field(int w, int h, const std::function<QColor(double x, double y)>& colorAt);

// Text outline whose visible ink is centred on `centre`. Sizes are in pixels and may be
// fractional; the family must be installed, otherwise the run aborts (a silently substituted
// font would change the committed art).
QPainterPath CentredText(const QString& family, double pixelSize, int weight, const QString& text,
                         QPointF centre);

// Deterministic lattice noise in [0, 1]; the same inputs give the same art on every run.
double Noise(double x, double y, std::uint32_t seed);
double Fbm(double x, double y, std::uint32_t seed, int octaves);

// Small seeded generator for scattered decorations.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    double Uniform(double lo, double hi);

private:
    std::uint64_t state_;
};

QColor Mix(const QColor& a, const QColor& b, double t);
QColor WithAlpha(QColor c, double alpha);
