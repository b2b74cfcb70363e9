#pragma once

// The file a save replaces, found and opened, and what a save does in its folder: the parts of
// WriteFileAtomically and ReplaceKeepingOthers (see atomic_file.h) that the others build on.

#include <sys/stat.h>

#include <QByteArray>
#include <QString>

#include "logic/atomic_file.h"
#include "logic/file_descriptor.h"
#include "logic/user_file.h"

namespace atomic_save {

// The file a save replaces: its folder (open) and its name there.
struct Target {
    QByteArray folder;
    QByteArray name;
    Fd dir;
    mode_t mode = 0;  // for the new file
};

// Finds the file, refuses anything but a regular one, makes the folder and opens it.
WriteResult OpenTarget(const QString& path, Target& target, bool makeFolders = true);

// Why a save refuses what it found in the file's place (a link loop, a folder, a pipe...).
WriteResult NotRegular(const struct stat& info);

// The file of that name in the folder, read without following a link.
UserFile ReadAt(const Target& target, const QByteArray& name);

// Writes all the bytes, whatever the calls take at a time: 0, or the errno.
int WriteAll(int fd, const QByteArray& bytes);

// Gives the open file `fd` a name in the folder: a fresh temporary one, or `name`.
int LinkOpenFile(int fd, const Target& target, const QByteArray& name);

// Whether a call failed because the file system cannot do what its flags ask (no exchange, no
// rename without replacing).
bool CannotDoThat(int error);

// Whether linkat failed because the file system gives no file a second name (FUSE and network
// mounts, FAT): EPERM and EOPNOTSUPP as the manual has them, ENOSYS from a FUSE daemon without
// the call, EMLINK where the file has all the names it may (a rename adds none). Not EXDEV:
// within one folder it would fail a rename too.
bool CannotLink(int error);

// Renames `from` to `to` in the folder unless `to` exists: 0, or the errno (EEXIST).
int RenameNoReplace(const Target& target, const QByteArray& from, const QByteArray& to);

}  // namespace atomic_save
