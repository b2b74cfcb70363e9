#pragma once

#include <memory>

#include "platform/services.h"

// Where the user's files live: the memo file under $XDG_DATA_HOME/kelvarine, the INI file under
// $XDG_CONFIG_HOME/kelvarine; and the program's own path.
Paths DefaultPaths();

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
