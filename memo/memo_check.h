#pragma once

#include "memo/memo_keeper.h"
#include "platform/services.h"

class QWidget;

// One memo check: for every memo that has fallen due, in list order, sounds the alarm and asks
// whether to delete it (Yes) or postpone it (No: by whole five minutes from its own time, to the
// first such step after the answer); each answer is saved when it is given, and the list at the
// end when it is dirty. Lines the clock cannot use never ring. While a box is open further checks
// return at once (inReminder); before each box the file is looked at again (a memo added by hand
// rings), and nothing rings while another clock holds the memo folder (see MemoKeeper::Refresh).
// After each answer the scan starts again, so memos that fell due meanwhile are asked next. A
// failed save is tried again by the next check. A box that goes away unanswered (the program is
// ending) changes nothing and ends the run at once, after the save; the result is then false.
bool RunMemoCheck(MemoKeeper& memos, bool& inReminder, const Services& services, QWidget* owner);
