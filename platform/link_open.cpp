#include "platform/link_open.h"

#include "logic/desktop_entry.h"

QString OpenErrorText(int code) {
    switch (code) {
        case 0:
            return QStringLiteral("The operating system is out\nof memory or resources.");
        case 2:
            return QStringLiteral("The specified file was not found.");
        case 3:
            return QStringLiteral("The specified path was not found.");
        case 5:
            return QStringLiteral("The operating system denied\naccess to the specified file.");
        case 8:
            return QStringLiteral("There was not enough memory to complete the operation.");
        case 11:
            return QStringLiteral(
                "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).");
        case 26:
            return QStringLiteral("A sharing violation occurred. ");
        case 27:
            return QStringLiteral("The filename association is\nincomplete or invalid.");
        case 28:
            return QStringLiteral(
                "The DDE transaction could not\nbe completed because the request timed out.");
        case 29:
            return QStringLiteral("The DDE transaction failed.");
        case 30:
            return QStringLiteral(
                "The DDE transaction could not\nbe completed because other DDE transactions\n"
                "were being processed.");
        case 31:
            return QStringLiteral(
                "There is no application associated\nwith the given filename extension.");
        case 32:
            return QStringLiteral("The specified dynamic-link library was not found.");
        default:
            return QStringLiteral("Unknown Error (%1) occurred.").arg(code);
    }
}

QString OpenErrorMessage(int code) {
    return QStringLiteral("Unable to open hyperlink:\n\n") + OpenErrorText(code);
}

std::optional<QStringList> FallbackCommandFromEntry(const QByteArray& entryText,
                                                    const QString& entryPath,
                                                    const QString& target) {
    const std::optional<DesktopEntry> entry = DesktopEntry::Parse(entryText);
    if (!entry) {
        return std::nullopt;
    }
    const std::optional<QString> exec = entry->RawValue(QStringLiteral("Exec"));
    if (!exec || exec->toUtf8().size() > kMaxDefaultValueBytes) {
        return std::nullopt;
    }
    const ExecContext context{entry->Value(QStringLiteral("Icon")).value_or(QString()),
                              entry->Value(QStringLiteral("Name")).value_or(QString()), entryPath};
    const std::optional<ExecCommand> command = ParseExec(UnescapeValue(*exec), context);
    if (!command || command->arguments.isEmpty() || command->arguments.front().isEmpty()) {
        return std::nullopt;
    }
    QStringList arguments = command->arguments;
    arguments.push_back(target);
    if (arguments.join(u' ').toUtf8().size() > kMaxCommandBytes) {
        return std::nullopt;
    }
    return arguments;
}

std::optional<QStringList> BrowserFallbackCommand(MimeDefaults& mime,
                                                  const QStringList& applicationDirs,
                                                  const QString& target) {
    const std::optional<QString> id = mime.DefaultApplication(QStringLiteral("text/html"));
    if (!id || id->isEmpty() || id->toUtf8().size() > kMaxDefaultValueBytes) {
        return std::nullopt;
    }
    const QString path = FindDesktopEntry(*id, applicationDirs);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    const std::optional<QByteArray> text = ReadSmallFile(path);
    if (!text) {
        return std::nullopt;
    }
    return FallbackCommandFromEntry(*text, path, target);
}
