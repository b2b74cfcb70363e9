#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>

#include <QByteArray>
#include <QString>

// The user's files as the clock touches them: paths kept as the bytes they are, and reads that
// open nothing but a regular file, never in a way that can block.

// A path's bytes as a string: UTF-8 where they are UTF-8, and every other byte kept as the lone
// surrogate U+DC80..U+DCFF, so that EncodePath gives back the very same bytes. (Qt's own
// decoding turns such bytes into U+FFFD, and the file they name is lost.)
QString DecodePath(const QByteArray& bytes);
// The bytes of a path: the inverse of DecodePath, UTF-8 for any other string.
QByteArray EncodePath(const QString& path);
// Whether the path is text throughout, as a desktop entry needs: no byte was kept aside.
bool PathIsText(const QString& path);
// The folder part of a path ("/a/b" for "/a/b/memo.txt"), without looking at the disk.
QString FolderOf(const QString& path);

// Makes the folder and each missing folder above it, 0700 as the user's private data wants;
// 0 when it is there, else the errno (ENOTDIR: a file is in the way).
int MakeFolders(const QByteArray& folder);

// What a path names once links are followed.
enum class FileKind { Missing, Regular, Directory, Pipe, Socket, CharDevice, BlockDevice, Other };
FileKind KindOfMode(mode_t mode);
// Why such a file is not read or replaced, for a message: "it is a named pipe, not a regular
// file".
QString NotRegularReason(FileKind kind);

// Which file, as it was at some moment: modification time to the nanosecond.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t mtimeNs = 0;
    bool operator==(const FileIdentity&) const = default;
};
FileIdentity IdentityOf(const struct stat& info);

// Whether the coarse clock that file times come from has moved on from a modification time.
bool CoarseClockPassed(std::int64_t mtimeNs);

// One version of a file as the clock last read or wrote it; present false when no file was
// there. Its bytes are kept whole: comparing them is quicker than hashing what is on the disk,
// and a save compares while it has a file under a temporary name.
struct FileVersion {
    bool present = false;
    QByteArray bytes;
    FileIdentity identity;
    // Any later write changes its modification time: file times come from a coarse clock,
    // which had moved on from this one when the clock read the file, or before anyone else could
    // reach a file it wrote.
    bool timeTells = false;
};

// Whether the file at path is still `version` as far as a look at it tells, without reading it:
// the same file, size and modification time, where that time tells of any later write; or still
// no file where there was none. False whenever it cannot be told.
bool LooksUnchanged(const QString& path, const FileVersion& version);

struct UserFile {
    FileKind kind = FileKind::Missing;
    std::optional<QByteArray> bytes;  // the whole file, when it is a regular file that was read
    QString problem;                  // why an existing file was not read; empty otherwise
    FileIdentity identity;
    mode_t mode = 0;         // its permission bits
    bool timeTells = false;  // see FileVersion
    FileVersion version() const;
};

inline constexpr qint64 kNoSizeLimit = -1;

// Reads the regular file a path names, links followed. Anything else is never opened, so a pipe,
// socket or device there can neither block the clock nor be disturbed; a file larger than
// maxBytes is not read either (its problem says so). A file that changes while it is read is
// read again, so a version half written by someone else is not taken for the file where that
// can be helped.
UserFile ReadUserFile(const QString& path, qint64 maxBytes = kNoSizeLimit);
// The same for a file already open (descriptor `fd`, not closed here).
UserFile ReadOpenUserFile(int fd, qint64 maxBytes = kNoSizeLimit);
