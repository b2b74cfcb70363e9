// The sound system, loaded by SoundAlarm at the first alarm: the alarm's samples looped to the
// desktop's sound server (PulseAudio, or PipeWire through its PulseAudio service) with libpulse.
//
// Each alarm connects anew, and a ringing alarm whose server went away connects again every
// second until it is stopped: a server restarted since the last alarm, or during this one, is
// reached. (Qt Multimedia keeps one connection for the life of the program and gives it up
// for good when the server is not back within its one retry, three seconds after losing it:
// every later alarm was silent until the clock restarted.) A server that cannot be reached is
// told once on stderr, until one is reached again; the alarm is then silent, and never holds
// up the reminder: all the talking to the server happens on libpulse's own thread.

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QUrl>

#include "logic/failure_streak.h"
#include "logic/log_line.h"
#include "platform/sound_alarm.h"

namespace {

constexpr char kApplicationName[] = "Kelvarine";
constexpr pa_usec_t kRetryUsec = PA_USEC_PER_SEC;

struct Sound {
    pa_sample_spec spec{};
    QByteArray samples;  // whole frames
};

std::uint32_t Le32(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return b[0] | (b[1] << 8) | (b[2] << 16) | (std::uint32_t(b[3]) << 24);
}
std::uint16_t Le16(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return std::uint16_t(b[0] | (b[1] << 8));
}

// A RIFF WAVE file of integer PCM (8, 16, 24 or 32 bits) or 32-bit floats; nullopt, with the
// reason in `why`, for anything else.
std::optional<Sound> ReadWave(const QByteArray& file, QString& why) {
    const char* data = file.constData();
    const qsizetype size = file.size();
    if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0) {
        why = QStringLiteral("not a WAVE file");
        return std::nullopt;
    }
    std::optional<Sound> sound;
    bool haveFormat = false;
    qsizetype at = 12;
    while (at + 8 <= size) {
        const char* id = data + at;
        const qsizetype length = Le32(data + at + 4);
        const qsizetype body = at + 8;
        const qsizetype available = std::min<qsizetype>(length, size - body);
        if (std::memcmp(id, "fmt ", 4) == 0 && available >= 16) {
            std::uint16_t format = Le16(data + body);
            const std::uint16_t channels = Le16(data + body + 2);
            const std::uint32_t rate = Le32(data + body + 4);
            const std::uint16_t bits = Le16(data + body + 14);
            if (format == 0xFFFE && available >= 26) {  // WAVE_FORMAT_EXTENSIBLE: its subformat
                format = Le16(data + body + 24);
            }
            Sound s;
            s.spec.channels = static_cast<std::uint8_t>(channels);
            s.spec.rate = rate;
            s.spec.format = PA_SAMPLE_INVALID;
            if (format == 1) {
                switch (bits) {
                    case 8:
                        s.spec.format = PA_SAMPLE_U8;
                        break;
                    case 16:
                        s.spec.format = PA_SAMPLE_S16LE;
                        break;
                    case 24:
                        s.spec.format = PA_SAMPLE_S24LE;
                        break;
                    case 32:
                        s.spec.format = PA_SAMPLE_S32LE;
                        break;
                    default:
                        break;
                }
            } else if (format == 3 && bits == 32) {
                s.spec.format = PA_SAMPLE_FLOAT32LE;
            }
            if (channels == 0 || channels > PA_CHANNELS_MAX || !pa_sample_spec_valid(&s.spec)) {
                why = QStringLiteral("not PCM samples libpulse can play");
                return std::nullopt;
            }
            sound = s;
            haveFormat = true;
        } else if (std::memcmp(id, "data", 4) == 0) {
            if (!haveFormat) {
                why = QStringLiteral("samples before their format");
                return std::nullopt;
            }
            const qsizetype frame = static_cast<qsizetype>(pa_frame_size(&sound->spec));
            sound->samples = file.mid(body, available - available % frame);
            if (sound->samples.isEmpty()) {
                why = QStringLiteral("no samples");
                return std::nullopt;
            }
            return sound;
        }
        at = body + length + (length & 1);
    }
    why = haveFormat ? QStringLiteral("no samples") : QStringLiteral("no format");
    return std::nullopt;
}

