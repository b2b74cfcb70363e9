#pragma once

#include <QString>

// Holds an exclusive lock on a file for as long as the object lives. The kernel drops the lock
// when the process ends, however it ends, so a crashed clock never blocks the next start.
class SingleInstanceLock {
public:
    explicit SingleInstanceLock(const QString& path);
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // True when this object holds the lock; false when another holder has it (or the lock file
    // cannot be made, in which case running without the guard beats not running at all).
    bool acquired() const { return m_acquired; }
    bool heldElsewhere() const { return m_heldElsewhere; }

private:
    int m_fd = -1;
    bool m_acquired = false;
    bool m_heldElsewhere = false;
};
