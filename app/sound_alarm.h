#pragma once

#include <memory>

#include <QUrl>

#include "app/services.h"

class QSoundEffect;

// The reminder's alarm: the embedded sound, looping until stopped. Without an audio device
// it stays silent and says nothing.
class SoundAlarm : public Alarm {
public:
    explicit SoundAlarm(QUrl source = QUrl(QStringLiteral("qrc:/wave/146")));
    ~SoundAlarm() override;

    void Start() override;
    void Stop() override;

private:
    QUrl m_source;
    // Made at the first Start, so a run without reminders never touches the audio system.
    std::unique_ptr<QSoundEffect> m_effect;
};
