#include "paint_kit.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <QFontInfo>
#include <QTransform>

namespace {

// The scale of the Supersampled() call under way, which its fields follow.
double g_outputScale = 1;

}  // namespace

QImage Supersampled(int w, int h, const std::function<void(QPainter&)>& paint, double scale) {
    const int outW = qRound(w * scale);
    const int outH = qRound(h * scale);
    QImage big(outW * kSuper, outH * kSuper, QImage::Format_ARGB32_Premultiplied);
    big.fill(Qt::transparent);
    g_outputScale = scale;
    {
        QPainter p(&big);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.scale(kSuper * scale, kSuper * scale);
        paint(p);
    }
    g_outputScale = 1;
    // Qt's smooth downscale by an integer factor is a plain box average.
    return big.scaled(outW, outH, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage Field(int w, int h, const std::function<QColor(double x, double y)>& colorAt) {
    const double perPixel = kSuper * g_outputScale;
    QImage img(qRound(w * perPixel), qRound(h * perPixel), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = colorAt((x + 0.5) / perPixel, (y + 0.5) / perPixel);
            line[x] = qPremultiply(c.rgba());
        }
    }
    return img;
}

QPainterPath CentredText(const QString& family, double pixelSize, int weight, const QString& text,
                         QPointF centre) {
    // Outlines come from a large unhinted font and are scaled down, so fractional sizes work.
    constexpr int kDesignSize = 400;
    QFont font(family);
    font.setPixelSize(kDesignSize);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::NoFontMerging);
    if (QFontInfo(font).family() != family) {
        std::fprintf(stderr, "make_assets: font \"%s\" is not installed\n", qPrintable(family));
        std::exit(1);
    }
    QPainterPath path;
    path.addText(0, 0, font, text);
    const double k = pixelSize / kDesignSize;
    path = QTransform::fromScale(k, k).map(path);
    const QPointF ink = path.boundingRect().center();
    return path.translated(centre - ink);
}

namespace {

std::uint32_t Hash(std::int32_t x, std::int32_t y, std::uint32_t seed) {
    std::uint32_t h = seed * 0x9E3779B9u ^ static_cast<std::uint32_t>(x) * 0x85EBCA6Bu ^
                      static_cast<std::uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

double Lattice(std::int32_t x, std::int32_t y, std::uint32_t seed) {
    return Hash(x, y, seed) / 4294967295.0;
}

double Smooth(double t) {
    return t * t * (3 - 2 * t);
}

}  // namespace

double Noise(double x, double y, std::uint32_t seed) {
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const auto ix = static_cast<std::int32_t>(fx);
    const auto iy = static_cast<std::int32_t>(fy);
    const double tx = Smooth(x - fx);
    const double ty = Smooth(y - fy);
    const double top = Lattice(ix, iy, seed) * (1 - tx) + Lattice(ix + 1, iy, seed) * tx;
    const double bottom = Lattice(ix, iy + 1, seed) * (1 - tx) + Lattice(ix + 1, iy + 1, seed) * tx;
    return top * (1 - ty) + bottom * ty;
}

double Fbm(double x, double y, std::uint32_t seed, int octaves) {
    double sum = 0;
    double weight = 0;
    double amplitude = 1;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * Noise(x, y, seed + static_cast<std::uint32_t>(i) * 101u);
        weight += amplitude;
        amplitude *= 0.5;
        x *= 2.03;
        y *= 2.03;
    }
    return sum / weight;
}

double Rng::Uniform(double lo, double hi) {
    // splitmix64: the same sequence with every standard library, unlike std distributions.
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return lo + (hi - lo) * (static_cast<double>(z >> 11) / 9007199254740992.0);
}

QColor Mix(const QColor& a, const QColor& b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t),
                            static_cast<float>(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

QColor WithAlpha(QColor c, double alpha) {
    c.setAlphaF(static_cast<float>(alpha));
    return c;
}
