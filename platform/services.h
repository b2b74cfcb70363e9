#pragma once

#include <cstdint>
#include <optional>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "logic/atomic_file.h"

class QWidget;

// Everything the clock takes from the outside world. The application object owns one
// production set; tests hand in their own pieces so time, sound, answers and files are theirs.

class TimeSource {
public:
    virtual ~TimeSource() = default;
    // Milliseconds since 1970-01-01 00:00 UTC.
    virtual std::int64_t NowMs() const = 0;
    // Whole seconds since 1970, rounded toward the past (also before 1970).
    std::int64_t Now() const {
        const std::int64_t ms = NowMs();
        return ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
    }
};

class Alarm {
public:
    virtual ~Alarm() = default;
    // Starts the alarm sound looping; silence when there is no audio device.
    virtual void Start() = 0;
    virtual void Stop() = 0;
};

// The program's message boxes. Each blocks until dismissed while events keep flowing.
class Question {
public:
    virtual ~Question() = default;
    // True for Yes, false for No; nullopt when the box went away unanswered (the program is
    // ending).
    virtual std::optional<bool> AskYesNo(QWidget* owner, const QString& caption,
                                         const QString& text) = 0;
    // A warning with an exclamation icon and an OK button.
    virtual void Warn(QWidget* owner, const QString& caption, const QString& text) = 0;
    // The desktop's warning sound.
    virtual void Beep() = 0;
};

class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    virtual std::optional<QString> Read(const QString& group, const QString& key) const = 0;
    // Why the last Read could not use the file ("it is a named pipe, not a regular file");
    // empty when it could, or when there was none.
    virtual QString ReadProblem() const { return {}; }
    // Stores the value at once, or says why it could not.
    virtual WriteResult Write(const QString& group, const QString& key, const QString& value) = 0;
};

// The session's start-up entry for this program.
class AutostartStore {
public:
    virtual ~AutostartStore() = default;
    // The entry's bytes; nullopt when there is none, or no small regular file that can be read
    // (too large, a directory or pipe, unreadable).
    virtual std::optional<QByteArray> ReadEntry() const = 0;
    // Replaces the entry with one that starts `program` (an absolute path), or says why not.
    virtual WriteResult WriteEntry(const QString& program) = 0;
    // Deletes the entry; the folder stays. True when no entry is left.
    virtual bool Remove() = 0;
    // Where the entry lives, for messages.
    virtual QString Location() const { return {}; }
};

// Results of opening and starting, numbered as the classic shell launcher's: above 32 is
// success, anything else is the reason it failed.
inline constexpr int kLaunchFailed = 0;  // nothing more specific is known
inline constexpr int kLaunchFileNotFound = 2;
inline constexpr int kLaunchAccessDenied = 5;
inline constexpr int kLaunchAssocIncomplete = 27;  // registered, but the entry is unusable
inline constexpr int kLaunchNoAssociation = 31;
inline constexpr int kLaunchStarted = 33;
inline bool LaunchSucceeded(int code) {
    return code > 32;
}

class ShellOpener {
public:
    virtual ~ShellOpener() = default;
    // Hands the target to the program the desktop registered for it. kLaunchStarted when it was
    // handed over; kLaunchNoAssociation when nothing is registered for its scheme,
    // kLaunchFileNotFound when the registered program (or a local target) is missing.
    virtual int Open(const QString& target) = 0;
};

// The desktop's choice of application per MIME type.
class MimeDefaults {
public:
    virtual ~MimeDefaults() = default;
    // The desktop-file ID of the default application for `mimeType` ("text/html",
    // "x-scheme-handler/mailto"); empty when there is none, nullopt when the desktop could not
    // be asked.
    virtual std::optional<QString> DefaultApplication(const QString& mimeType) = 0;
};

// Starts programs without a shell, so arguments reach them exactly as given.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // kLaunchStarted once running detached; kLaunchFileNotFound, kLaunchAccessDenied or
    // kLaunchFailed otherwise.
    virtual int StartDetached(const QString& program, const QStringList& arguments) = 0;
};

// What keeps a second clock off the same memos: a lock on their folder.
class FolderLock {
public:
    virtual ~FolderLock() = default;
    // Whether this clock holds the lock on the folder now at the path. When the folder was moved
    // or replaced (a restore or sync tool), the lock moves to the one at the path (made first
    // when `make`), unless another clock holds that: false then. With no folder at the path
    // (and `make` false) the lock stays where it is.
    virtual bool Follow(bool make) = 0;
};

// Paths are kept as their bytes (see DecodePath).
struct Paths {
    QString memoFile;    // the user's memos; a running clock holds the lock on their folder
    QString configFile;  // INI file with the chosen skin
    QString program;     // this program's own executable, which the session entry starts
};

// Borrowed pointers: whoever builds the set keeps the pieces alive longer than the windows.
struct Services {
    TimeSource* time = nullptr;
    Alarm* alarm = nullptr;
    Question* question = nullptr;
    ProfileStore* profile = nullptr;
    AutostartStore* autostart = nullptr;
    ShellOpener* shell = nullptr;
    MimeDefaults* mime = nullptr;
    ProgramLauncher* launcher = nullptr;
    FolderLock* memoFolderLock = nullptr;  // none: no other clock to keep off
    Paths paths;
};
