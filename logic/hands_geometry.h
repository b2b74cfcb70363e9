#pragma once

#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QString>

// The look of the hands, as data (their colours are the painter's).
namespace hands_style {
inline constexpr qreal kHourPenWidth = 5.0;
inline constexpr qreal kMinutePenWidth = 3.0;
inline constexpr qreal kSecondPenWidth = 1.0;
inline constexpr qreal kLabelPoints = 14.0;
inline constexpr const char16_t* kLabelFamily = u"Arial";
inline constexpr const char16_t* kDayFamily = u"黑体";
}  // namespace hands_style

// Everything one paint depends on.
struct HandsInput {
    QSize client;
    QPoint hourTip;
    QPoint minuteTip;
    QPoint secondTip;
    bool pm = false;
    int dayOfMonth = 1;
    bool hover = false;
};

// Where and how big each item of one paint is; the painter only consumes this.
// What changes at most once a minute (and with hover, skin or density): drawn once, kept.
struct HandsMinuteLayer {
    QSize client;
    QPoint centre;
    QPoint hourTip;
    QPoint minuteTip;
    QString label;
    QRectF labelRect;
    QString dayText;
    QRectF dayRect;
    float dayFontPoints = 0;
    QRect centreDot;

    bool operator==(const HandsMinuteLayer&) const = default;
};

// What moves every second.
struct HandsSecondLayer {
    QPoint secondTip;
    QPoint tail;  // the second hand's short end, across the centre
    QRect tailDot;

    bool operator==(const HandsSecondLayer&) const = default;
};

struct HandsGeometry : HandsMinuteLayer, HandsSecondLayer {
    const HandsMinuteLayer& minuteLayer() const { return *this; }
    const HandsSecondLayer& secondLayer() const { return *this; }
};

HandsGeometry ComputeHandsGeometry(const HandsInput& in);
