#pragma once

#include <QByteArray>
#include <QString>

#include "logic/atomic_file.h"
#include "logic/memo.h"

// What the clock last read from or wrote to the memo file, so that a save can tell whether
// someone else has changed the file since.
struct MemoFileStamp {
    bool known = false;    // false until a load or save succeeds, or after a failed read
    bool present = false;  // a regular file was there
    QByteArray digest;     // of its bytes
};

// Appends the memos of the file at path to list, in file order. A file that cannot be read
// leaves the list as it was; lines of 16 bytes or fewer are skipped. The stamp, when given,
// records what was read.
void LoadMemoFile(const QString& path, MemoList& list, MemoFileStamp* stamp = nullptr);

// Writes the list, one memo line and CR LF per memo. The new content replaces the old file
// in one step (WriteFileAtomically), so a crash or a full disk never leaves half a file; the
// folder is created when missing. On failure nothing was replaced and the old file is as it was.
//
// With a stamp, a file that differs from what the stamp recorded (edited by hand, say) is first
// kept beside it as memo.txt.<its modification time>, never replacing an earlier copy, and said
// so on stderr; when it cannot be read or kept, nothing is written. A version once kept is not
// kept again by a later save. The stamp then records what was written.
WriteResult SaveMemoFile(const QString& path, const MemoList& list, MemoFileStamp* stamp = nullptr);
