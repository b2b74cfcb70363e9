#include "logic/skins.h"

#include <QCoreApplication>

namespace {

const char* const kSkinNames[kSkinCount] = {
    QT_TRANSLATE_NOOP("Skins", "标准版"), QT_TRANSLATE_NOOP("Skins", "传统版"),
    QT_TRANSLATE_NOOP("Skins", "优雅版"), QT_TRANSLATE_NOOP("Skins", "奥运版"),
    QT_TRANSLATE_NOOP("Skins", "卡通版"), QT_TRANSLATE_NOOP("Skins", "简装版"),
    QT_TRANSLATE_NOOP("Skins", "梦幻版"), QT_TRANSLATE_NOOP("Skins", "光盘版")};

}  // namespace

QString SkinName(int skin) {
    return skin >= 0 && skin < kSkinCount ? QCoreApplication::translate("Skins", kSkinNames[skin])
                                          : QString();
}

int SkinIndexFromProfile(const std::optional<QString>& stored) {
    if (!stored) {
        return 0;
    }
    bool ok = false;
    const int index = stored->trimmed().toInt(&ok, 10);
    return ok && index >= 0 && index < kSkinCount ? index : 0;
}
