#include "logic/user_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <thread>

#include <QCoreApplication>

namespace {

// Lone surrogates stand for the bytes 0x80..0xff that are not part of valid UTF-8.
constexpr char16_t kByteSurrogate = 0xDC00;

bool IsContinuation(const QByteArray& bytes, qsizetype at, uchar low = 0x80, uchar high = 0xBF) {
    if (at >= bytes.size()) {
        return false;
    }
    const auto b = static_cast<uchar>(bytes[at]);
    return b >= low && b <= high;
}

// The length of the well-formed UTF-8 sequence at `at`, or 0 (RFC 3629: no overlong forms, no
// surrogates, nothing past U+10FFFF).
qsizetype Utf8SequenceAt(const QByteArray& bytes, qsizetype at) {
    const auto lead = static_cast<uchar>(bytes[at]);
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return IsContinuation(bytes, at + 1) ? 2 : 0;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        const uchar low = lead == 0xE0 ? 0xA0 : 0x80;
        const uchar high = lead == 0xED ? 0x9F : 0xBF;
        return IsContinuation(bytes, at + 1, low, high) && IsContinuation(bytes, at + 2) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const uchar low = lead == 0xF0 ? 0x90 : 0x80;
        const uchar high = lead == 0xF4 ? 0x8F : 0xBF;
        return IsContinuation(bytes, at + 1, low, high) && IsContinuation(bytes, at + 2) &&
                       IsContinuation(bytes, at + 3)
                   ? 4
                   : 0;
    }
    return 0;
}

bool IsByteSurrogate(const QString& path, qsizetype at) {
    const char16_t c = path[at].unicode();
    return c >= kByteSurrogate + 0x80 && c <= kByteSurrogate + 0xFF &&
           (at == 0 || !path[at - 1].isHighSurrogate());
}

}  // namespace

QString DecodePath(const QByteArray& bytes) {
    QString path;
    qsizetype run = 0;  // start of the valid bytes not yet decoded
    qsizetype at = 0;
    while (at < bytes.size()) {
        const qsizetype length = Utf8SequenceAt(bytes, at);
        if (length > 0) {
            at += length;
            continue;
        }
        path += QString::fromUtf8(bytes.constData() + run, at - run);
        path += QChar(kByteSurrogate + static_cast<uchar>(bytes[at]));
        run = ++at;
    }
    return path + QString::fromUtf8(bytes.constData() + run, bytes.size() - run);
}

QByteArray EncodePath(const QString& path) {
    QByteArray bytes;
    qsizetype run = 0;
    for (qsizetype at = 0; at < path.size(); ++at) {
        if (IsByteSurrogate(path, at)) {
            bytes += QStringView(path).mid(run, at - run).toUtf8();
            bytes += static_cast<char>(path[at].unicode() - kByteSurrogate);
            run = at + 1;
        }
    }
    return bytes + QStringView(path).mid(run).toUtf8();
}

bool PathIsText(const QString& path) {
    for (qsizetype at = 0; at < path.size(); ++at) {
        if (IsByteSurrogate(path, at)) {
            return false;
        }
    }
    return true;
}

QString FolderOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash > 0 ? path.left(slash) : slash == 0 ? QStringLiteral("/") : QStringLiteral(".");
}

int MakeFolders(const QByteArray& folder) {
    struct stat info = {};
    if (::stat(folder.constData(), &info) == 0) {
        return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
    }
    if (errno != ENOENT) {
        return errno;
    }
    const qsizetype slash = folder.lastIndexOf('/');
    if (slash > 0) {
        if (const int error = MakeFolders(folder.left(slash))) {
            return error;
        }
    }
    // Someone may have made it meanwhile; that is as good.
    if (::mkdir(folder.constData(), 0700) != 0 && errno != EEXIST) {
        return errno;
    }
    return 0;
}

FileKind KindOfMode(mode_t mode) {
    switch (mode & S_IFMT) {
        case S_IFREG:
            return FileKind::Regular;
        case S_IFDIR:
            return FileKind::Directory;
        case S_IFIFO:
            return FileKind::Pipe;
        case S_IFSOCK:
            return FileKind::Socket;
        case S_IFCHR:
            return FileKind::CharDevice;
        case S_IFBLK:
            return FileKind::BlockDevice;
        default:
            return FileKind::Other;
    }
}

QString NotRegularReason(FileKind kind) {
    switch (kind) {
        case FileKind::Directory:
            return QCoreApplication::translate("UserFile", "it is a folder, not a regular file");
        case FileKind::Pipe:
            return QCoreApplication::translate("UserFile",
                                               "it is a named pipe, not a regular file");
        case FileKind::Socket:
            return QCoreApplication::translate("UserFile", "it is a socket, not a regular file");
        case FileKind::CharDevice:
            return QCoreApplication::translate("UserFile",
                                               "it is a character device, not a regular file");
        case FileKind::BlockDevice:
            return QCoreApplication::translate("UserFile",
                                               "it is a block device, not a regular file");
        default:
            return QCoreApplication::translate("UserFile", "it is not a regular file");
    }
}

