#pragma once

#include <memory>

#include <QString>
#include <QStringList>

#include "platform/services.h"

class QLibrary;

// The reminder's alarm: the embedded sound, looping until stopped. The sound system (libpulse,
// to PulseAudio or PipeWire, and all it loads) sits in a module of its own, loaded at the first
// alarm, so a clock that never rings never pays for it. Each alarm reaches the sound server
// anew, so one that restarted since is heard. Without the module or a sound server the alarm is
// silent and says so once on stderr.
class SoundAlarm : public Alarm {
public:
    // The module is looked for at each of `modules` in turn.
    explicit SoundAlarm(QStringList modules = DefaultSoundModules(),
                        QString source = QStringLiteral("qrc:/wave/146"));
    ~SoundAlarm() override;

    void Start() override;
    void Stop() override;

    // True once the module is loaded.
    bool loaded() const { return m_backend != nullptr; }

    // Beside the program (a build tree), then in the installed library folder.
    static QStringList DefaultSoundModules();

private:
    QStringList m_modules;
    QString m_source;
    bool m_bTried = false;
    std::unique_ptr<QLibrary> m_library;
    std::unique_ptr<Alarm> m_backend;
};

// What the module exports, by this name: an alarm playing `source` (a URL, UTF-8).
extern "C" {
using CreateSoundAlarmFn = Alarm* (*)(const char* source);
}
inline constexpr char kCreateSoundAlarmSymbol[] = "KelvarineCreateSoundAlarm";
