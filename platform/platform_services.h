#pragma once

#include <memory>

#include "platform/services.h"

// Where the user's files live: the memo file under $XDG_DATA_HOME/kelvarine, the INI file under
// $XDG_CONFIG_HOME/kelvarine; and the program's own path.
Paths DefaultPaths();

// The system clock.
class SystemTime : public TimeSource {
public:
    std::int64_t NowMs() const override;
};

// The INI file: read as QSettings reads plain values, but only ever a regular file; written
// line by line, keeping every other line as it was, through WriteFileAtomically so that a full
// disk cannot cut it short. A file that is there but cannot be read is never replaced.
class IniProfileStore : public ProfileStore {
public:
    explicit IniProfileStore(QString path) : m_path(std::move(path)) {}
    std::optional<QString> Read(const QString& group, const QString& key) const override;
    QString ReadProblem() const override { return m_readProblem; }
    WriteResult Write(const QString& group, const QString& key, const QString& value) override;

private:
    QString m_path;
    mutable QString m_readProblem;
};

// The production set, owning its pieces.
class PlatformServices {
public:
    PlatformServices();
    ~PlatformServices();
    const Services& services() const { return m_services; }

private:
    std::unique_ptr<TimeSource> m_time;
    std::unique_ptr<Alarm> m_alarm;
    std::unique_ptr<Question> m_question;
    std::unique_ptr<ProfileStore> m_profile;
    std::unique_ptr<AutostartStore> m_autostart;
    std::unique_ptr<MimeDefaults> m_mime;
    std::unique_ptr<ProgramLauncher> m_launcher;
    std::unique_ptr<ShellOpener> m_shell;
    Services m_services;
};
