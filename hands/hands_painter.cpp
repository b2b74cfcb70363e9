#include "hands/hands_painter.h"

#include "app/drawing.h"

namespace {

void DrawHands(QImage& frame, const HandsGeometry& g) {
    using namespace hands_style;
    DrawingSurface surface(&frame);
    surface.SetSmoothing(true);
    surface.DrawCentredText(g.label, FontFromFamily(QString::fromUtf16(kLabelFamily), kLabelPoints),
                            g.labelRect, kTextColor);
    surface.DrawCentredText(g.dayText,
                            FontFromFamily(QString::fromUtf16(kDayFamily), g.dayFontPoints),
                            g.dayRect, kTextColor);
    surface.DrawLine(g.centre, g.hourTip, kHandColor, kHourPenWidth);
    surface.DrawLine(g.centre, g.minuteTip, kHandColor, kMinutePenWidth);
    surface.FillEllipse(g.centreDot, kCentreDotColor);
    // The second hand is one crisp pixel wide; antialiasing would smear it into the key.
    surface.SetSmoothing(false);
    surface.DrawLine(g.tail, g.secondTip, kSecondHandColor, kSecondPenWidth);
    surface.FillEllipse(g.tailDot, kSecondHandColor);
}

}  // namespace

QImage RenderHandsFrame(const HandsGeometry& g, int dpi) {
    QImage frame(g.client, QImage::Format_ARGB32_Premultiplied);
    const int dotsPerMeter = qRound(dpi / 0.0254);
    frame.setDotsPerMeterX(dotsPerMeter);
    frame.setDotsPerMeterY(dotsPerMeter);
    frame.fill(HANDS_KEY_COLOR);
    DrawHands(frame, g);
    KeyToTransparent(frame, HANDS_KEY_COLOR);
    return frame;
}

void KeyToTransparent(QImage& image, QRgb key) {
    Q_ASSERT(image.depth() == 32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] == key) {
                line[x] = 0;
            }
        }
    }
}
