#include "logic/save_versions.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "logic/local_time.h"

namespace atomic_save {

WriteResult KeepAs(const Target& target, std::int64_t mtimeNs,
                   const std::function<int(const QByteArray&)>& place, QStringList& kept) {
    // Whole seconds toward the past, also before 1970.
    constexpr std::int64_t kNsPerSecond = 1'000'000'000;
    const std::int64_t seconds = mtimeNs / kNsPerSecond - (mtimeNs % kNsPerSecond < 0 ? 1 : 0);
    const QByteArray stem = target.name + '.' + FormatLocalTime(seconds, "%Y%m%d-%H%M%S");
    for (int n = 1; n < 1000; ++n) {
        const QByteArray name = n == 1 ? stem : stem + '-' + QByteArray::number(n);
        const int error = place(name);
        if (error == 0) {
            kept << DecodePath(target.folder + '/' + name);
            return {};
        }
        if (error != EEXIST) {
            return WriteResult::Failed(error);
        }
    }
    return WriteResult::Failed(EEXIST);
}

bool IsKnown(const FileVersion& known, const UserFile& file) {
    if (!known.present || !file.bytes || *file.bytes != known.bytes) {
        return false;
    }
    const bool sameFile = file.identity.device == known.identity.device &&
                          file.identity.inode == known.identity.inode;
    return !sameFile || file.identity.mtimeNs == known.identity.mtimeNs;
}

WriteResult SettleSwappedOut(const Target& target, QByteArray& temp, const FileVersion& known,
                             QStringList& kept) {
    const int dir = target.dir.get();
    struct stat info = {};
    if (::fstatat(dir, temp.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        temp.clear();  // someone has taken it away already
        return {};
    }
    if (!S_ISREG(info.st_mode)) {
        if (::renameat2(dir, temp.constData(), dir, target.name.constData(), RENAME_EXCHANGE) !=
            0) {
            temp.clear();  // no longer ours: never removed by the caller
        }
        return NotRegular(info);
    }
    // Most often it is the file the clock wrote last, untouched: dropped without reading it, so
    // that a crash seldom finds it under the temporary name.
    const bool untouched = known.present && known.timeTells && IdentityOf(info) == known.identity &&
                           info.st_size == known.bytes.size();
    if (untouched || IsKnown(known, ReadAt(target, temp))) {
        ::unlinkat(dir, temp.constData(), 0);
        temp.clear();
        return {};
    }
    const QByteArray from = temp;
    temp.clear();
    const WriteResult keptAside = KeepAs(
        target, IdentityOf(info).mtimeNs,
        [&](const QByteArray& name) { return RenameNoReplace(target, from, name); }, kept);
    if (!keptAside) {
        // It stays under the temporary name, which is kept too, never removed.
        kept << DecodePath(target.folder + '/' + from);
    }
    return {};
}

WriteResult KeepOpenVersion(const Target& target, int fd, const UserFile& version,
                            QStringList& kept) {
    return KeepAs(
        target, version.identity.mtimeNs,
        [&](const QByteArray& name) {
            int error = LinkOpenFile(fd, target, name);
            if (error == 0 || error == EEXIST) {
                return error;
            }
            // No hard links here (or no /proc): the bytes, with the same permissions.
            Fd copy(::openat(target.dir.get(), name.constData(),
                             O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, version.mode));
            if (copy.get() < 0) {
                return errno;
            }
            error = WriteAll(copy.get(), *version.bytes);
            if (error == 0 && (::fchmod(copy.get(), version.mode) != 0 ||
                               ::fsync(copy.get()) != 0 || copy.Close() != 0)) {
                error = errno;
            }
            if (error != 0) {
                ::unlinkat(target.dir.get(), name.constData(), 0);
                return error == EEXIST ? EIO : error;
            }
            return 0;
        },
        kept);
}

}  // namespace atomic_save
