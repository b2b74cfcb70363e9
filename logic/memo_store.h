#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include <QString>

#include "logic/atomic_file.h"
#include "logic/failure_streak.h"
#include "logic/memo.h"
#include "logic/memo_edits.h"
#include "logic/memo_file.h"

// How one save went, and what the user should hear of it: a run of failed saves is told once,
// when it begins, and its end once, when a save works again (see FailureStreak).
struct MemoSaveReport {
    WriteResult result;          // also ok when there was nothing to write
    bool failureBegins = false;  // failed, and the save before had not
    bool failureEnds = false;    // written, and the save before had failed
};

// The reminder box's caption, and its question for a memo: the memo's minute and text, and
// whether to delete it.
QString ReminderCaption();
QString ReminderText(const MemoEntry& memo);

// The user's memos for the whole run, shared with whoever else edits the memo file: the list is
// the file's lines as last read, with the changes the clock made itself (answers, the memo
// dialog's edits) applied to them. When the file changes on disk it is read again and those
// changes are applied anew, so a hand edit is never undone; a change whose line someone else
// changed or deleted meanwhile is dropped, theirs wins. The only code that reads or writes the
// memo file. Every memo it holds has an id of its own (see MemoId), which it keeps while its line
// stays as it is.
class MemoStore {
public:
    explicit MemoStore(QString path) : m_path(std::move(path)) {}

    // Clears away what crashed saves left beside the file (under the lock: see
    // CleanUpAfterCrashedSaves), then reads it. False when the file is there but cannot be read
    // (problem() says why): the list then holds none of its memos, so the file is never written
    // over, and each look reads it again.
    bool Load();
    // Reads the file again when it is no longer what the store last read or wrote. False while
    // it cannot be read.
    bool Refresh();
    // Why the memo file cannot be read; empty when it was read.
    const QString& problem() const { return m_fileStamp.problem; }
    const MemoList& memos() const { return m_memos; }

    // What the user did in the memo dialog (see CommitListEdits).
    void CommitEdits(std::vector<ListedMemo> filled, std::vector<ListedMemo> shown);
    // The first memo in list order that is due at `now`; lines the clock cannot use never are.
    std::optional<MemoEntry> NextDue(std::int64_t now) const;
    // The user's answer to the reminder of memo `id`, wherever it stands in the list now: Yes
    // deletes it, No postpones it by whole five minutes from its own time to the first such
    // step after `now`. False when no memo has that id any more (its line was deleted or
    // changed while the box was open): nothing changes then.
    bool Answer(MemoId id, bool remove, std::int64_t now);
    // Keeps every memo at the wall-clock minute its line shows while `reload` changes the time
    // zone (see KeepWallClockAcross). The lines stay the same, so the file needs no save.
    void FollowZoneChange(const std::function<void()>& reload) {
        KeepWallClockAcross(m_memos, [&] { KeepWallClockAcross(m_fileMemos, reload); });
    }
    // The clock has changes the file does not have yet.
    bool dirty() const { return !m_changes.empty(); }
    const QString& path() const { return m_path; }

    // Writes the clock's changes to the file as it is now (read again first when it changed).
    // A failed write leaves the file as it was and the changes waiting, so the next save tries
    // again; so does a file that cannot be read.
    MemoSaveReport SaveIfDirty();

private:
    using Change = std::function<void(MemoList&)>;
    void Apply(Change change);
    bool Read();
    void GiveIds(MemoList& list);

    QString m_path;
    MemoList m_fileMemos;           // the file's lines as last read or written, with their ids
    std::vector<Change> m_changes;  // the clock's own, not in the file yet, in the order made
    MemoList m_memos;               // m_fileMemos with m_changes applied
    MemoFileStamp m_fileStamp;      // what the clock last read from or wrote to the memo file
    MemoId m_nextId = 1;
    FailureStreak m_failures;  // of the saves that had something to write
};
