#include "logic/save_temp.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <QRandomGenerator>

namespace atomic_save {

namespace {

// Temporary names: "." + the file's name + this + six letters or digits.
constexpr char kTempTag[] = ".kelvarine-";
constexpr int kRandomLetters = 6;
constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

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

}  // namespace

QByteArray ShortHash(const QByteArray& bytes, QCryptographicHash::Algorithm algorithm) {
    return QCryptographicHash::hash(bytes, algorithm).toHex().left(16);
}

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

}  // namespace atomic_save
