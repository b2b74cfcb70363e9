#pragma once

#include "logic/memo_store.h"
#include "platform/services.h"

class QWidget;

// One memo check: for every memo that has fallen due, in list order, sounds the alarm and asks
// whether to delete it (Yes) or postpone it (No: by whole five minutes from its own time, to the
// first such step after the answer); each answer is saved when it is given, and the list at the
// end when it is dirty. Lines the clock cannot use never ring. While a box is open further checks
// return at once (inReminder); after each answer the scan starts again, so memos that fell due
// meanwhile are asked next. The list is saved as SaveMemos does, so a failed write is tried again
// by the next check; a memo file that could not be read is read again first. A box that goes away
// unanswered (the program is ending) changes nothing and ends the run at once, after the save;
// the result is then false.
bool RunMemoCheck(MemoStore& store, bool& inReminder, const Services& services, QWidget* owner);

// While the clock runs a failed save is tried again by the next one; once it ends, never.
enum class SaveMoment { Running, Ending };

// Saves the memos when they have changes the file does not have, and tells how that went: while
// running, the first failure of a run of them on stderr and in a warning box owned by `owner`
// that names the file and the system's reason (later failures of the same run only retry), and
// a save that works again after failures on stderr; when ending, any failure on stderr only (the
// session may be going). True when the file has the list.
bool SaveMemos(MemoStore& store, const Services& services, QWidget* owner,
               SaveMoment moment = SaveMoment::Running);
