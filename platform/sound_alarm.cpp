#include "platform/sound_alarm.h"
#include "logic/log_line.h"

#include <utility>

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>

#ifndef KELVARINE_SOUND_MODULE_DIR
#define KELVARINE_SOUND_MODULE_DIR "lib/kelvarine"
#endif

SoundAlarm::SoundAlarm(QStringList modules, QString source)
    : m_modules(std::move(modules)), m_source(std::move(source)) {}

SoundAlarm::~SoundAlarm() {
    // The module's code must outlive the alarm it made; the library stays loaded.
    m_backend.reset();
}

QStringList SoundAlarm::DefaultSoundModules() {
    const QString dir = QCoreApplication::applicationDirPath();
    return {dir + QStringLiteral("/kelvarine-sound.so"),
            dir + QStringLiteral("/../" KELVARINE_SOUND_MODULE_DIR "/kelvarine-sound.so")};
}

void SoundAlarm::Start() {
    if (!m_bTried) {
        m_bTried = true;
        for (const QString& path : std::as_const(m_modules)) {
            if (!QFileInfo(path).isFile()) {
                continue;
            }
            auto library = std::make_unique<QLibrary>(path);
            const auto create =
                reinterpret_cast<CreateSoundAlarmFn>(library->resolve(kCreateSoundAlarmSymbol));
            if (create != nullptr) {
                m_backend.reset(create(m_source.toUtf8().constData()));
                m_library = std::move(library);
                break;
            }
        }
        if (!m_backend) {
            LogLine("no sound module found; reminders will be silent");
        }
    }
    if (m_backend) {
        m_backend->Start();
    }
}

void SoundAlarm::Stop() {
    if (m_backend) {
        m_backend->Stop();
    }
}
