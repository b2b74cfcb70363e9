#include "hands/hands_frame.h"

#include <algorithm>
#include <cstring>

#include "ui/drawing.h"

namespace {

QImage BlankFrame(const HandsGeometry& g, int dpi, qreal dpr) {
    QImage frame(g.client * dpr, QImage::Format_ARGB32_Premultiplied);
    frame.setDevicePixelRatio(dpr);
    // Font sizes in points follow the logical dpi; the pixel ratio scales them further.
    const int dotsPerMeter = qRound(dpi / 0.0254);
    frame.setDotsPerMeterX(dotsPerMeter);
    frame.setDotsPerMeterY(dotsPerMeter);
    frame.fill(HANDS_KEY_COLOR);
    return frame;
}

}  // namespace

QStringList HandsLabelFamilies() {
    using namespace hands_style;
    return {QString::fromUtf16(kLabelFamily), QString::fromUtf16(kDayFamily)};
}

namespace {

// Everything that changes at most once a minute.
void DrawMinuteLayer(QImage& frame, const HandsGeometry& g, LabelFonts& fonts) {
    using namespace hands_style;
    DrawingSurface surface(&frame);
    surface.SetSmoothing(true);
    const struct {
        const QString& text;
        QString family;
        qreal points;
        const QRectF& layout;
    } texts[] = {
        {g.label, QString::fromUtf16(kLabelFamily), kLabelPoints, g.labelRect},
        {g.dayText, QString::fromUtf16(kDayFamily), g.dayFontPoints, g.dayRect},
    };
    for (const auto& t : texts) {
        // Points at the frame's resolution, as a QFont on it would have them.
        const qreal pixels = std::max(t.points, qreal(1)) * frame.logicalDpiY() / 72.0;
        surface.DrawCentredText(t.text, fonts.Get(t.family, pixels),
                                FontFromFamily(t.family, t.points), t.layout, kTextColor);
    }
    surface.DrawLine(g.centre, g.hourTip, kHandColor, kHourPenWidth);
    surface.DrawLine(g.centre, g.minuteTip, kHandColor, kMinutePenWidth);
    surface.FillEllipse(g.centreDot, kCentreDotColor);
}

void DrawSecondHand(QImage& frame, const HandsGeometry& g) {
    using namespace hands_style;
    DrawingSurface surface(&frame);
    // The second hand is one crisp pixel wide; antialiasing would smear it into the key.
    surface.SetSmoothing(false);
    surface.DrawLine(g.tail, g.secondTip, kSecondHandColor, kSecondPenWidth);
    surface.FillEllipse(g.tailDot, kSecondHandColor);
}

// Logical pixels the second hand and its tail dot can touch.
QRect SecondHandBounds(const HandsGeometry& g) {
    return QRect(g.tail, g.secondTip).normalized().united(g.tailDot).adjusted(-2, -2, 2, 2);
}

QRect ToDevice(const QRect& logical, qreal dpr) {
    return QRectF(QPointF(logical.topLeft()) * dpr, QSizeF(logical.size()) * dpr).toAlignedRect();
}

}  // namespace

QImage RenderHandsFrame(const HandsGeometry& g, int dpi, qreal dpr) {
    QImage frame = BlankFrame(g, dpi, dpr);
    LabelFonts fonts(HandsLabelFamilies());
    DrawMinuteLayer(frame, g, fonts);
    DrawSecondHand(frame, g);
    KeyToTransparent(frame, HANDS_KEY_COLOR);
    return frame;
}

void KeyToTransparent(QImage& image, QRgb key) {
    Q_ASSERT(image.depth() == 32);
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (line[x] == key) {
                line[x] = 0;
            }
        }
    }
}

QRect HandsFrame::Update(const HandsGeometry& g, int dpi, qreal dpr) {
    if (!m_valid || dpi != m_dpi || dpr != m_base.devicePixelRatio() ||
        g.minuteLayer() != m_shown.minuteLayer()) {
        m_base = BlankFrame(g, dpi, dpr);
        DrawMinuteLayer(m_base, g, m_fonts);
        KeyToTransparent(m_base, HANDS_KEY_COLOR);
        m_frame = m_base.copy();
        DrawSecondHand(m_frame, g);
        m_shown = g;
        m_dpi = dpi;
        m_valid = true;
        return QRect(QPoint(0, 0), g.client);
    }
    if (g.secondLayer() == m_shown.secondLayer()) {
        return {};
    }
    const QRect changed = SecondHandBounds(m_shown)
                              .united(SecondHandBounds(g))
                              .intersected(QRect(QPoint(0, 0), g.client));
    // Put back the minute layer where the old hand was and draw the new one. The hand only
    // ever replaces pixels with its own opaque colour, so keying before it changes nothing.
    const QRect device = ToDevice(changed, dpr).intersected(m_frame.rect());
    const qsizetype bytes = static_cast<qsizetype>(device.width()) * 4;
    for (int y = device.top(); y < device.top() + device.height(); ++y) {
        std::memcpy(m_frame.scanLine(y) + device.left() * 4,
                    m_base.constScanLine(y) + device.left() * 4, static_cast<std::size_t>(bytes));
    }
    DrawSecondHand(m_frame, g);
    m_shown = g;
    return changed;
}
