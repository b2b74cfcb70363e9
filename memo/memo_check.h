#pragma once

#include <QString>

#include "logic/memo.h"
#include "logic/memo_store.h"
#include "platform/services.h"

class QWidget;

// The text of the reminder box for a memo.
QString ReminderText(const MemoEntry& memo);

// One memo check: for every memo that has fallen due, in list order, sounds the alarm and asks
// whether to delete it (Yes) or postpone it by five minutes from its own time (No); then writes
// the list when it is dirty. While a box is open further checks return at once (inReminder);
// the check re-runs itself after each answer, so memos that fell due meanwhile are asked next.
// The list is saved as SaveMemos does, so a failed write is tried again by the next check. A box
// that goes away unanswered (the program is ending) changes nothing and ends every run at once,
// after the save; the result is then false.
bool RunMemoCheck(MemoStore& store, bool& inReminder, const Services& services, QWidget* owner);

// Saves the memos when they have changes the file does not have. The first failure of a run of
// them is told on stderr and, when `mayAsk`, in a warning box owned by `owner` that names the file
// and the system's reason; later failures of the same run only retry. A save that works again
// after failures says so on stderr. True when the file has the list.
bool SaveMemos(MemoStore& store, const Services& services, QWidget* owner, bool mayAsk = true);