FileIdentity IdentityOf(const struct stat& info) {
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

FileVersion UserFile::version() const {
    return {kind != FileKind::Missing, bytes.value_or(QByteArray()), identity, timeTells};
}

bool LooksUnchanged(const QString& path, const FileVersion& version) {
    struct stat info = {};
    if (::stat(EncodePath(path).constData(), &info) != 0) {
        return !version.present && (errno == ENOENT || errno == ENOTDIR);
    }
    return version.present && version.timeTells && S_ISREG(info.st_mode) &&
           IdentityOf(info) == version.identity && info.st_size == version.bytes.size();
}

bool CoarseClockPassed(std::int64_t mtimeNs) {
    timespec now = {};
    return ::clock_gettime(CLOCK_REALTIME_COARSE, &now) == 0 &&
           now.tv_sec * 1'000'000'000LL + now.tv_nsec > mtimeNs;
}

namespace {

QString SystemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

QString TooLargeReason(qint64 maxBytes) {
    constexpr qint64 kMegabyte = 1024 * 1024;
    const QString size = maxBytes >= kMegabyte && maxBytes % kMegabyte == 0
                             ? QStringLiteral("%1 MB").arg(maxBytes / kMegabyte)
                             : QStringLiteral("%1 KB").arg((maxBytes + 1023) / 1024);
    //: Why a file is not read: %1 is the largest size the clock reads, as "64 MB".
    return QCoreApplication::translate("UserFile", "it is larger than %1, too large for the clock")
        .arg(size);
}

// Reads to the end; false on a read error or when more than maxBytes are there.
bool ReadAll(int fd, qint64 maxBytes, QByteArray& bytes) {
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            return true;
        }
        bytes.append(buffer, n);
        if (maxBytes >= 0 && bytes.size() > maxBytes) {
            errno = EFBIG;
            return false;
        }
    }
}

}  // namespace

UserFile ReadOpenUserFile(int fd, qint64 maxBytes) {
    UserFile file;
    // A writer that is still at it shows as a change of size or time; three looks are enough
    // for the writes an editor or sync tool makes, and the last one is taken whatever it is.
    for (int look = 0; look < 3; ++look) {
        struct stat before = {};
        if (::fstat(fd, &before) != 0) {
            file.kind = FileKind::Other;
            file.problem = SystemReason(errno);
            return file;
        }
        file.kind = KindOfMode(before.st_mode);
        file.mode = before.st_mode & 07777;
        file.identity = IdentityOf(before);
        if (file.kind != FileKind::Regular) {
            file.problem = NotRegularReason(file.kind);
            return file;
        }
        // Refused before a byte is read: such a file would only fill the memory.
        if (maxBytes >= 0 && before.st_size > maxBytes) {
            file.problem = TooLargeReason(maxBytes);
            return file;
        }
        file.timeTells = CoarseClockPassed(file.identity.mtimeNs);
        QByteArray bytes;
        bytes.reserve(static_cast<qsizetype>(before.st_size));
        if (::lseek(fd, 0, SEEK_SET) != 0 || !ReadAll(fd, maxBytes, bytes)) {
            file.problem = errno == EFBIG ? TooLargeReason(maxBytes) : SystemReason(errno);
            file.bytes.reset();
            return file;
        }
        file.bytes = std::move(bytes);
        struct stat after = {};
        if (::fstat(fd, &after) == 0 && after.st_size == before.st_size &&
            IdentityOf(after) == file.identity && after.st_ctim.tv_nsec == before.st_ctim.tv_nsec &&
            after.st_ctim.tv_sec == before.st_ctim.tv_sec) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return file;
}

UserFile ReadUserFile(const QString& path, qint64 maxBytes) {
    const QByteArray name = EncodePath(path);
    UserFile file;
    struct stat info = {};
    if (::stat(name.constData(), &info) != 0) {
        // A dangling link, or a file where a folder should be, means no file either.
        if (errno != ENOENT && errno != ENOTDIR) {
            file.kind = FileKind::Other;
            file.problem = SystemReason(errno);
        }
        return file;
    }
    file.kind = KindOfMode(info.st_mode);
    if (file.kind != FileKind::Regular) {
        file.problem = NotRegularReason(file.kind);
        return file;
    }
    // Non-blocking: should a pipe have taken the file's place since the look, opening it must
    // not wait for a writer.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        file.problem = SystemReason(errno);
        return file;
    }
    file = ReadOpenUserFile(fd, maxBytes);
    ::close(fd);
    return file;
}
