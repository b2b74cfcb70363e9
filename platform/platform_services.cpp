#include "platform/platform_services.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include "logic/ini_text.h"
#include "platform/autostart_store.h"
#include "platform/message_box_question.h"
#include "platform/program_launcher.h"
#include "platform/shell_opener.h"
#include "platform/sound_alarm.h"
#include "platform/xdg_mime_defaults.h"
#include "platform/xdg_paths.h"

Paths DefaultPaths() {
    const QString data = XdgDataHome() + QStringLiteral("/kelvarine");
    const QString config = XdgConfigHome() + QStringLiteral("/kelvarine");
    const QString runtime = XdgRuntimeDir();
    const QString lockDir = !runtime.isEmpty() ? runtime : data;
    return {data + QStringLiteral("/memo.txt"), config + QStringLiteral("/kelvarine.ini"),
            lockDir + QStringLiteral("/kelvarine.lock"), QCoreApplication::applicationFilePath()};
}

std::int64_t SystemTime::NowMs() const {
    return QDateTime::currentMSecsSinceEpoch();
}

std::optional<QString> IniProfileStore::Read(const QString& group, const QString& key) const {
    QSettings settings(m_path, QSettings::IniFormat);
    settings.beginGroup(group);
    if (!settings.contains(key)) {
        return std::nullopt;
    }
    return settings.value(key).toString();
}

WriteResult IniProfileStore::Write(const QString& group, const QString& key, const QString& value) {
    QByteArray old;
    if (QFileInfo::exists(m_path)) {
        QFile file(m_path);
        if (!file.open(QIODevice::ReadOnly)) {
            return {false, file.errorString()};
        }
        old = file.readAll();
    }
    return WriteFileAtomically(m_path,
                               SetIniValue(old, group.toUtf8(), key.toUtf8(), value.toUtf8()));
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
