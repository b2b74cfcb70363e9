#pragma once

#include <QFont>
#include <QPainter>
#include <QRgb>

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
    // Text centred horizontally from the top of the layout rectangle and clipped to it.
    void DrawCentredText(const QString& text, const QFont& font, const QRectF& layout, QRgb argb);

private:
    QPainter m_painter;
};

// Which logical pixels of the image show anything (alpha above one half), as a shape mask in
// logical pixels whatever the image's device pixel ratio.
QBitmap LogicalAlphaMask(const QImage& image);

// A font of the named family at a size in points. Where the family is not installed the
// closest installed one draws instead, so the text still shows.
QFont FontFromFamily(const QString& family, qreal points);
