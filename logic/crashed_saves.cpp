#include "logic/crashed_saves.h"

#include <dirent.h>
#include <unistd.h>

#include <vector>

#include <QList>

#include "logic/save_temp.h"
#include "logic/save_versions.h"

using namespace atomic_save;

void CleanUpAfterCrashedSaves(const QString& path, QStringList& kept) {
    Target target;
    if (!OpenTarget(path, target, /*makeFolders=*/false)) {
        return;
    }
    DIR* folder = ::fdopendir(::dup(target.dir.get()));
    if (folder == nullptr) {
        return;
    }
    const UserFile file = ReadAt(target, target.name);
    std::vector<QByteArray> names;
    while (const dirent* entry = ::readdir(folder)) {
        names.emplace_back(entry->d_name);
    }
    ::closedir(folder);
    for (const QByteArray& name : names) {
        QList<QByteArray> versions;
        if (!IsTempName(target, name, versions)) {
            continue;
        }
        const UserFile left = ReadAt(target, name);
        if (left.kind != FileKind::Regular || !left.bytes) {
            continue;
        }
        // The file itself, or a version of the clock's own: the new one the crash kept from
        // its place, or the one it had read or written before, swapped out.
        const bool clocks = file.bytes == left.bytes || versions.contains(ShortHash(*left.bytes)) ||
                            versions.contains(ShortHash(*left.bytes, QCryptographicHash::Sha256));
        if (clocks) {
            ::unlinkat(target.dir.get(), name.constData(), 0);
        } else {
            KeepAs(
                target, left.identity.mtimeNs,
                [&](const QByteArray& keptName) { return RenameNoReplace(target, name, keptName); },
                kept);
        }
    }
}
