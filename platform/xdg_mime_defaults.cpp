#include "platform/xdg_mime_defaults.h"

#include <QProcess>

namespace {

// An ID is one short line; more than this is no answer.
constexpr qint64 kMaxAnswerBytes = 4096;

}  // namespace

std::optional<QString> XdgMimeDefaults::DefaultApplication(const QString& mimeType) {
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(QStringLiteral("xdg-mime"),
                  {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!process.waitForStarted(m_timeoutMs)) {
        return std::nullopt;
    }
    if (!process.waitForFinished(m_timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        return std::nullopt;
    }
    const QByteArray output = process.readAllStandardOutput();
    if (output.size() > kMaxAnswerBytes) {
        return std::nullopt;
    }
    const qsizetype end = output.indexOf('\n');
    return QString::fromUtf8(output.left(end < 0 ? output.size() : end).trimmed());
}
