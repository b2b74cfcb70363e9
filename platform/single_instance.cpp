#include "platform/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "logic/user_file.h"

SingleInstanceLock::SingleInstanceLock(const QString& folder) : m_folder(EncodePath(folder)) {
    const QByteArray& path = m_folder;
    m_error = MakeFolders(path);
    if (m_error != 0) {
        return;
    }
    // Read-only is enough for a lock, so a folder the user made read-only still gets one.
    m_fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0) {
        m_error = errno;
        return;
    }
    if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
        m_acquired = true;
    } else if (errno == EWOULDBLOCK) {
        m_heldElsewhere = true;
    } else {
        m_error = errno;
    }
}

SingleInstanceLock::~SingleInstanceLock() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

bool SingleInstanceLock::Follow(bool make) {
    if (!m_acquired) {
        return false;
    }
    if (make) {
        MakeFolders(m_folder);
    }
    struct stat atPath = {};
    struct stat held = {};
    if (::stat(m_folder.constData(), &atPath) != 0 || ::fstat(m_fd, &held) != 0 ||
        (atPath.st_dev == held.st_dev && atPath.st_ino == held.st_ino)) {
        return true;
    }
    const int fd = ::open(m_folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return true;  // the save there will say why
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        ::close(m_fd);  // the old folder is no longer the memos' own
        m_fd = fd;
        return true;
    }
    const bool elsewhere = errno == EWOULDBLOCK;
    ::close(fd);
    return !elsewhere;
}

QString SingleInstanceLock::reason() const {
    return QString::fromLocal8Bit(std::strerror(m_error));
}
