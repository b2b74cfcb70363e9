#include "memo/memo_check.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include <QCoreApplication>
#include <QDir>

#include "logic/resource_ids.h"

namespace {

// The list may have been replaced while the box was open; the answer belongs to the memo that
// was asked about, wherever it stands now, and to no other.
std::optional<std::size_t> FindAskedMemo(const MemoList& memos, std::size_t position,
                                         const MemoEntry& asked) {
    // By identity when it has one: a line is not a memo (two memos can share one).
    const auto isAsked = [&asked](const MemoEntry& memo) {
        return asked.id != 0 ? memo.id == asked.id : memo == asked;
    };
    if (position < memos.size() && isAsked(memos[position])) {
        return position;
    }
    for (std::size_t i = 0; i < memos.size(); ++i) {
        if (isAsked(memos[i])) {
            return i;
        }
    }
    return std::nullopt;
}

void ApplyAnswer(MemoList& memos, std::size_t position, const MemoEntry& asked, bool remove,
                 const TimeSource& time) {
    const std::optional<std::size_t> target = FindAskedMemo(memos, position, asked);
    if (!target) {
        return;
    }
    if (remove) {
        memos.erase(memos.begin() + static_cast<std::ptrdiff_t>(*target));
    } else {
        MemoEntry& memo = memos[*target];
        // Past the present: No means "later", however late the memo already was.
        memo.time = PostponedTime(memo.time, time.Now());
        memo.line.reset();
    }
}

}  // namespace

QString ReminderText(const MemoEntry& memo) {
    // One arg() for both, so a memo text holding "%1" stays as typed.
    //: The reminder's question: %1 is the memo's date and time, %2 its text.
    return QCoreApplication::translate("Reminder", "%1 %2 - 删除此备忘？")
        .arg(QString::fromLatin1(FormatLocalTime(memo.time, "%Y-%m-%d %H:%M")),
             DecodeMemoText(memo.text));
}

bool RunMemoCheck(MemoStore& store, bool& inReminder, const Services& services, QWidget* owner) {
    if (inReminder) {
        return true;  // a box is open; the run after its answer catches up
    }
    store.ReadAgainIfUnread();
    // Each answer starts the scan again with a new time sample, so memos that fell due while a
    // box was open are asked next.
    for (;;) {
        const std::int64_t now = services.time->Now();
        const MemoList& memos = store.memos();
        const auto due = std::find_if(memos.begin(), memos.end(), [now](const MemoEntry& memo) {
            return memo.usable() && now >= memo.time;
        });
        if (due == memos.end()) {
            break;
        }
        const std::size_t i = static_cast<std::size_t>(due - memos.begin());
        inReminder = true;
        services.alarm->Start();
        const MemoEntry asked = *due;
        const std::optional<bool> remove = services.question->AskYesNo(
            owner, QCoreApplication::translate("Reminder", "memo"), ReminderText(asked));
        services.alarm->Stop();
        inReminder = false;
        if (!remove) {
            // The program is ending: the memo stays as it was, due at the next start.
            SaveMemos(store, services, owner);
            return false;
        }
        ApplyAnswer(store.Edit(), i, asked, *remove, *services.time);
        // At once: an answer must outlive a crash before the next box is answered.
        SaveMemos(store, services, owner);
    }
    SaveMemos(store, services, owner);
    return true;
}

bool SaveMemos(MemoStore& store, const Services& services, QWidget* owner, bool mayAsk) {
    const MemoSaveReport report = store.SaveIfDirty();
    const QString path = QDir::toNativeSeparators(store.path());
    if (report.failureEnds) {
        std::fprintf(stderr, "kelvarine: the memos are saved to %s again\n", qPrintable(path));
    }
    if (report.failureBegins) {
        std::fprintf(stderr,
                     "kelvarine: could not save the memos to %s: %s; will retry every minute\n",
                     qPrintable(path), qPrintable(report.result.reason));
        if (mayAsk) {
            services.question->Warn(
                owner, QLatin1String(kAppTitle),
                //: %1 is the memo file, %2 the system's reason.
                QCoreApplication::translate(
                    "Reminder",
                    "The memos could not be saved to %1:\n%2.\n\nThey are kept while the clock "
                    "runs, and saved as soon as that works again.")
                    .arg(path, report.result.reason));
        }
    }
    return report.result.ok;
}
