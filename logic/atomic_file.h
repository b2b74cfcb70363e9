#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "logic/user_file.h"

// Saves of the user's files: the parts are in save_target.h (the file and its folder),
// save_temp.h (the new file beside it), save_versions.h (others' versions kept) and
// crashed_saves.h (what a crash left).

// How writing one of the user's files went: done, or the system's own reason it was not
// ("No space left on device").
struct WriteResult {
    bool ok = true;
    QString reason;

    static WriteResult Failed(int errorNumber);
    explicit operator bool() const { return ok; }
};

// Replaces the file at path with bytes in one step, making its folders (0700) when missing. The
// bytes go to a nameless new file in the same folder (O_TMPFILE; a hidden temporary name where
// the file system has no such files), every write is checked, and they are on the disk (fsync)
// before the file gets a name and a rename puts it in place: a crash leaves nothing behind but,
// for an instant, that name. On any failure the old file stays as it was, byte for byte. A link
// is followed, so the file it names is the one replaced, but only a regular file is: a folder,
// pipe, socket or device there is refused and left alone. A replaced file keeps its
// permissions; a new one gets the usual 0666 less the umask.
//
// (QSaveFile is not used: it buffers small writes, and when the flush of that buffer fails on a
// full disk it still renames the short file over the old one and reports success.)
WriteResult WriteFileAtomically(const QString& path, const QByteArray& bytes);

// Replaces the file as WriteFileAtomically does, and never loses a version someone else wrote:
// the new file is swapped in (renameat2 RENAME_EXCHANGE), and the one swapped out, unless it is
// the `known` version (what the caller last read or wrote there) unchanged, is kept beside it as
// <name>.<its modification time, yyyyMMdd-HHmmss>[-n]: the same file, so a program still
// writing into it finishes there. `kept` gets the path of each version kept; on success `known`
// is the new file.
//
// Where the file system cannot swap two names, right before a plain rename the file is looked
// at again, and a version that is not `known` is kept first (as a second name of the same file
// where the file system allows, else as a copy with the same permissions), then looked at once
// more. Only a change in the instant between the last look and the rename can be lost. Where the
// file system can neither rename without replacing nor link, a file is put where none is (the
// new file, a version kept beside it) the same way: a last look, then a plain rename.
WriteResult ReplaceKeepingOthers(const QString& path, const QByteArray& bytes, FileVersion& known,
                                 QStringList& kept);
