#include "platform/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "logic/user_file.h"

SingleInstanceLock::SingleInstanceLock(const QString& folder) {
    const QByteArray path = EncodePath(folder);
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

QString SingleInstanceLock::reason() const {
    return QString::fromLocal8Bit(std::strerror(m_error));
}
