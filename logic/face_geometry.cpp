#include "logic/face_geometry.h"

#include <algorithm>
#include <iterator>

QPoint FacePointFromClient(QPoint client, QSize outer, QSize clientSize) {
    const int border = (outer.width() - clientSize.width()) / 2;
    return {client.x() + border, client.y() + (outer.height() - clientSize.height()) - border};
}

QRect CentreBox(QSize face) {
    const int hw = face.width() / 2;
    const int hh = face.height() / 2;
    return {hw - 4, hh - 4, 12, 12};
}

namespace {

long long Area(const QRect& r) {
    return r.isEmpty() ? 0 : static_cast<long long>(r.width()) * r.height();
}

// Whether every pixel of `rect` lies on at least one of `screens`: the rectangle is cut along
// every screen edge inside it, and each piece must lie on a screen. A handful of screens make
// a handful of pieces.
bool CoveredByScreens(const QRect& rect, const std::vector<QRect>& screens) {
    std::vector<int> xs{rect.left(), rect.right() + 1};
    std::vector<int> ys{rect.top(), rect.bottom() + 1};
    for (const QRect& s : screens) {
        const QRect part = s.intersected(rect);
        if (part.isEmpty()) {
            continue;
        }
        xs.insert(xs.end(), {part.left(), part.right() + 1});
        ys.insert(ys.end(), {part.top(), part.bottom() + 1});
    }
    for (std::vector<int>* edges : {&xs, &ys}) {
        std::sort(edges->begin(), edges->end());
        edges->erase(std::unique(edges->begin(), edges->end()), edges->end());
    }
    for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
        for (std::size_t j = 0; j + 1 < ys.size(); ++j) {
            const QPoint corner(xs[i], ys[j]);
            if (std::none_of(screens.begin(), screens.end(),
                             [&](const QRect& s) { return s.contains(corner); })) {
                return false;
            }
        }
    }
    return true;
}

// Moved as little as it takes to lie on `screen`; top-left aligned where it is too large.
QRect ClampOnto(const QRect& rect, const QRect& screen) {
    const int x = std::max(screen.left(), std::min(rect.left(), screen.right() + 1 - rect.width()));
    const int y = std::max(screen.top(), std::min(rect.top(), screen.bottom() + 1 - rect.height()));
    return QRect(QPoint(x, y), rect.size());
}

// The screen holding most of `rect`; nullptr when none holds any of it. The first wins a tie.
const QRect* ScreenHoldingMost(const QRect& rect, const std::vector<QRect>& screens) {
    const QRect* best = nullptr;
    long long bestArea = 0;
    for (const QRect& s : screens) {
        const long long area = Area(s.intersected(rect));
        if (area > bestArea) {
            best = &s;
            bestArea = area;
        }
    }
    return best;
}

}  // namespace

std::optional<QRect> ClockRectAfterScreenChange(const QRect& clock,
                                                const std::vector<QRect>& allScreens,
                                                const QRect& start) {
    std::vector<QRect> screens;
    std::copy_if(allScreens.begin(), allScreens.end(), std::back_inserter(screens),
                 [](const QRect& s) { return !s.isEmpty(); });
    if (screens.empty() || CoveredByScreens(clock, screens)) {
        return std::nullopt;
    }
    QRect target = clock;
    const QRect* home = ScreenHoldingMost(clock, screens);
    if (home == nullptr) {
        target = start;
        // The start position itself lies on the primary screen unless the clock is too large.
        home = ScreenHoldingMost(start, screens);
    }
    if (home != nullptr) {
        target = ClampOnto(target, *home);
    }
    return target == clock ? std::nullopt : std::optional<QRect>(target);
}

QRect InitialClockRect(const QRect& screen, QSize face) {
    return QRect(QPoint(screen.x() + screen.width() - face.width(), screen.y() + 50), face);
}
