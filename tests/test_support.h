#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include <QString>
#include <QTemporaryDir>

#include "platform/services.h"

// Seconds since 1970 of a local wall-clock time (the test process runs in TZ=UTC unless a
// test changes it).
std::int64_t LocalSeconds(int year, int month, int day, int hour, int minute, int second = 0);

class FakeTime : public TimeSource {
public:
    std::int64_t ms = 0;
    std::int64_t NowMs() const override { return ms; }
    void SetSeconds(std::int64_t s) { ms = s * 1000; }
};

class FakeAlarm : public Alarm {
public:
    std::vector<QString> log;  // "start" / "stop", in call order
    bool playing = false;
    void Start() override;
    void Stop() override;
};

// Answers questions from a script; each answer may run code while the "box" is open.
class ScriptedQuestion : public Question {
public:
    struct Answer {
        bool yes = false;
        std::function<void()> whileOpen;
        bool unanswered = false;  // the box goes away without an answer
    };
    std::vector<Answer> script;
    std::vector<QString> asked;  // texts, in order
    QString lastCaption;
    struct Warning {
        QString caption;
        QString text;
        bool operator==(const Warning&) const = default;
    };
    std::vector<Warning> warnings;  // in order
    int beeps = 0;
    std::optional<bool> AskYesNo(QWidget* owner, const QString& caption,
                                 const QString& text) override;
    void Warn(QWidget* owner, const QString& caption, const QString& text) override;
    void Beep() override { ++beeps; }
};

class MemoryProfile : public ProfileStore {
public:
    std::map<std::pair<QString, QString>, QString> values;
    bool failWrites = false;
    std::optional<QString> Read(const QString& group, const QString& key) const override;
    WriteResult Write(const QString& group, const QString& key, const QString& value) override;
};

// A full set of fakes with files in a fresh temporary folder.
struct TestServices {
    FakeTime time;
    FakeAlarm alarm;
    ScriptedQuestion question;
    MemoryProfile profile;
    QTemporaryDir dir;
    Services services;
    TestServices();
};

// Writes a file, creating its folders. A write that fails fails the test.
void WriteFile(const QString& path, const QByteArray& bytes);
// A file's bytes, or "<missing>" when it cannot be read.
QByteArray ReadFile(const QString& path);

// Runs fn in a child process as an unprivileged user when the tests run as root, so that
// permission failures really fail; returns fn's result (or -1 when the child died).
int RunUnprivileged(const std::function<int()>& fn);

// While it lives, every write that would make a file of this process larger than `bytes` fails
// with EFBIG, as writes to a full disk fail with ENOSPC: a real failing file system, without
// root. SIGXFSZ is ignored meanwhile, as the program does.
class FileSizeLimit {
public:
    explicit FileSizeLimit(std::uint64_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    std::uint64_t m_oldSoft = 0;
    void (*m_oldHandler)(int) = nullptr;
};

// Sets an environment variable (or unsets it, for nullopt) until the end of the scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<QByteArray>& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    std::optional<QByteArray> m_old;
};

// Answers every open with `result` and remembers the targets.
class FakeShellOpener : public ShellOpener {
public:
    int result = kLaunchNoAssociation;
    std::vector<QString> targets;
    int Open(const QString& target) override;
};

// Default applications from a table; a type not in it has none. `reachable` false makes the
// desktop one that cannot be asked.
class FakeMimeDefaults : public MimeDefaults {
public:
    std::map<QString, QString> defaults;  // MIME type -> desktop-file ID
    bool reachable = true;
    std::vector<QString> asked;
    std::optional<QString> DefaultApplication(const QString& mimeType) override;
};

// Records each start as program followed by its arguments, and answers with `result`.
class RecordingLauncher : public ProgramLauncher {
public:
    int result = kLaunchStarted;
    std::vector<QStringList> started;
    int StartDetached(const QString& program, const QStringList& arguments) override;
};

// An autostart entry in memory; WriteEntry stores the text the real store would write.
class MemoryAutostart : public AutostartStore {
public:
    std::optional<QByteArray> entry;
    bool failWrites = false;
    int writes = 0;   // WriteEntry calls
    int removes = 0;  // Remove calls
    std::optional<QByteArray> ReadEntry() const override { return entry; }
    WriteResult WriteEntry(const QString& program) override;
    bool Remove() override;
};
