#include "logic/memo_store.h"

#include <algorithm>
#include <cstdio>

#include <QCoreApplication>

QString ReminderCaption() {
    return QCoreApplication::translate("Reminder", "memo");
}

QString ReminderText(const MemoEntry& memo) {
    // One arg() for both, so a memo text holding "%1" stays as typed.
    //: The reminder's question: %1 is the memo's date and time, %2 its text.
    return QCoreApplication::translate("Reminder", "%1 %2 - 删除此备忘？")
        .arg(QString::fromLatin1(FormatLocalTime(memo.time, "%Y-%m-%d %H:%M")),
             DecodeMemoText(memo.text));
}

bool MemoStore::Load() {
    QStringList kept;
    CleanUpAfterCrashedSaves(m_path, kept);
    for (const QString& copy : kept) {
        std::fprintf(stderr, "kelvarine: a save of %s was cut short; a version is kept as %s\n",
                     EncodePath(m_path).constData(), EncodePath(copy).constData());
    }
    return Read();
}

bool MemoStore::ReadAgainIfUnread() {
    return m_read || Read();
}

bool MemoStore::Read() {
    MemoList fromFile;
    LoadMemoFile(m_path, fromFile, &m_fileStamp);
    m_read = m_fileStamp.problem.isEmpty();
    if (m_read) {
        fromFile.insert(fromFile.end(), m_memos.begin(), m_memos.end());
        m_memos = std::move(fromFile);
        GiveIds();
    }
    return m_read;
}

void MemoStore::Add(MemoEntry memo) {
    m_memos.push_back(std::move(memo));
    m_dirty = true;
    GiveIds();
}

std::optional<MemoEntry> MemoStore::NextDue(std::int64_t now) const {
    const auto due = std::find_if(m_memos.begin(), m_memos.end(), [now](const MemoEntry& memo) {
        return memo.usable() && now >= memo.time;
    });
    return due != m_memos.end() ? std::optional<MemoEntry>(*due) : std::nullopt;
}

bool MemoStore::Answer(MemoId id, bool remove, std::int64_t now) {
    // By identity: the list may have been replaced while the box was open, and a line is not a
    // memo (two memos can share one).
    const auto asked = std::find_if(m_memos.begin(), m_memos.end(),
                                    [id](const MemoEntry& memo) { return memo.id == id; });
    if (asked == m_memos.end()) {
        return false;
    }
    if (remove) {
        m_memos.erase(asked);
    } else {
        // Past the present: No means "later", however late the memo already was.
        asked->time = PostponedTime(asked->time, now);
        asked->line.reset();
    }
    m_dirty = true;
    return true;
}

void MemoStore::Replace(MemoList list) {
    m_memos = std::move(list);
    m_dirty = true;
    GiveIds();
}

MemoSaveReport MemoStore::SaveIfDirty() {
    if (!m_dirty) {
        return {};
    }
    MemoSaveReport report;
    report.result = ReadAgainIfUnread() ? SaveMemoFile(m_path, m_memos, &m_fileStamp)
                                        : WriteResult{false, m_fileStamp.problem};
    report.failureBegins = !report.result && !m_failing;
    report.failureEnds = report.result && m_failing;
    m_failing = !report.result;
    m_dirty = !report.result;
    return report;
}

void MemoStore::GiveIds() {
    for (MemoEntry& memo : m_memos) {
        if (memo.id == 0) {
            memo.id = m_nextId++;
        }
    }
}
