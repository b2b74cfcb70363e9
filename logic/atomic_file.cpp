#include "logic/atomic_file.h"
#include "logic/local_time.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include <QCryptographicHash>
#include <QList>
#include <QRandomGenerator>

WriteResult WriteResult::Failed(int errorNumber) {
    return {false, QString::fromLocal8Bit(std::strerror(errorNumber))};
}

namespace {

// Temporary names: "." + the file's name + this + six letters or digits.
constexpr char kTempTag[] = ".kelvarine-";
constexpr int kRandomLetters = 6;
constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
// How often a save tries again when another program keeps changing the file under it.
constexpr int kRounds = 8;

class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    Fd& operator=(Fd&& other) noexcept {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    int get() const { return m_fd; }
    // Closes it; close can report a deferred write error (NFS, quota).
    int Close() {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result;
    }

private:
    int m_fd;
};

// The file a save replaces: its folder (open) and its name there.
struct Target {
    QByteArray folder;
    QByteArray name;
    Fd dir;
    mode_t mode = 0;  // for the new file
};

QByteArray FolderPart(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash > 0 ? path.left(slash) : slash == 0 ? QByteArray("/") : QByteArray(".");
}

QByteArray NamePart(const QByteArray& path) {
    return path.mid(path.lastIndexOf('/') + 1);
}

// The path with its links followed as far as they lead (a dangling one gives the file it would
// make); a loop stops as a link, which is then refused.
QByteArray ResolveLinks(QByteArray path) {
    for (int depth = 0; depth < 40; ++depth) {
        char target[PATH_MAX];
        const ssize_t n = ::readlink(path.constData(), target, sizeof target);
        if (n <= 0 || n == static_cast<ssize_t>(sizeof target)) {
            return path;
        }
        QByteArray next(target, n);
        path = next.startsWith('/') ? next : FolderPart(path) + '/' + next;
    }
    return path;
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

WriteResult NotRegular(const struct stat& info) {
    return {false, S_ISLNK(info.st_mode) ? QString::fromLocal8Bit(std::strerror(ELOOP))
                                         : NotRegularReason(KindOfMode(info.st_mode))};
}

// Finds the file, refuses anything but a regular one, makes the folder and opens it.
WriteResult OpenTarget(const QString& path, Target& target, bool makeFolders = true) {
    const QByteArray resolved = ResolveLinks(EncodePath(path));
    target.folder = FolderPart(resolved);
    target.name = NamePart(resolved);
    struct stat info = {};
    if (::lstat(resolved.constData(), &info) == 0) {
        if (!S_ISREG(info.st_mode)) {
            return NotRegular(info);
        }
        target.mode = info.st_mode & 07777;
    } else if (errno == ENOENT || errno == ENOTDIR) {
        target.mode = NewFileMode();
    } else {
        return WriteResult::Failed(errno);
    }
    if (makeFolders) {
        if (const int error = MakeFolders(target.folder)) {
            return WriteResult::Failed(error);
        }
    }
    target.dir = Fd(::open(target.folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return target.dir.get() < 0 ? WriteResult::Failed(errno) : WriteResult{};
}

// A short hash of a version's bytes, for temporary names. It only tells the clock's own
// versions from others, so the quickest of the hashes serves: a save hashes two whole files,
// which takes SHA-256 0.8 s for 64 MB (BLAKE2b 0.2 s). Earlier versions named theirs with
// SHA-256, which a clean-up still knows.
QByteArray ShortHash(const QByteArray& bytes,
                     QCryptographicHash::Algorithm algorithm = QCryptographicHash::Blake2b_256) {
    return QCryptographicHash::hash(bytes, algorithm).toHex().left(16);
}

// A temporary name; `versions`, when given, names the clock's own versions ("-<new>-<known>"
// short hashes), so that the next start can tell them from someone else's after a crash.
QByteArray TempName(const Target& target, const QByteArray& versions) {
    QByteArray name = '.' + target.name + kTempTag;
    for (int i = 0; i < kRandomLetters; ++i) {
        name += kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)];
    }
    return name + versions;
}

bool IsShortHash(const QByteArray& text) {
    return text.size() == 16 && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

// Whether the name is exactly one TempName gives; `versions` then gets its short hashes, if
// any. Only such a name is the clock's own: anything else beside the file, however alike, may
// be the user's.
bool IsTempName(const Target& target, const QByteArray& name, QList<QByteArray>& versions) {
    const QByteArray stem = '.' + target.name + kTempTag;
    const qsizetype tail = name.size() - stem.size() - kRandomLetters;  // "" or "-<16>-<16>"
    if (!name.startsWith(stem) || (tail != 0 && tail != 34)) {
        return false;
    }
    const QByteArray letters = name.mid(stem.size(), kRandomLetters);
    if (!std::all_of(letters.begin(), letters.end(),
                     [](char c) { return c != 0 && std::strchr(kLetters, c) != nullptr; })) {
        return false;
    }
    versions.clear();
    if (tail == 0) {
        return true;
    }
    const QByteArray rest = name.right(tail);
    if (rest[0] != '-' || rest[17] != '-' || !IsShortHash(rest.mid(1, 16)) ||
        !IsShortHash(rest.mid(18))) {
        return false;
    }
    versions = {rest.mid(1, 16), rest.mid(18)};
    return true;
}

int WriteAll(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    std::size_t size = static_cast<std::size_t>(bytes.size());
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return errno;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return 0;
}

// Gives the open file `fd` a name in the folder: a fresh temporary one, or `name`.
int LinkOpenFile(int fd, const Target& target, const QByteArray& name) {
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    if (::linkat(AT_FDCWD, self.constData(), target.dir.get(), name.constData(),
                 AT_SYMLINK_FOLLOW) == 0) {
        return 0;
    }
    // Without /proc; this one needs a privilege most users do not have.
    if (errno == ENOENT &&
        ::linkat(fd, "", target.dir.get(), name.constData(), AT_EMPTY_PATH) == 0) {
        return 0;
    }
    return errno;
}

// The bytes in a new file of the folder, on the disk, named `tempName` only once they are all
// there. The file stays open in `file`.
WriteResult WriteTemp(const Target& target, const QByteArray& bytes, const QByteArray& versions,
                      Fd& file, QByteArray& tempName, bool& timeTells) {
    file = Fd(::openat(target.dir.get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
    const bool nameless = file.get() >= 0;
    if (!nameless) {
        // EISDIR: a kernel without O_TMPFILE; EOPNOTSUPP: a file system without it.
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            return WriteResult::Failed(errno);
        }
        for (int tries = 0; file.get() < 0 && tries < 100; ++tries) {
            tempName = TempName(target, versions);
            file = Fd(::openat(target.dir.get(), tempName.constData(),
                               O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600));
            if (file.get() < 0 && errno != EEXIST) {
                return WriteResult::Failed(errno);
            }
        }
    }
    int error = 0;
    if (::fchmod(file.get(), target.mode) != 0) {
        error = errno;
    }
    if (error == 0) {
        error = WriteAll(file.get(), bytes);
    }
    if (error == 0 && ::fsync(file.get()) != 0) {
        error = errno;
    }
    // Before anyone else can reach the file.
    struct stat info = {};
    timeTells = ::fstat(file.get(), &info) == 0 && CoarseClockPassed(IdentityOf(info).mtimeNs);
    if (error == 0 && nameless) {
        do {
            tempName = TempName(target, versions);
            error = LinkOpenFile(file.get(), target, tempName);
        } while (error == EEXIST);
    }
    if (error != 0) {
        if (!nameless) {
            ::unlinkat(target.dir.get(), tempName.constData(), 0);
        }
        tempName.clear();
        return WriteResult::Failed(error);
    }
    return {};
}

bool CannotDoThat(int error) {
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

// Whether linkat failed because the file system gives no file a second name (FUSE and network
// mounts, FAT): EPERM and EOPNOTSUPP as the manual has them, ENOSYS from a FUSE daemon without
// the call, EMLINK where the file has all the names it may (a rename adds none). Not EXDEV:
// within one folder it would fail a rename too.
bool CannotLink(int error) {
    return error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EMLINK;
}

// Renames `from` to `to` in the folder unless `to` exists: 0, or the errno (EEXIST).
int RenameNoReplace(const Target& target, const QByteArray& from, const QByteArray& to) {
    const int dir = target.dir.get();
    if (::renameat2(dir, from.constData(), dir, to.constData(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (!CannotDoThat(errno)) {
        return errno;
    }
    // A second name, then the first one dropped: never over an existing file either.
    if (::linkat(dir, from.constData(), dir, to.constData(), 0) == 0) {
        ::unlinkat(dir, from.constData(), 0);
        return 0;
    }
    if (!CannotLink(errno)) {
        return errno;
    }
    // Neither: one last look, then a plain rename, as RenameAfterCheck replaces a file. Only a
    // file made in the instant between the two can be lost.
    struct stat info = {};
    if (::fstatat(dir, to.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
        return EEXIST;
    }
    if (errno != ENOENT) {
        return errno;
    }
    return ::renameat(dir, from.constData(), dir, to.constData()) == 0 ? 0 : errno;
}

// Puts a version under the first free name <name>.<time>[-n] by `place` (0 or an errno),
// trying the next name while the one tried exists.
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

// Whether a file holds the version the caller knows: the same bytes and, when it is the very
// file the caller saw, not written since (a writer that has just emptied an empty file leaves
// the bytes as they were, but not the time).
bool IsKnown(const FileVersion& known, const UserFile& file) {
    if (!known.present || !file.bytes || *file.bytes != known.bytes) {
        return false;
    }
    const bool sameFile = file.identity.device == known.identity.device &&
                          file.identity.inode == known.identity.inode;
    return !sameFile || file.identity.mtimeNs == known.identity.mtimeNs;
}

UserFile ReadAt(const Target& target, const QByteArray& name) {
    const Fd fd(::openat(target.dir.get(), name.constData(),
                         O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) {
        UserFile none;
        none.kind = errno == ENOENT ? FileKind::Missing : FileKind::Other;
        none.problem = QString::fromLocal8Bit(std::strerror(errno));
        return none;
    }
    return ReadOpenUserFile(fd.get());
}

// Puts the new file at the name when there is none; false with errno EEXIST when one came.
bool PlaceNew(const Target& target, const QByteArray& temp) {
    errno = RenameNoReplace(target, temp, target.name);
    return errno == 0;
}

// After the exchange `temp` names what was in the file's place: dropped when it is the known
// version, kept when it is anyone else's, swapped back when it is no regular file.
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

// The version open as `fd` kept beside the file: a second name of it, else a copy.
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

WriteResult ReplaceAfterCheck(const QString& path, const QByteArray& bytes, FileVersion& known,
                              QStringList& kept) {
    const FileVersion before = known;
    return Replace(
        path, bytes,
        [&](const Target& target, QByteArray& temp) {
            WriteResult result = RenameAfterCheck(target, temp, before, kept);
            if (result) {
                temp.clear();
            }
            return result;
        },
        &known);
}

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
