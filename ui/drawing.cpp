#include "ui/drawing.h"

#include <algorithm>

#include <QBitmap>
#include <QGlyphRun>
#include <QImage>
#include <QPaintDevice>

#include "platform/font_files.h"

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

void DrawingSurface::DrawCentredText(const QString& text, const QRawFont& font,
                                     const QFont& fallback, const QRectF& layout, QRgb argb) {
    m_painter.save();
    m_painter.setClipRect(layout);
    m_painter.setPen(QColor::fromRgba(argb));
    const QList<quint32> glyphs =
        font.isValid() ? font.glyphIndexesForString(text) : QList<quint32>();
    if (!glyphs.isEmpty() && !glyphs.contains(0)) {
        // One line, as a text layout sets it: the baseline an ascent below the top.
        QList<QPointF> positions = font.advancesForGlyphIndexes(glyphs);
        qreal x = 0;
        for (QPointF& p : positions) {
            const qreal advance = p.x();
            p = QPointF(x, 0);
            x += advance;
        }
        QGlyphRun run;
        run.setRawFont(font);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        m_painter.drawGlyphRun(
            QPointF(layout.left() + (layout.width() - x) / 2, layout.top() + font.ascent()), run);
    } else {
        m_painter.setFont(fallback);
        m_painter.drawText(layout, Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, text);
    }
    m_painter.restore();
}

QBitmap LogicalAlphaMask(const QImage& image) {
    if (image.devicePixelRatio() == 1.0) {
        return QBitmap::fromImage(image.createAlphaMask());
    }
    // Each logical pixel takes the most opaque of its device pixels, so that a stroke one
    // logical pixel thin (the second hand, a text's stem) keeps its shape.
    const QImage source = image.convertToFormat(QImage::Format_ARGB32);
    const QSize size = image.deviceIndependentSize().toSize();
    const qreal dpr = image.devicePixelRatio();
    QImage logical(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* out = reinterpret_cast<QRgb*>(logical.scanLine(y));
        const int y0 = static_cast<int>(y * dpr);
        const int y1 = std::min(source.height(), static_cast<int>((y + 1) * dpr + 0.999));
        for (int x = 0; x < size.width(); ++x) {
            const int x0 = static_cast<int>(x * dpr);
            const int x1 = std::min(source.width(), static_cast<int>((x + 1) * dpr + 0.999));
            int alpha = 0;
            for (int sy = y0; sy < y1; ++sy) {
                const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(sy));
                for (int sx = x0; sx < x1; ++sx) {
                    alpha = std::max(alpha, qAlpha(in[sx]));
                }
            }
            out[x] = qRgba(0, 0, 0, alpha);
        }
    }
    return QBitmap::fromImage(logical.createAlphaMask());
}

QRawFont LabelFonts::Get(const QString& family, qreal pixelSize) {
    const auto key = qMakePair(family, pixelSize);
    if (const auto found = m_fonts.constFind(key); found != m_fonts.constEnd()) {
        return *found;
    }
    if (!m_matched) {
        // All families in one match: each match reads fontconfig's configuration anew.
        m_matched = true;
        const QList<std::optional<QString>> files = MatchFontFiles(m_families);
        for (qsizetype i = 0; i < m_families.size(); ++i) {
            if (files[i]) {
                m_data.insert(m_families[i], MapFontFile(*files[i]));
            }
        }
    }
    QRawFont font;
    if (const QByteArray data = m_data.value(family); !data.isEmpty()) {
        font.loadFromData(data, pixelSize, QFont::PreferDefaultHinting);
    }
    m_fonts.insert(key, font);
    return font;
}

QFont FontFromFamily(const QString& family, qreal points) {
    QFont font(family);
    font.setPointSizeF(points > 0 ? points : 1);
    font.setStyleHint(QFont::SansSerif);
    return font;
}
