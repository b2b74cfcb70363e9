#include "ui/dialog_placement.h"

#include <algorithm>

#include <QScreen>
#include <QWidget>

QPoint DialogPositionClearOf(const QRect& available, const QRect& face, const QSize& outer) {
    constexpr int kGap = 8;
    QRect r(QPoint(0, 0), outer);
    r.moveCenter(available.center());
    if (r.intersects(face.adjusted(-kGap, -kGap, kGap, kGap))) {
        if (face.left() - kGap - outer.width() >= available.left()) {
            r.moveRight(face.left() - kGap - 1);
        } else if (face.right() + kGap + outer.width() <= available.right()) {
            r.moveLeft(face.right() + kGap + 1);
        } else {
            r.moveTop(face.bottom() + kGap + 1);
        }
    }
    const int x =
        std::max(available.left(), std::min(r.left(), available.right() - outer.width() + 1));
    const int y =
        std::max(available.top(), std::min(r.top(), available.bottom() - outer.height() + 1));
    return {x, y};
}

void PlaceClearOf(QWidget& dialog, const QWidget& face) {
    // Before the first show the frame is unknown: allow for a title bar and borders.
    const QSize outer = dialog.frameGeometry().size() == dialog.size()
                            ? dialog.size() + QSize(16, 40)
                            : dialog.frameGeometry().size();
    dialog.move(
        DialogPositionClearOf(face.screen()->availableGeometry(), face.frameGeometry(), outer));
}
