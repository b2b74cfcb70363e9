#pragma once

#include <vector>

#include <QByteArray>

#include "memo/memo.h"

// The order of the memo dialog's sorted list: the lines as shown, ignoring letter case; lines
// equal that way are ordered by their bytes, so that the order is total.
bool ListLineLess(const QByteArray& a, const QByteArray& b);

// Applies what the user did in the memo dialog - the lines it shows now against the lines it
// was filled with - to the memo list as it stands now, then sorts the list in the dialog's
// order. Memos the user did not touch are kept as they are in `current`, so a reminder that
// deleted or postponed one while the dialog was open is never undone. A line the user deleted
// that no longer matches any memo (a reminder got there first) deletes nothing.
MemoList CommitListEdits(const MemoList& current, const std::vector<QByteArray>& filled,
                         const std::vector<QByteArray>& shown);
