#pragma once

#include <atomic>
#include <cstdint>
#include <optional>

#include <QString>

#include "logic/atomic_file.h"
#include "logic/memo.h"
#include "logic/memo_file.h"

// How one save went, and what the user should hear of it: a run of failed saves is told once,
// when it begins, and its end once, when a save works again.
struct MemoSaveReport {
    WriteResult result;          // also ok when there was nothing to write
    bool failureBegins = false;  // failed, and the save before had not
    bool failureEnds = false;    // written, and the save before had failed
};

// The reminder box's caption, and its question for a memo: the memo's minute and text, and
// whether to delete it.
QString ReminderCaption();
QString ReminderText(const MemoEntry& memo);

// The user's memos for the whole run: the list, whether the file still has to follow it, and
// what the file held when last read or written. The only code that reads or writes the memo
// file. Every memo it holds has an id of its own (see MemoId).
class MemoStore {
public:
    explicit MemoStore(QString path) : m_path(std::move(path)) {}

    // Clears away what crashed saves left beside the file (under the lock: see
    // CleanUpAfterCrashedSaves), then reads it. False when the file is there but cannot be read
    // (problem() says why): the list then holds none of its memos, so the file is never written
    // over, and each save reads it again first.
    bool Load();
    // While the file could not be read: reads it again; memos made meanwhile follow its own.
    // True once it has been read.
    bool ReadAgainIfUnread();
    // Why the memo file cannot be read; empty when it was read.
    const QString& problem() const { return m_fileStamp.problem; }
    const MemoList& memos() const { return m_memos; }
    // Puts a new list in place of the old one; entries without an id get one.
    void Replace(MemoList list);
    // Adds a memo at the end of the list; it gets an id.
    void Add(MemoEntry memo);

    // The first memo in list order that is due at `now`; lines the clock cannot use never are.
    std::optional<MemoEntry> NextDue(std::int64_t now) const;
    // The user's answer to the reminder of memo `id`, wherever it stands in the list now: Yes
    // deletes it, No postpones it by whole five minutes from its own time to the first such
    // step after `now`. False when no memo has that id any more (the user deleted it while the
    // box was open): nothing changes then.
    bool Answer(MemoId id, bool remove, std::int64_t now);
    // Keeps every memo at the wall-clock minute its line shows while `reload` changes the time
    // zone (see KeepWallClockAcross). The lines stay the same, so the file needs no save.
    void FollowZoneChange(const std::function<void()>& reload) {
        KeepWallClockAcross(m_memos, reload);
    }
    // Safe in a signal handler, on any thread.
    bool dirty() const { return m_dirty.load(); }
    const QString& path() const { return m_path; }

    // Writes the list when it has changes the file does not have. A failed write leaves the
    // file as it was and the list dirty, so the next save tries again; so does a file that
    // still cannot be read.
    MemoSaveReport SaveIfDirty();

private:
    void GiveIds();
    bool Read();

    QString m_path;
    MemoList m_memos;
    // The list has changes the memo file does not have yet; true until a save of them has
    // ended. Atomic, as the handler of SIGTERM reads it.
    std::atomic<bool> m_dirty{false};
    MemoFileStamp m_fileStamp;  // what the clock last read from or wrote to the memo file
    MemoId m_nextId = 1;
    bool m_failing = false;  // the last save failed
    bool m_read = false;     // the file was read (or there was none)
};
