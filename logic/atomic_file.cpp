#include "logic/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <QDir>
#include <QFile>
#include <QFileInfo>

WriteResult WriteResult::Failed(int errorNumber) {
    return {false, QString::fromLocal8Bit(std::strerror(errorNumber))};
}

namespace {

// The file a path names once links are followed; the path itself when it names no link.
QString LinkTarget(const QString& path) {
    QFileInfo info(path);
    for (int depth = 0; depth < 40 && info.isSymLink(); ++depth) {
        info.setFile(info.symLinkTarget());
    }
    return info.isSymLink() ? path : info.filePath();
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// The rename is on the disk only once its folder is; a failure here cannot be undone, and the
// file's own bytes are already safe, so it is not reported.
void SyncFolder(const QByteArray& folder) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

WriteResult WriteFileAtomically(const QString& path, const QByteArray& bytes) {
    const QString target = LinkTarget(path);
    const QString folder = QFileInfo(target).absolutePath();
    if (!QDir().mkpath(folder)) {
        // mkpath leaves no useful errno: name the commonest cause, a file in the way.
        const QFileInfo blocking(folder);
        return WriteResult::Failed(blocking.exists() && !blocking.isDir() ? ENOTDIR : EACCES);
    }
    const QByteArray targetName = QFile::encodeName(target);
    QByteArray tempName = targetName + ".XXXXXX";
    const int fd = ::mkostemp(tempName.data(), O_CLOEXEC);
    if (fd < 0) {
        return WriteResult::Failed(errno);
    }
    struct stat old = {};
    const mode_t mode =
        ::stat(targetName.constData(), &old) == 0 ? (old.st_mode & 07777) : NewFileMode();
    int error = 0;
    if (::fchmod(fd, mode) != 0 || !WriteAll(fd, bytes.constData(), bytes.size()) ||
        ::fsync(fd) != 0) {
        error = errno;
    }
    // close can report a deferred write error (NFS, quota).
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(tempName.constData(), targetName.constData()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(tempName.constData());
        return WriteResult::Failed(error);
    }
    SyncFolder(QFile::encodeName(folder));
    return {};
}
