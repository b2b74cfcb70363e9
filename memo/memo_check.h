#pragma once

#include <QString>

#include "app/services.h"
#include "memo/memo.h"
#include "memo/memo_file.h"

class QWidget;

// The text of the reminder box for a memo.
QString ReminderText(const MemoEntry& memo);

// One memo check: for every memo that has fallen due, in list order, sounds the alarm and asks
// whether to delete it (Yes) or postpone it by five minutes from its own time (No); then writes
// the list when it is dirty. While a box is open further checks return at once (inReminder);
// the check re-runs itself after each answer, so memos that fell due meanwhile are asked next.
// A failed write keeps dirty set so that the next check tries again. The stamp guards the file
// against edits made by others (see SaveMemoFile). A box that goes away unanswered (the
// program is ending) changes nothing and ends every run at once, after the save; the result
// is then false.
bool RunMemoCheck(MemoList& memos, bool& dirty, bool& inReminder, const Services& services,
                  QWidget* owner, MemoFileStamp* stamp = nullptr);
