#include "logic/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <vector>

#include "logic/save_target.h"
#include "logic/save_temp.h"
#include "logic/save_versions.h"

using namespace atomic_save;

WriteResult WriteResult::Failed(int errorNumber) {
    return {false, QString::fromLocal8Bit(std::strerror(errorNumber))};
}

namespace {

// How often a save tries again when another program keeps changing the file under it.
constexpr int kRounds = 8;

// Puts the new file at the name when there is none; false with errno EEXIST when one came.
bool PlaceNew(const Target& target, const QByteArray& temp) {
    errno = RenameNoReplace(target, temp, target.name);
    return errno == 0;
}

WriteResult RenameAfterCheck(const Target& target, const QByteArray& temp, const FileVersion& known,
                             QStringList& kept) {
    std::vector<FileIdentity> keptFiles;
    for (int round = 0; round < kRounds; ++round) {
        const Fd fd(::openat(target.dir.get(), target.name.constData(),
                             O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
        if (fd.get() < 0 && errno == ENOENT) {
            if (PlaceNew(target, temp)) {
                return {};
            }
            if (errno == EEXIST) {
                continue;
            }
            return WriteResult::Failed(errno);
        }
        if (fd.get() < 0) {
            return WriteResult::Failed(errno);  // ELOOP: a link appeared there
        }
        const UserFile now = ReadOpenUserFile(fd.get());
        if (now.kind != FileKind::Regular || !now.bytes) {
            return {false, now.problem};  // whose it is cannot be told: left alone
        }
        const bool keptAlready = std::any_of(keptFiles.begin(), keptFiles.end(), [&](auto& id) {
            return id.device == now.identity.device && id.inode == now.identity.inode;
        });
        if (keptAlready || IsKnown(known, now)) {
            return ::renameat(target.dir.get(), temp.constData(), target.dir.get(),
                              target.name.constData()) == 0
                       ? WriteResult{}
                       : WriteResult::Failed(errno);
        }
        if (WriteResult keptIt = KeepOpenVersion(target, fd.get(), now, kept); !keptIt) {
            return keptIt;
        }
        keptFiles.push_back(now.identity);
    }
    return WriteResult::Failed(EBUSY);
}

WriteResult SwapIn(const Target& target, QByteArray& temp, const FileVersion& known,
                   QStringList& kept) {
    const int dir = target.dir.get();
    for (int round = 0; round < kRounds; ++round) {
        if (::renameat2(dir, temp.constData(), dir, target.name.constData(), RENAME_EXCHANGE) ==
            0) {
            return SettleSwappedOut(target, temp, known, kept);
        }
        if (errno == ENOENT) {  // no file there yet: ours, unless one comes meanwhile
            if (PlaceNew(target, temp)) {
                temp.clear();
                return {};
            }
            if (errno == EEXIST) {
                continue;
            }
            return WriteResult::Failed(errno);
        }
        if (CannotDoThat(errno)) {
            WriteResult result = RenameAfterCheck(target, temp, known, kept);
            if (result) {
                temp.clear();
            }
            return result;
        }
        return WriteResult::Failed(errno);
    }
    return WriteResult::Failed(EBUSY);
}

using Install = std::function<WriteResult(const Target&, QByteArray& temp)>;

// Writes the bytes beside the file and has `install` put them in its place; `temp` is cleared
// by install once it no longer names the new file. With `known`, the temporary's name says which
// versions are the clock's own (see TempName).
WriteResult Replace(const QString& path, const QByteArray& bytes, const Install& install,
                    FileVersion* known = nullptr) {
    Target target;
    if (WriteResult opened = OpenTarget(path, target); !opened) {
        return opened;
    }
    const QByteArray versions =
        known != nullptr ? '-' + ShortHash(bytes) + '-' + ShortHash(known->bytes) : QByteArray();
    Fd file;
    QByteArray temp;
    bool timeTells = false;
    if (WriteResult written = WriteTemp(target, bytes, versions, file, temp, timeTells); !written) {
        return written;
    }
    const WriteResult installed = install(target, temp);
    if (!temp.isEmpty()) {
        ::unlinkat(target.dir.get(), temp.constData(), 0);
    }
    if (installed) {
        // The rename is on the disk only once its folder is; a failure here cannot be undone,
        // and the file's own bytes are already safe, so it is not reported.
        ::fsync(target.dir.get());
        struct stat info = {};
        if (known != nullptr && ::fstat(file.get(), &info) == 0) {
            *known = {true, bytes, IdentityOf(info), timeTells};
        }
    }
    return installed;
}

}  // namespace

WriteResult WriteFileAtomically(const QString& path, const QByteArray& bytes) {
    return Replace(path, bytes, [](const Target& target, QByteArray& temp) {
        const int dir = target.dir.get();
        if (::renameat(dir, temp.constData(), dir, target.name.constData()) != 0) {
            return WriteResult::Failed(errno);
        }
        temp.clear();
        return WriteResult{};
    });
}

WriteResult ReplaceKeepingOthers(const QString& path, const QByteArray& bytes, FileVersion& known,
                                 QStringList& kept) {
    const FileVersion before = known;
    return Replace(
        path, bytes,
        [&](const Target& target, QByteArray& temp) { return SwapIn(target, temp, before, kept); },
        &known);
}