std::optional<Sound> LoadSound(const QString& source, QString& why) {
    const QUrl url(source);
    const QString path = url.scheme() == QLatin1String("qrc") ? QLatin1Char(':') + url.path()
                         : url.isLocalFile()                  ? url.toLocalFile()
                                                              : source;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        why = file.errorString();
        return std::nullopt;
    }
    return ReadWave(file.readAll(), why);
}

// Loops the sound while started. Everything from `m_context` on belongs to the main loop's
// thread, or to whoever holds its lock.
class PulseAlarm : public Alarm {
public:
    explicit PulseAlarm(QString source) : m_source(std::move(source)) {}
    ~PulseAlarm() override { Stop(); }
    PulseAlarm(const PulseAlarm&) = delete;
    PulseAlarm& operator=(const PulseAlarm&) = delete;

    void Start() override {
        if (m_loop != nullptr) {
            return;  // ringing already
        }
        if (!m_soundRead) {
            m_soundRead = true;
            QString why;
            m_sound = LoadSound(m_source, why);
            if (!m_sound) {
                LogLine("the alarm sound %s cannot be played (%s); reminders will be silent",
                        qPrintable(m_source), qPrintable(why));
            }
        }
        if (!m_sound) {
            return;
        }
        m_loop = pa_threaded_mainloop_new();
        if (m_loop == nullptr) {
            return;
        }
        pa_threaded_mainloop_set_name(m_loop, "kelvarine-alarm");
        m_api = pa_threaded_mainloop_get_api(m_loop);
        m_offset = 0;
        m_autospawn = true;
        // Connected from the loop's thread: even a server that libpulse has to start first
        // never holds up the reminder's box.
        pa_mainloop_api_once(
            m_api, [](pa_mainloop_api*, void* self) { static_cast<PulseAlarm*>(self)->Connect(); },
            this);
        if (pa_threaded_mainloop_start(m_loop) < 0) {
            pa_threaded_mainloop_free(m_loop);
            m_loop = nullptr;
        }
    }

    void Stop() override {
        if (m_loop == nullptr) {
            return;
        }
        pa_threaded_mainloop_lock(m_loop);
        if (m_retry != nullptr) {
            m_api->time_free(m_retry);
            m_retry = nullptr;
        }
        Disconnect();
        pa_threaded_mainloop_unlock(m_loop);
        pa_threaded_mainloop_stop(m_loop);
        pa_threaded_mainloop_free(m_loop);
        m_loop = nullptr;
        m_api = nullptr;
    }

private:
    void Connect() {
        pa_proplist* properties = pa_proplist_new();
        pa_proplist_sets(properties, PA_PROP_APPLICATION_NAME, kApplicationName);
        pa_proplist_sets(properties, PA_PROP_APPLICATION_ICON_NAME, "kelvarine");
        pa_proplist_sets(properties, PA_PROP_MEDIA_ROLE, "event");
        m_context = pa_context_new_with_proplist(m_api, kApplicationName, properties);
        pa_proplist_free(properties);
        if (m_context == nullptr) {
            Failed("libpulse could not make a context");
            return;
        }
        pa_context_set_state_callback(
            m_context,
            [](pa_context*, void* self) { static_cast<PulseAlarm*>(self)->ContextChanged(); },
            this);
        // Only the first try of an alarm may have libpulse start a server, as the desktop
        // configured it; the tries after it look for one.
        const auto flags = m_autospawn ? PA_CONTEXT_NOFLAGS : PA_CONTEXT_NOAUTOSPAWN;
        m_autospawn = false;
        if (pa_context_connect(m_context, nullptr, flags, nullptr) < 0) {
            Failed(pa_strerror(pa_context_errno(m_context)));
        }
    }

