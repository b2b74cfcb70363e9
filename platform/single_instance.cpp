#include "platform/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include <QDir>
#include <QFileInfo>

SingleInstanceLock::SingleInstanceLock(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0) {
        return;
    }
    if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
        m_acquired = true;
    } else {
        m_heldElsewhere = errno == EWOULDBLOCK;
    }
}

SingleInstanceLock::~SingleInstanceLock() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}
