#include "app/sound_alarm.h"

#include <utility>

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>

SoundAlarm::SoundAlarm(QUrl source) : m_source(std::move(source)) {}

SoundAlarm::~SoundAlarm() = default;

void SoundAlarm::Start() {
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

void SoundAlarm::Stop() {
    if (m_effect) {
        m_effect->stop();
    }
}
