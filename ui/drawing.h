#pragma once

#include <optional>

#include <QFont>
#include <QHash>
#include <QPainter>
#include <QRawFont>
#include <QRgb>
#include <QStringList>

class QBitmap;
class QImage;
class QPaintDevice;

// The handful of drawing operations the clock uses, over QPainter. Coordinates are device
// pixels; every item is independent of the others (no pen or brush carries over).
class DrawingSurface {
public:
    explicit DrawingSurface(QPaintDevice* device);

    // Antialiased (true) or aliased lines and ellipses.
    void SetSmoothing(bool antialiased);
    // Scales the image into the rectangle and blends it over what is there by its alpha.
    void DrawImage(const QImage& image, const QRect& target);
    // A line with flat ends.
    void DrawLine(QPoint from, QPoint to, QRgb argb, qreal width);
    // Fills the ellipse inscribed in the box x, y, width, height.
    void FillEllipse(const QRect& box, QRgb argb);
    // Text centred horizontally from the top of the layout rectangle and clipped to it, in
    // `font`; in `fallback` where that cannot draw it.
    void DrawCentredText(const QString& text, const QRawFont& font, const QFont& fallback,
                         const QRectF& layout, QRgb argb);

private:
    QPainter m_painter;
};

// Which logical pixels of the image show anything (alpha above one half), as a shape mask in
// logical pixels whatever the image's device pixel ratio.
QBitmap LogicalAlphaMask(const QImage& image);

// A font of the named family at a size in points. Where the family is not installed the
// closest installed one draws instead, so the text still shows.
QFont FontFromFamily(const QString& family, qreal points);

// The fonts of the few texts a window draws over and over, each loaded once, straight from the
// file fontconfig matches for its family (see MatchFontFiles).
class LabelFonts {
public:
    // The families it will be asked for, matched together at the first Get.
    explicit LabelFonts(QStringList families) : m_families(std::move(families)) {}
    // Invalid when no font file can draw `family`.
    QRawFont Get(const QString& family, qreal pixelSize);

private:
    QStringList m_families;
    bool m_matched = false;
    QHash<QString, QByteArray> m_data;  // each family's font file, mapped
    QHash<QPair<QString, qreal>, QRawFont> m_fonts;
};
