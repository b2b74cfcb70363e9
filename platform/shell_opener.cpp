#include "platform/shell_opener.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QMimeDatabase>

#include "logic/desktop_entry.h"
#include "logic/exec_line.h"
#include "logic/user_file.h"
#include "platform/desktop_entry_files.h"
#include "platform/program_launcher.h"
#include "platform/xdg_paths.h"

XdgShellOpener::XdgShellOpener(MimeDefaults& mime, UrlOpener openUrl)
    : m_mime(mime), m_openUrl(std::move(openUrl)) {
    if (!m_openUrl) {
        m_openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    }
}

int XdgShellOpener::Open(const QString& target) {
    if (target.trimmed().isEmpty()) {
        return kLaunchFileNotFound;
    }
    // Without a scheme the target is a file, relative to the working folder.
    QUrl url(target);
    if (url.isValid() && url.scheme().isEmpty()) {
        url = QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
    }
    if (!url.isValid()) {
        return kLaunchFileNotFound;
    }
    QString mimeType;
    if (url.isLocalFile()) {
        const QString path = url.toLocalFile();
        if (!QFileInfo::exists(path)) {
            return kLaunchFileNotFound;
        }
        mimeType = QMimeDatabase().mimeTypeForFile(path).name();
    } else {
        mimeType = QStringLiteral("x-scheme-handler/") + url.scheme().toLower();
    }
    // A type nobody can name, or a desktop that cannot be asked: its opener still gets its chance.
    const std::optional<QString> id =
        mimeType.isEmpty() ? std::nullopt : m_mime.DefaultApplication(mimeType);
    if (id) {
        const int handler = CheckHandler(*id);
        if (!LaunchSucceeded(handler)) {
            return handler;
        }
    }
    return m_openUrl(url) ? kLaunchStarted : kLaunchFailed;
}

int XdgShellOpener::CheckHandler(const QString& id) const {
    if (id.isEmpty()) {
        return kLaunchNoAssociation;
    }
    // Registered, but the entry is gone or unusable: the association is incomplete.
    const QString path = FindDesktopEntry(id, ApplicationDirs());
    if (path.isEmpty()) {
        return kLaunchAssocIncomplete;
    }
    const std::optional<QByteArray> text = ReadUserFile(path, kMaxDesktopEntryBytes).bytes;
    const std::optional<DesktopEntry> entry = text ? DesktopEntry::Parse(*text) : std::nullopt;
    const std::optional<QString> exec = entry ? entry->Value(QStringLiteral("Exec")) : std::nullopt;
    const std::optional<ExecCommand> command =
        exec ? ParseExec(*exec, {QString(), QString(), path}) : std::nullopt;
    if (!command || command->arguments.isEmpty()) {
        return kLaunchAssocIncomplete;
    }
    return FindProgram(command->arguments.front()).isEmpty() ? kLaunchFileNotFound : kLaunchStarted;
}
