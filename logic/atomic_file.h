#pragma once

#include <QByteArray>
#include <QString>

// How writing one of the user's files went: done, or the system's own reason it was not
// ("No space left on device").
struct WriteResult {
    bool ok = true;
    QString reason;

    static WriteResult Failed(int errorNumber);
    explicit operator bool() const { return ok; }
};

// Replaces the file at path with bytes in one step, making its folder when missing. The bytes
// go to a new file in the same
// folder, every write is checked, and they are on the disk (fsync) before a rename puts them
// in place; on any failure that new file is removed and the old file stays as it was, byte
// for byte. A link is followed, so the file it names is the one replaced. A replaced file keeps
// its permissions; a new one gets the usual 0666 less the umask.
//
// (QSaveFile is not used: it buffers small writes, and when the flush of that buffer fails on a
// full disk it still renames the short file over the old one and reports success.)
WriteResult WriteFileAtomically(const QString& path, const QByteArray& bytes);
