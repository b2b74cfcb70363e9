#include "logic/save_target.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace atomic_save {

namespace {

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

}  // namespace

WriteResult NotRegular(const struct stat& info) {
    return {false, S_ISLNK(info.st_mode) ? QString::fromLocal8Bit(std::strerror(ELOOP))
                                         : NotRegularReason(KindOfMode(info.st_mode))};
}

// Finds the file, refuses anything but a regular one, makes the folder and opens it.
WriteResult OpenTarget(const QString& path, Target& target, bool makeFolders) {
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

bool CannotDoThat(int error) {
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

bool CannotLink(int error) {
    return error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EMLINK;
}

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

}  // namespace atomic_save
