#include "memo/memo_check.h"

bool RunMemoCheck(MemoKeeper& memos, bool& inReminder, const Services& services, QWidget* owner) {
    if (inReminder) {
        return true;  // a box is open; the run after its answer catches up
    }
    MemoStore& store = memos.store();
    // A new time sample for each box, so memos that fell due while one was open are asked next.
    while (memos.Refresh(owner)) {
        const std::optional<MemoEntry> due = store.NextDue(services.time->Now());
        if (!due) {
            break;
        }
        inReminder = true;
        services.alarm->Start();
        const std::optional<bool> remove =
            services.question->AskYesNo(owner, ReminderCaption(), ReminderText(*due));
        services.alarm->Stop();
        inReminder = false;
        if (!remove) {
            // The program is ending: the memo stays as it was, due at the next start.
            memos.Save(owner);
            return false;
        }
        // Only No needs the moment of the answer: it postpones past it.
        store.Answer(due->id, *remove, *remove ? due->time : services.time->Now());
        // At once: an answer must outlive a crash before the next box is answered.
        memos.Save(owner);
    }
    memos.Save(owner);
    return true;
}
