#include "logic/fit_to_text.h"

QRect FitWindowToText(const QRect& window, QSize needed, Qt::Alignment alignment) {
    int left = window.left();
    int top = window.top();
    int right = window.left() + window.width();
    int bottom = window.top() + window.height();
    if (alignment & Qt::AlignVCenter) {
        const int shrink = (bottom - top - needed.height()) / 2;
        top += shrink;
        bottom -= shrink;
    } else {
        bottom = top + needed.height();
    }
    if (alignment & Qt::AlignHCenter) {
        const int shrink = (right - left - needed.width()) / 2;
        left += shrink;
        right -= shrink;
    } else if (alignment & Qt::AlignRight) {
        left = right - needed.width();
    } else {
        right = left + needed.width();
    }
    return {left, top, right - left, bottom - top};
}
