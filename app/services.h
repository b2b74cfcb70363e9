#pragma once

#include <cstdint>
#include <optional>

#include <QString>

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
    // True for Yes.
    virtual bool AskYesNo(QWidget* owner, const QString& caption, const QString& text) = 0;
    // A warning with an exclamation icon and an OK button.
    virtual void Warn(QWidget* owner, const QString& caption, const QString& text) = 0;
    // The desktop's warning sound.
    virtual void Beep() = 0;
};

class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    virtual std::optional<QString> Read(const QString& group, const QString& key) const = 0;
    // False when the value could not be stored.
    virtual bool Write(const QString& group, const QString& key, const QString& value) = 0;
};

class AutostartStore {
public:
    virtual ~AutostartStore() = default;
    // The command line the session starts at log-in, if any.
    virtual std::optional<QString> ReadCommand() const = 0;
    virtual bool WriteCommand(const QString& program) = 0;
    virtual bool Remove() = 0;
};

class ShellOpener {
public:
    virtual ~ShellOpener() = default;
    // True when the target was handed to a program that opens it.
    virtual bool Open(const QString& target) = 0;
};

struct Paths {
    QString memoFile;    // the user's memos
    QString configFile;  // INI file with the chosen skin
    QString lockFile;    // held while a clock runs, so only one does
};

// Borrowed pointers: whoever builds the set keeps the pieces alive longer than the windows.
struct Services {
    TimeSource* time = nullptr;
    Alarm* alarm = nullptr;
    Question* question = nullptr;
    ProfileStore* profile = nullptr;
    AutostartStore* autostart = nullptr;
    ShellOpener* shell = nullptr;
    Paths paths;
};
