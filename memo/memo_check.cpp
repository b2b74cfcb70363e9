#include "memo/memo_check.h"

#include <cstdio>
#include <optional>

#include <QDir>

#include "logic/resource_ids.h"

namespace {

constexpr std::int64_t kPostponeSeconds = 300;

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

void ApplyAnswer(MemoList& memos, std::size_t position, const MemoEntry& asked, bool remove) {
    const std::optional<std::size_t> target = FindAskedMemo(memos, position, asked);
    if (!target) {
        return;
    }
    if (remove) {
        memos.erase(memos.begin() + static_cast<std::ptrdiff_t>(*target));
    } else {
        memos[*target].time += kPostponeSeconds;
        memos[*target].line.reset();  // written anew from its time
    }
}

}  // namespace

QString ReminderText(const MemoEntry& memo) {
    return QString::fromLatin1(FormatLocalTime(memo.time, "%Y-%m-%d %H:%M ")) +
           DecodeMemoText(memo.text) + QStringLiteral(" - 删除此备忘？");
}

bool RunMemoCheck(MemoStore& store, bool& inReminder, const Services& services, QWidget* owner) {
    const MemoList& memos = store.memos();
    if (inReminder) {
        return true;  // a box is open; the run after its answer catches up
    }
    const std::int64_t now = services.time->Now();
    bool nestedRunSaved = false;
    bool unanswered = false;
    for (std::size_t i = 0; i < memos.size(); ++i) {
        if (!memos[i].usable() || now < memos[i].time) {
            continue;
        }
        inReminder = true;
        services.alarm->Start();
        const MemoEntry asked = memos[i];
        const std::optional<bool> remove =
            services.question->AskYesNo(owner, QStringLiteral("memo"), ReminderText(asked));
        services.alarm->Stop();
        inReminder = false;
        if (!remove) {
            // The program is ending: the memo stays as it was, due at the next start.
            unanswered = true;
            break;
        }
        ApplyAnswer(store.Edit(), i, asked, *remove);
        const bool goesOn = RunMemoCheck(store, inReminder, services, owner);
        nestedRunSaved = true;
        if (!goesOn) {
            unanswered = true;
            break;
        }
    }
    // The innermost run has already written the list as it stands now; writing it again (or
    // reporting the same failure again) from every enclosing run would gain nothing.
    if (!nestedRunSaved) {
        SaveMemos(store, services, owner);
    }
    return !unanswered;
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
                QStringLiteral("The memos could not be saved to %1:\n%2.\n\nThey are kept while "
                               "the clock runs, and saved as soon as that works again.")
                    .arg(path, report.result.reason));
        }
    }
    return report.result.ok;
}
