#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include <QString>
#include <QTemporaryDir>

#include "platform/services.h"
#include "tests/logic/support.h"

class CHandsDlg;
class CMemoDlg;
class QWidget;

// A clock's overlay and memo dialog, found among its windows by their names, as a user's tools
// would; a clock without one fails the test.
CHandsDlg& OverlayOf(const QWidget& clock);
CMemoDlg& MemoDialogOf(const QWidget& clock);

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
