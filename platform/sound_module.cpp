// The sound system, loaded by SoundAlarm at the first alarm.

#include <memory>

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include "platform/sound_alarm.h"

namespace {

// Loops the sound until stopped; silence when there is no audio device.
class EffectAlarm : public Alarm {
public:
    explicit EffectAlarm(QUrl source) : m_source(std::move(source)) {}

    void Start() override {
        if (QMediaDevices::audioOutputs().isEmpty()) {
            return;
        }
        if (!m_effect) {
            m_effect = std::make_unique<QSoundEffect>();
            m_effect->setLoopCount(QSoundEffect::Infinite);
            m_effect->setSource(m_source);
        }
        // Plays as soon as the sample has loaded if it has not yet.
        m_effect->play();
    }

    void Stop() override {
        if (m_effect) {
            m_effect->stop();
        }
    }

private:
    QUrl m_source;
    std::unique_ptr<QSoundEffect> m_effect;
};

}  // namespace

extern "C" Q_DECL_EXPORT Alarm* KelvarineCreateSoundAlarm(const char* source) {
    return new EffectAlarm(QUrl(QString::fromUtf8(source)));
}
