#include "platform/autostart_store.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "logic/atomic_file.h"
#include "logic/desktop_entry.h"
#include "logic/exec_line.h"
#include "logic/resource_ids.h"
#include "logic/user_file.h"
#include "platform/xdg_paths.h"

QString DefaultAutostartPath() {
    return XdgConfigHome() + QStringLiteral("/autostart/kelvarine.desktop");
}

namespace {

// What versions before TryExec wrote: recognised byte for byte, so only an entry provably the
// clock's own is rewritten.
QString EntryStart(const QString& program) {
    return QStringLiteral(
               "[Desktop Entry]\n"
               "Type=Application\n"
               "Name=%1\n"
               "Exec=%2\n")
        .arg(QLatin1String(kAppTitle), EscapeValue(QuoteExecArgument(program)));
}

}  // namespace

QByteArray AutostartEntryText(const QString& program) {
    // TryExec lets the session skip the entry quietly once the program is uninstalled.
    return (EntryStart(program) + QStringLiteral("TryExec=%1\n").arg(EscapeValue(program)))
        .toUtf8();
}

bool IsEarlierAutostartEntry(const QByteArray& entryText, const QString& program) {
    // The first version quoted the path always, later ones only where it needs quotes.
    const QString alwaysQuoted = QStringLiteral("\"%1\"").arg(program);
    return entryText == EntryStart(program).toUtf8() ||
           entryText ==
               EntryStart(program).replace(QuoteExecArgument(program), alwaysQuoted).toUtf8();
}

bool IsAutostartEntryFor(const QByteArray& entryText, const QString& program) {
    const std::optional<DesktopEntry> entry = DesktopEntry::Parse(entryText);
    if (!entry) {
        return false;
    }
    // Desktops switch an entry off rather than delete it; the session then does not run it.
    if (entry->Value(QStringLiteral("Hidden")) == u"true" ||
        entry->Value(QStringLiteral("X-GNOME-Autostart-enabled")) == u"false") {
        return false;
    }
    const std::optional<QString> exec = entry->Value(QStringLiteral("Exec"));
    const std::optional<ExecCommand> command = exec ? ParseExec(*exec) : std::nullopt;
    return command && !command->stoppedAtFileCode && command->arguments.size() == 1 &&
           command->arguments.front().compare(program, Qt::CaseInsensitive) == 0;
}

bool StartsWithSession(const AutostartStore& store, const QString& program) {
    const std::optional<QByteArray> entry = store.ReadEntry();
    return entry && IsAutostartEntryFor(*entry, program);
}

std::optional<QByteArray> XdgAutostartStore::ReadEntry() const {
    return ReadUserFile(m_path, kMaxDesktopEntryBytes).bytes;
}

WriteResult XdgAutostartStore::WriteEntry(const QString& program) {
    // An entry is UTF-8: a path that is not could only be written wrong.
    if (!PathIsText(program)) {
        return WriteResult::Failed(EILSEQ);
    }
    return WriteFileAtomically(m_path, AutostartEntryText(program));
}

bool XdgAutostartStore::Remove() {
    const QByteArray path = EncodePath(m_path);
    struct stat info = {};
    if (::lstat(path.constData(), &info) != 0) {
        return errno == ENOENT;
    }
    // A folder at that path is not an entry and is left alone.
    if (S_ISDIR(info.st_mode)) {
        return false;
    }
    return ::unlink(path.constData()) == 0;
}
