#include "memo/memo_check.h"

#include <cstdio>

#include <QCoreApplication>
#include <QDir>

#include "logic/resource_ids.h"

bool RunMemoCheck(MemoStore& store, bool& inReminder, const Services& services, QWidget* owner) {
    if (inReminder) {
        return true;  // a box is open; the run after its answer catches up
    }
    store.ReadAgainIfUnread();
    // A new time sample for each box, so memos that fell due while one was open are asked next.
    while (const std::optional<MemoEntry> due = store.NextDue(services.time->Now())) {
        inReminder = true;
        services.alarm->Start();
        const std::optional<bool> remove =
            services.question->AskYesNo(owner, ReminderCaption(), ReminderText(*due));
        services.alarm->Stop();
        inReminder = false;
        if (!remove) {
            // The program is ending: the memo stays as it was, due at the next start.
            SaveMemos(store, services, owner);
            return false;
        }
        // Only No needs the moment of the answer: it postpones past it.
        store.Answer(due->id, *remove, *remove ? due->time : services.time->Now());
        // At once: an answer must outlive a crash before the next box is answered.
        SaveMemos(store, services, owner);
    }
    SaveMemos(store, services, owner);
    return true;
}

bool SaveMemos(MemoStore& store, const Services& services, QWidget* owner, SaveMoment moment) {
    const MemoSaveReport report = store.SaveIfDirty();
    const QString path = QDir::toNativeSeparators(store.path());
    if (moment == SaveMoment::Ending) {
        if (!report.result) {
            std::fprintf(stderr, "kelvarine: ending; could not save the memos to %s: %s\n",
                         qPrintable(path), qPrintable(report.result.reason));
        }
        return report.result.ok;
    }
    if (report.failureEnds) {
        std::fprintf(stderr, "kelvarine: the memos are saved to %s again\n", qPrintable(path));
    }
    if (report.failureBegins) {
        std::fprintf(stderr,
                     "kelvarine: could not save the memos to %s: %s; will retry every minute\n",
                     qPrintable(path), qPrintable(report.result.reason));
        services.question->Warn(
            owner, QLatin1String(kAppTitle),
            //: %1 is the memo file, %2 the system's reason.
            QCoreApplication::translate("Reminder",
                                        "The memos could not be saved to %1:\n%2.\n\nThey are kept "
                                        "while the clock runs, and saved as soon as that works "
                                        "again.")
                .arg(path, report.result.reason));
    }
    return report.result.ok;
}
