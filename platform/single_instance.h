#pragma once

#include <QString>

#include "platform/services.h"

// Holds an exclusive lock on a folder for as long as the object lives: the folder of the memo
// file, so that every clock using that file meets the same lock, whatever else differs in its
// environment. The kernel drops the lock when the process ends, however it ends, so a crashed
// clock never blocks the next start.
class SingleInstanceLock : public FolderLock {
public:
    // Makes the folder (0700) when it is missing.
    explicit SingleInstanceLock(const QString& folder);
    ~SingleInstanceLock() override;
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // True when this object holds the lock.
    bool acquired() const { return m_acquired; }
    // Another clock holds it.
    bool heldElsewhere() const { return m_heldElsewhere; }
    // Why it could not be taken otherwise (the folder cannot be made or opened, or locks are
    // refused there): the system's reason.
    QString reason() const;
    bool Follow(bool make) override;

private:
    QByteArray m_folder;
    int m_fd = -1;
    int m_error = 0;
    bool m_acquired = false;
    bool m_heldElsewhere = false;
};
