#include "app/drawing.h"

#include <QImage>
#include <QPaintDevice>

DrawingSurface::DrawingSurface(QPaintDevice* device) : m_painter(device) {}

void DrawingSurface::SetSmoothing(bool antialiased) {
    m_painter.setRenderHint(QPainter::Antialiasing, antialiased);
}

void DrawingSurface::DrawImage(const QImage& image, const QRect& target) {
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    m_painter.drawImage(target, image);
}

void DrawingSurface::DrawLine(QPoint from, QPoint to, QRgb argb, qreal width) {
    m_painter.setPen(QPen(QColor::fromRgba(argb), width, Qt::SolidLine, Qt::FlatCap));
    m_painter.drawLine(from, to);
}

void DrawingSurface::FillEllipse(const QRect& box, QRgb argb) {
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(QColor::fromRgba(argb));
    m_painter.drawEllipse(QRectF(box));
    m_painter.setBrush(Qt::NoBrush);
}

void DrawingSurface::DrawCentredText(const QString& text, const QFont& font, const QRectF& layout,
                                     QRgb argb) {
    m_painter.save();
    m_painter.setClipRect(layout);
    m_painter.setFont(font);
    m_painter.setPen(QColor::fromRgba(argb));
    m_painter.drawText(layout, Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, text);
    m_painter.restore();
}

QFont FontFromFamily(const QString& family, qreal points) {
    QFont font(family);
    font.setPointSizeF(points > 0 ? points : 1);
    font.setStyleHint(QFont::SansSerif);
    return font;
}
