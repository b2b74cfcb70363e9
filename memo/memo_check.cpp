#include "memo/memo_check.h"

#include <cstdio>
#include <optional>

namespace {

constexpr std::int64_t kPostponeSeconds = 300;

// The list may have been replaced while the box was open; the answer belongs to the memo that
// was asked about, wherever it stands now, and to no other.
std::optional<std::size_t> FindAskedMemo(const MemoList& memos, std::size_t position,
                                         const MemoEntry& asked) {
    if (position < memos.size() && memos[position] == asked) {
        return position;
    }
    for (std::size_t i = 0; i < memos.size(); ++i) {
        if (memos[i] == asked) {
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
    }
}

}  // namespace

QString ReminderText(const MemoEntry& memo) {
    return QString::fromLatin1(FormatLocalTime(memo.time, "%Y-%m-%d %H:%M ")) +
           DecodeMemoText(memo.text) + QStringLiteral(" - 删除此备忘？");
}

bool RunMemoCheck(MemoList& memos, bool& dirty, bool& inReminder, const Services& services,
                  QWidget* owner, MemoFileStamp* stamp) {
    if (inReminder) {
        return true;  // a box is open; the run after its answer catches up
    }
    const std::int64_t now = services.time->Now();
    bool nestedRunSaved = false;
    bool unanswered = false;
    for (std::size_t i = 0; i < memos.size(); ++i) {
        if (now < memos[i].time) {
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
        ApplyAnswer(memos, i, asked, *remove);
        dirty = true;
        const bool goesOn = RunMemoCheck(memos, dirty, inReminder, services, owner, stamp);
        nestedRunSaved = true;
        if (!goesOn) {
            unanswered = true;
            break;
        }
    }
    // The innermost run has already written the list as it stands now; writing it again (or
    // reporting the same failure again) from every enclosing run would gain nothing.
    if (dirty && !nestedRunSaved) {
        if (SaveMemoFile(services.paths.memoFile, memos, stamp)) {
            dirty = false;
        } else {
            std::fprintf(stderr, "kelvarine: could not write the memo file %s; will retry\n",
                         qPrintable(services.paths.memoFile));
        }
    }
    return !unanswered;
}
