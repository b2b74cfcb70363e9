// Desktop entries on any bytes: reading one and splitting its Exec never fails badly, and an
// entry the clock writes for its own path always reads back as that path.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QByteArray>
#include <QString>

#include "logic/desktop_entry.h"
#include "logic/exec_line.h"
#include "logic/user_file.h"
#include "platform/autostart_store.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    // As a file someone else wrote.
    if (const std::optional<DesktopEntry> entry = DesktopEntry::Parse(bytes)) {
        const ExecContext context{QStringLiteral("icon"), QStringLiteral("Name"),
                                  QStringLiteral("/e.desktop")};
        for (const char* key : {"Exec", "TryExec", "Name"}) {
            if (const std::optional<QString> value = entry->Value(QString::fromLatin1(key))) {
                ParseExec(*value, context);
            }
        }
        IsAutostartEntryFor(bytes, QStringLiteral("/usr/bin/kelvarine"));
    }
    ParseExec(QString::fromUtf8(bytes));

    // As the path of the program, which the session entry must start and nothing else.
    const QString program = DecodePath('/' + bytes);
    if (PathIsText(program) && !bytes.contains('\0')) {  // what an entry can hold
        const QByteArray written = AutostartEntryText(program);
        Require(DesktopEntry::Parse(written).has_value());
        Require(IsAutostartEntryFor(written, program));
        const std::optional<ExecCommand> command = ParseExec(
            UnescapeValue(*DesktopEntry::Parse(written)->RawValue(QStringLiteral("Exec"))));
        Require(command && command->arguments == QStringList{program});
    }
    return 0;
}
