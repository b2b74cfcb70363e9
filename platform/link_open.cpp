#include "platform/link_open.h"

#include <QCoreApplication>
#include <QUrl>

#include "logic/desktop_entry.h"
#include "logic/exec_line.h"
#include "logic/user_file.h"
#include "platform/desktop_entry_files.h"

namespace {

// The reasons the failure box gives, by launcher result code.
struct OpenError {
    int code;
    const char* text;
};
constexpr OpenError kOpenErrors[] = {
    {0, QT_TRANSLATE_NOOP("LinkOpen", "The operating system is out\nof memory or resources.")},
    {2, QT_TRANSLATE_NOOP("LinkOpen", "The specified file was not found.")},
    {3, QT_TRANSLATE_NOOP("LinkOpen", "The specified path was not found.")},
    {5,
     QT_TRANSLATE_NOOP("LinkOpen", "The operating system denied\naccess to the specified file.")},
    {8, QT_TRANSLATE_NOOP("LinkOpen", "There was not enough memory to complete the operation.")},
    {11, QT_TRANSLATE_NOOP("LinkOpen",
                           "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).")},
    {26, QT_TRANSLATE_NOOP("LinkOpen", "A sharing violation occurred. ")},
    {27, QT_TRANSLATE_NOOP("LinkOpen", "The filename association is\nincomplete or invalid.")},
    {28, QT_TRANSLATE_NOOP("LinkOpen",
                           "The DDE transaction could not\nbe completed because the "
                           "request timed out.")},
    {29, QT_TRANSLATE_NOOP("LinkOpen", "The DDE transaction failed.")},
    {30, QT_TRANSLATE_NOOP("LinkOpen",
                           "The DDE transaction could not\nbe completed because other "
                           "DDE transactions\nwere being processed.")},
    {31, QT_TRANSLATE_NOOP("LinkOpen",
                           "There is no application associated\nwith the given "
                           "filename extension.")},
    {32, QT_TRANSLATE_NOOP("LinkOpen", "The specified dynamic-link library was not found.")},
};

}  // namespace

QString OpenErrorText(int code) {
    for (const OpenError& error : kOpenErrors) {
        if (error.code == code) {
            return QCoreApplication::translate("LinkOpen", error.text);
        }
    }
    return QCoreApplication::translate("LinkOpen", "Unknown Error (%1) occurred.").arg(code);
}

QString OpenErrorMessage(int code) {
    return QCoreApplication::translate("LinkOpen", "Unable to open hyperlink:") +
           QStringLiteral("\n\n") + OpenErrorText(code);
}

QString OpenFailureMessage(const QString& target, int code) {
    const QUrl url(target);
    if (url.scheme().compare(QLatin1String("mailto"), Qt::CaseInsensitive) != 0 ||
        url.path().isEmpty()) {
        return OpenErrorMessage(code);
    }
    // The reason alone leaves the user stuck; the address lets them write all the same.
    const bool noMailProgram = code == kLaunchNoAssociation || code == kLaunchFileNotFound ||
                               code == kLaunchAssocIncomplete;
    const QString reason = noMailProgram
                               ? QCoreApplication::translate(
                                     "LinkOpen", "No mail program is set up to open this link.")
                               : OpenErrorMessage(code);
    //: Followed by a line with the mail address alone, for the user to copy.
    return reason + QStringLiteral("\n\n") +
           QCoreApplication::translate("LinkOpen", "You can write to:") + QLatin1Char('\n') +
           url.path();
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
    const std::optional<QByteArray> text = ReadUserFile(path, kMaxDesktopEntryBytes).bytes;
    if (!text) {
        return std::nullopt;
    }
    return FallbackCommandFromEntry(*text, path, target);
}
