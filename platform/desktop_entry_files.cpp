#include "platform/desktop_entry_files.h"

#include <QFileInfo>

namespace {

// Subfolders an ID may spell with dashes; real trees are one or two deep.
constexpr int kMaxIdFolders = 8;

QString FindIn(const QString& dir, const QString& name, int foldersLeft) {
    const QString direct = dir + u'/' + name;
    if (QFileInfo(direct).isFile()) {
        return direct;
    }
    if (foldersLeft == 0) {
        return {};
    }
    for (qsizetype dash = name.indexOf(u'-'); dash >= 0; dash = name.indexOf(u'-', dash + 1)) {
        const QString folder = name.left(dash);
        // "..-x.desktop" must not climb out of the applications folder.
        if (folder.isEmpty() || folder == u"." || folder == u"..") {
            continue;
        }
        const QString sub = dir + u'/' + folder;
        if (QFileInfo(sub).isDir()) {
            const QString found = FindIn(sub, name.mid(dash + 1), foldersLeft - 1);
            if (!found.isEmpty()) {
                return found;
            }
        }
    }
    return {};
}

}  // namespace

QString FindDesktopEntry(const QString& id, const QStringList& applicationDirs) {
    const QLatin1String suffix(".desktop");
    if (id.size() <= suffix.size() || !id.endsWith(suffix) || id.contains(u'/') ||
        id.contains(QChar(0)) || id.startsWith(u'.')) {
        return {};
    }
    for (const QString& dir : applicationDirs) {
        const QString found = FindIn(dir, id, kMaxIdFolders);
        if (!found.isEmpty()) {
            return found;
        }
    }
    return {};
}
