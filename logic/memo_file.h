#pragma once

#include <QByteArray>
#include <QString>

#include "logic/atomic_file.h"
#include "logic/memo.h"

// What a memo file has around its lines: how it ends them, for the lines the clock adds (its
// first line end), and the UTF-8 byte order mark some editors put first.
struct MemoFileShape {
    QByteArray lineEnd = kMemoLineEnd;
    bool byteOrderMark = false;
};

// What the clock last read from or wrote to the memo file, so that a save can tell whether
// someone else has changed the file since, and how the file is written.
struct MemoFileStamp {
    bool known = false;  // false until a load or save succeeds, or after a failed read
    FileVersion version;
    MemoFileShape shape;
    QString problem;  // why the last load could not read the file; empty if it could
};

// The lines of a memo file's bytes, in order, each with its line end: memos, and the lines the
// clock cannot use (see ParseMemoLine). A byte order mark is read past. `shape`, when given,
// gets the file's first line end (when it ends a line) and whether it has the mark.
MemoList ParseMemoFile(const QByteArray& content, MemoFileShape* shape = nullptr);
// The bytes of a memo file holding `list`: the mark when the shape has one, then each line as
// FormatMemoLine gives it with its own line end, the shape's for lines that have none. What
// ParseMemoFile read comes back byte for byte.
QByteArray FormatMemoFile(const MemoList& list, const MemoFileShape& shape = {});

// The largest memo file read: a million memos of a usual length take about half of it. A larger
// file is no memo file the clock could show, and reading it would only fill the memory.
inline constexpr qint64 kMaxMemoFileBytes = 64 * 1024 * 1024;

// Appends the lines of the file at path to list, in file order, each with its line end: memos,
// and the lines the clock cannot use (see ParseMemoLine). A missing file adds nothing; one that
// cannot be read, is larger than kMaxMemoFileBytes (never read then) or is no regular file
// (never opened then), adds nothing and says why in the stamp's problem. The stamp, when given,
// records what was read.
void LoadMemoFile(const QString& path, MemoList& list, MemoFileStamp* stamp = nullptr);

// Writes the list, each line as FormatMemoLine gives it with its own line end (new lines take the
// stamp's), in one step, so a crash or a full disk never leaves half a file; the folders are
// created when missing. On failure nothing was replaced and the old file is as it was.
//
// With a stamp, no version someone else wrote is lost (ReplaceKeepingOthers): a file that is not
// what the stamp recorded (edited by hand, written by a sync tool while the clock saves) is kept
// beside it as memo.txt.<its modification time>, never replacing an earlier copy, and said so on
// stderr. The stamp then records what was written.
WriteResult SaveMemoFile(const QString& path, const MemoList& list, MemoFileStamp* stamp = nullptr);
