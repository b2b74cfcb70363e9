#pragma once

#include <functional>

#include "logic/memo_store.h"
#include "platform/services.h"

class QWidget;

// While the clock runs a failed save is tried again by the next one; once it ends, never.
enum class SaveMoment { Running, Ending };

// The user's memos for the life of the clock and the one way to their file: every look at it
// and every save, how each is told, and the check that no other clock has taken the memos'
// folder. The application owns it; the windows get it by reference, and every way the clock
// ends reaches it (Finish).
class MemoKeeper {
public:
    explicit MemoKeeper(const Services& services)
        : m_services(services), m_store(services.paths.memoFile) {}
    ~MemoKeeper();
    MemoKeeper(const MemoKeeper&) = delete;
    MemoKeeper& operator=(const MemoKeeper&) = delete;

    MemoStore& store() { return m_store; }
    // The first look at start (see MemoStore::Load).
    bool Load() { return m_store.Load(); }
    // Before memos ring: the folder at the path is still this clock's (see FolderLock::Follow),
    // and the file is read again when it changed. False while another clock holds the folder:
    // nothing may ring here then. Losing the folder is told once, in a box over `owner` and on
    // stderr, and getting it back on stderr.
    bool Refresh(QWidget* owner);
    // Saves the memos when they have changes the file does not have, and tells how that went:
    // while running, the first failure of a run of them on stderr and in a warning box over
    // `owner` that names the file and the system's reason (later failures of the same run only
    // retry), and a save that works again after failures on stderr; when ending, any failure on
    // stderr only (the session may be going). True when the file has the list.
    bool Save(QWidget* owner, SaveMoment moment = SaveMoment::Running);

    // What an open memo dialog would commit when closed (nothing once it is hidden); Finish runs
    // it.
    void SetOpenEdits(std::function<void()> commit) { m_openEdits = std::move(commit); }
    // For every way the clock ends: an open memo dialog's edits committed, then saved. Touches
    // no window, so it also serves when the display has gone. Running it again does nothing new.
    void Finish();
    // Finish also when the process is ended from inside the event loop: when the X connection
    // breaks, Qt calls exit(), and no event or destructor of ours runs.
    void FinishAtExit();

private:
    bool FolderIsOurs(QWidget* owner, bool make, SaveMoment moment);

    const Services& m_services;
    MemoStore m_store;
    std::function<void()> m_openEdits;
    bool m_folderLost = false;
    struct ExitHook* m_exitHook = nullptr;  // registered for the exit, points back here
};
