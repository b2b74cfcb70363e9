#include "logic/memo_store.h"
#include "logic/crashed_saves.h"
#include "logic/log_line.h"

#include <algorithm>
#include <cstdio>

#include <QCoreApplication>
#include <QHash>

QString ReminderCaption() {
    return QCoreApplication::translate("Reminder", "memo");
}

QString ReminderText(const MemoEntry& memo) {
    // One arg() for both, so a memo text holding "%1" stays as typed.
    //: The reminder's question: %1 is the memo's date and time, %2 its text.
    return QCoreApplication::translate("Reminder", "%1 %2 - 删除此备忘？")
        .arg(QString::fromLatin1(MemoStampAt(memo.time)), DecodeMemoText(memo.text()));
}

bool MemoStore::Load() {
    QStringList kept;
    CleanUpAfterCrashedSaves(m_path, kept);
    for (const QString& copy : kept) {
        LogLine("a save of %s was cut short; a version is kept as %s",
                EncodePath(m_path).constData(), EncodePath(copy).constData());
    }
    return Read();
}

bool MemoStore::Refresh() {
    return (m_fileStamp.known && LooksUnchanged(m_path, m_fileStamp.version)) || Read();
}

namespace {

// Gives each line of `fresh` the id it had in `old` while its line is the same: a memo the user
// did not touch stays the memo an open reminder or the memo dialog knows.
void KeepIds(const MemoList& old, MemoList& fresh) {
    std::size_t same = 0;  // most often the file only grew, or one line changed
    while (same < old.size() && same < fresh.size() &&
           FormatMemoLine(old[same]) == FormatMemoLine(fresh[same])) {
        fresh[same].id = old[same].id;
        ++same;
    }
    QHash<QByteArray, std::vector<MemoId>> idsByLine;
    for (std::size_t i = old.size(); i-- > same;) {
        idsByLine[FormatMemoLine(old[i])].push_back(old[i].id);
    }
    for (std::size_t i = same; i < fresh.size() && !idsByLine.isEmpty(); ++i) {
        const auto ids = idsByLine.find(FormatMemoLine(fresh[i]));
        if (ids != idsByLine.end()) {
            fresh[i].id = ids->back();  // in file order, for lines that repeat
            ids->pop_back();
            if (ids->empty()) {
                idsByLine.erase(ids);
            }
        }
    }
}

}  // namespace

bool MemoStore::Read() {
    const QByteArray before = m_fileStamp.known ? m_fileStamp.version.bytes : QByteArray();
    const bool wasKnown = m_fileStamp.known && m_fileStamp.version.present;
    MemoList fromFile;
    LoadMemoFile(m_path, fromFile, &m_fileStamp);
    if (!m_fileStamp.problem.isEmpty()) {
        m_fileMemos.clear();
    } else if (wasKnown && m_fileStamp.version.present && m_fileStamp.version.bytes == before) {
        return true;  // touched, or written with the same bytes: the list stays as it is
    } else {
        KeepIds(m_fileMemos, fromFile);
        m_fileMemos = std::move(fromFile);
    }
    GiveIds(m_fileMemos);
    m_memos = m_fileMemos;
    for (const Change& change : m_changes) {
        change(m_memos);
    }
    GiveIds(m_memos);
    return m_fileStamp.problem.isEmpty();
}

void MemoStore::Apply(Change change) {
    change(m_memos);
    m_changes.push_back(std::move(change));
    GiveIds(m_memos);
}

void MemoStore::CommitEdits(std::vector<ListedMemo> filled, std::vector<ListedMemo> shown) {
    Apply([filled = std::move(filled), shown = std::move(shown)](MemoList& list) {
        list = CommitListEdits(list, filled, shown);
    });
}

std::optional<MemoEntry> MemoStore::NextDue(std::int64_t now) const {
    const auto due = std::find_if(m_memos.begin(), m_memos.end(), [now](const MemoEntry& memo) {
        return memo.usable() && now >= memo.time;
    });
    return due != m_memos.end() ? std::optional<MemoEntry>(*due) : std::nullopt;
}

bool MemoStore::Answer(MemoId id, bool remove, std::int64_t now) {
    // By identity: the list may have changed while the box was open, and a line is not a memo
    // (two memos can share one).
    const auto byId = [id](const MemoEntry& memo) { return memo.id == id; };
    const auto asked = std::find_if(m_memos.begin(), m_memos.end(), byId);
    if (asked == m_memos.end()) {
        return false;
    }
    // Past the present: No means "later", however late the memo already was.
    const std::int64_t later = PostponedTime(asked->time, now);
    Apply([byId, remove, later](MemoList& list) {
        const auto memo = std::find_if(list.begin(), list.end(), byId);
        if (memo == list.end()) {
            return;  // its line was changed or deleted by hand since: that stands
        }
        if (remove) {
            list.erase(memo);
        } else {
            memo->time = later;
            memo->DropLine();
        }
    });
    return true;
}

MemoSaveReport MemoStore::SaveIfDirty() {
    if (!dirty()) {
        return {};
    }
    MemoSaveReport report;
    report.result = Refresh() ? SaveMemoFile(m_path, m_memos, &m_fileStamp)
                              : WriteResult{false, m_fileStamp.problem};
    if (report.result) {
        m_fileMemos = m_memos;
        m_changes.clear();
    }
    const FailureStreak::Turn turn = m_failures.Record(!report.result);
    report.failureBegins = turn == FailureStreak::Turn::Begins;
    report.failureEnds = turn == FailureStreak::Turn::Ends;
    return report;
}

void MemoStore::GiveIds(MemoList& list) {
    for (MemoEntry& memo : list) {
        if (memo.id == 0) {
            memo.id = m_nextId++;
        }
    }
}
