#include "assets.h"
#include "paint_kit.h"
#include "skin_parts.h"

QSize SkinSize(int index) {
    switch (index) {
        case 0:
            return {208, 209};
        case 3:
        case 7:
            return {256, 256};
        default:
            return {128, 128};
    }
}

QImage PaintSkin(int index, double scale) {
    const Dial d = MakeDial(SkinSize(index));
    const auto paint = [&](QPainter& p) {
        switch (index) {
            case 0:
                PaintStandard(p, d);
                break;
            case 1:
                PaintTraditional(p, d);
                break;
            case 2:
                PaintElegant(p, d);
                break;
            case 3:
                PaintGames(p, d);
                break;
            case 4:
                PaintCartoon(p, d);
                break;
            case 5:
                PaintPlain(p, d);
                break;
            case 6:
                PaintDream(p, d);
                break;
            default:
                PaintDisc(p, d);
                break;
        }
        CutToFace(p, d);
    };
    return Supersampled(d.w, d.h, paint, scale);
}