    void Disconnect() {
        if (m_stream != nullptr) {
            pa_stream_set_state_callback(m_stream, nullptr, nullptr);
            pa_stream_set_write_callback(m_stream, nullptr, nullptr);
            pa_stream_disconnect(m_stream);
            pa_stream_unref(m_stream);
            m_stream = nullptr;
        }
        if (m_context != nullptr) {
            pa_context_set_state_callback(m_context, nullptr, nullptr);
            pa_context_disconnect(m_context);
            pa_context_unref(m_context);
            m_context = nullptr;
        }
    }

    void ContextChanged() {
        switch (pa_context_get_state(m_context)) {
            case PA_CONTEXT_READY:
                m_noServer.Record(false);
                Play();
                break;
            case PA_CONTEXT_FAILED:
            case PA_CONTEXT_TERMINATED:
                Failed(pa_strerror(pa_context_errno(m_context)));
                break;
            default:
                break;
        }
    }

    void Play() {
        m_stream = pa_stream_new(m_context, "Alarm", &m_sound->spec, nullptr);
        if (m_stream == nullptr) {
            Failed(pa_strerror(pa_context_errno(m_context)));
            return;
        }
        pa_stream_set_state_callback(
            m_stream,
            [](pa_stream* stream, void* self) {
                if (pa_stream_get_state(stream) == PA_STREAM_FAILED) {
                    auto* alarm = static_cast<PulseAlarm*>(self);
                    alarm->Failed(pa_strerror(pa_context_errno(alarm->m_context)));
                }
            },
            this);
        pa_stream_set_write_callback(
            m_stream,
            [](pa_stream*, size_t bytes, void* self) {
                static_cast<PulseAlarm*>(self)->Write(bytes);
            },
            this);
        if (pa_stream_connect_playback(m_stream, nullptr, nullptr, PA_STREAM_NOFLAGS, nullptr,
                                       nullptr) < 0) {
            Failed(pa_strerror(pa_context_errno(m_context)));
        }
    }

    // The server asks for more: the samples again and again, from where they stopped.
    void Write(size_t bytes) {
        const QByteArray& samples = m_sound->samples;
        const auto size = static_cast<size_t>(samples.size());
        while (bytes > 0) {
            const size_t chunk = std::min(bytes, size - m_offset);
            if (pa_stream_write(m_stream, samples.constData() + m_offset, chunk, nullptr, 0,
                                PA_SEEK_RELATIVE) < 0) {
                return;
            }
            m_offset = (m_offset + chunk) % size;
            bytes -= chunk;
        }
    }

    // No server, or it went away: said once, and tried again in a second while the alarm
    // rings.
    void Failed(const char* why) {
        if (m_noServer.Record(true) == FailureStreak::Turn::Begins) {
            LogLine("no sound server to ring the alarm (%s); trying again while it rings", why);
        }
        if (m_retry == nullptr) {
            m_retry = m_api->time_new(
                m_api, pa_timeval_add(pa_gettimeofday(&m_when), kRetryUsec),
                [](pa_mainloop_api*, pa_time_event*, const timeval*, void* self) {
                    static_cast<PulseAlarm*>(self)->Retry();
                },
                this);
        }
    }

    void Retry() {
        m_api->time_free(m_retry);
        m_retry = nullptr;
        Disconnect();
        Connect();
    }

    QString m_source;
    bool m_soundRead = false;
    std::optional<Sound> m_sound;
    pa_threaded_mainloop* m_loop = nullptr;
    pa_mainloop_api* m_api = nullptr;

    pa_context* m_context = nullptr;
    pa_stream* m_stream = nullptr;
    pa_time_event* m_retry = nullptr;
    timeval m_when{};
    size_t m_offset = 0;
    bool m_autospawn = true;
    FailureStreak m_noServer;  // that no server could be reached, since one last was
};

}  // namespace

extern "C" Q_DECL_EXPORT Alarm* KelvarineCreateSoundAlarm(const char* source) {
    return new PulseAlarm(QString::fromUtf8(source));
}
