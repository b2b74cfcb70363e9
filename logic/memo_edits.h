#pragma once

#include <vector>

#include <QByteArray>

#include "logic/memo.h"

// The order of the memo dialog's sorted list: the lines as shown, ignoring letter case; lines
// equal that way are ordered by their bytes, so that the order is total.
bool ListLineLess(const QByteArray& a, const QByteArray& b);

// A line of the memo dialog's list, and the memo it was filled from: 0 for a line the user
// added (or a memo that had no id).
struct ListedMemo {
    QByteArray line;
    MemoId id = 0;
};

// Applies what the user did in the memo dialog - the lines it shows now against the lines it
// was filled with - to the memo list as it stands now, then sorts the list in the dialog's
// order; a line the clock cannot use moves with the memo before it (those before the first
// memo stay first). A memo whose line the user deleted is deleted, found by its id even when a
// reminder postponed it meanwhile; memos without an id are matched by their line. Memos the user
// did not touch are kept as they are in `current`, so a reminder that deleted or postponed one
// while the dialog was open is never undone.
MemoList CommitListEdits(const MemoList& current, const std::vector<ListedMemo>& filled,
                         const std::vector<ListedMemo>& shown);
