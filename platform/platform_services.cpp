#include "platform/platform_services.h"

#include <unistd.h>

#include <climits>

#include <QCoreApplication>

#include "logic/user_file.h"
#include "platform/autostart_store.h"
#include "platform/ini_profile_store.h"
#include "platform/message_box_question.h"
#include "platform/program_launcher.h"
#include "platform/shell_opener.h"
#include "platform/sound_alarm.h"
#include "platform/system_time.h"
#include "platform/xdg_mime_defaults.h"
#include "platform/xdg_paths.h"

namespace {

// The program's own path as bytes: an install folder need not be UTF-8.
QString ProgramPath() {
    char path[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path);
    if (n > 0 && n < static_cast<ssize_t>(sizeof path)) {
        return DecodePath(QByteArray(path, n));
    }
    return QCoreApplication::applicationFilePath();
}

}  // namespace

Paths DefaultPaths() {
    const QString data = XdgDataHome() + QStringLiteral("/kelvarine");
    const QString config = XdgConfigHome() + QStringLiteral("/kelvarine");
    return {data + QStringLiteral("/memo.txt"), config + QStringLiteral("/kelvarine.ini"),
            ProgramPath()};
}

PlatformServices::PlatformServices()
    : m_time(std::make_unique<SystemTime>()),
      m_alarm(std::make_unique<SoundAlarm>()),
      m_question(std::make_unique<MessageBoxQuestion>()),
      m_autostart(std::make_unique<XdgAutostartStore>(DefaultAutostartPath())),
      m_mime(std::make_unique<XdgMimeDefaults>()),
      m_launcher(std::make_unique<DetachedProgramLauncher>()),
      m_shell(std::make_unique<XdgShellOpener>(*m_mime)) {
    m_services.paths = DefaultPaths();
    m_profile = std::make_unique<IniProfileStore>(m_services.paths.configFile);
    m_services.time = m_time.get();
    m_services.alarm = m_alarm.get();
    m_services.question = m_question.get();
    m_services.profile = m_profile.get();
    m_services.autostart = m_autostart.get();
    m_services.mime = m_mime.get();
    m_services.launcher = m_launcher.get();
    m_services.shell = m_shell.get();
}

PlatformServices::~PlatformServices() = default;
