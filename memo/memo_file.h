#pragma once

#include <QString>

#include "memo/memo.h"

// Appends the memos of the file at path to list, in file order. A file that cannot be read
// leaves the list as it was; lines of 16 bytes or fewer are skipped.
void LoadMemoFile(const QString& path, MemoList& list);

// Writes the list, one memo line and CR LF per memo. The new content replaces the old file
// in one step, so a crash or a full disk never leaves half a file; the folder is created when
// missing. False when nothing was replaced (the old file is then untouched).
bool SaveMemoFile(const QString& path, const MemoList& list);
