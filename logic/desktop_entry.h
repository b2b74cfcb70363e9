#pragma once

#include <map>
#include <optional>

#include <QByteArray>
#include <QString>
#include <QStringList>

// Desktop entries, the .desktop files through which the desktop knows its applications:
// reading them without trusting them, their Exec command lines, and writing an Exec value.

// No real entry comes near this; anything larger is not one.
inline constexpr qint64 kMaxDesktopEntryBytes = 64 * 1024;

// The bytes of a regular file of at most maxBytes; nullopt for anything else (missing, a
// directory, a pipe or device, too large, unreadable). Never opens what is not a regular file,
// so a pipe at the path cannot block (see ReadUserFile).
std::optional<QByteArray> ReadSmallFile(const QString& path,
                                        qint64 maxBytes = kMaxDesktopEntryBytes);

// The string escapes of values: \s \n \t \r \\ stand for space, newline, tab, return and
// backslash. Any other backslash is kept as it is, for the Exec quoting rules to read.
QString UnescapeValue(const QString& raw);
// The inverse for values this program writes.
QString EscapeValue(const QString& value);

// The keys of an entry's [Desktop Entry] group.
class DesktopEntry {
public:
    // nullopt when the text is no desktop entry: NUL bytes, invalid UTF-8, a first group other
    // than [Desktop Entry], or a line that is neither blank, a comment, a group header nor a
    // key=value pair with a well-formed key.
    static std::optional<DesktopEntry> Parse(const QByteArray& text);

    // The value as written in the file, escapes still in place.
    std::optional<QString> RawValue(const QString& key) const;
    // The value with its string escapes undone.
    std::optional<QString> Value(const QString& key) const;

private:
    std::map<QString, QString> m_values;
};

// What an entry's own field codes stand for: %i, %c and %k.
struct ExecContext {
    QString icon;
    QString name;
    QString entryPath;
};

struct ExecCommand {
    QStringList arguments;
    bool stoppedAtFileCode = false;  // cut at the first %f, %F, %u or %U
};

// Splits an Exec value (string escapes already undone) into arguments as launchers do:
// blanks separate; double quotes group, and inside them a backslash escapes ", `, $ and \;
// %% is a percent sign; %i, %c and %k expand from the context; deprecated codes vanish. Stops at
// the first file or URL code, keeping any text before it in that argument as an argument.
// nullopt when quoting is broken, a reserved character stands unquoted, or a code is undefined.
std::optional<ExecCommand> ParseExec(const QString& exec, const ExecContext& context = {});

// One argument written so that ParseExec reads it back unchanged: quoted when it holds a
// reserved character, percent signs doubled. The result still needs EscapeValue.
QString QuoteExecArgument(const QString& argument);

// The file that a desktop-file ID ("org.example.Browser.desktop") names in the first of
// `applicationDirs` that has it; each '-' in the ID may stand for a subfolder. Empty when none
// has it, or when the ID is no plain file name ending in ".desktop".
QString FindDesktopEntry(const QString& id, const QStringList& applicationDirs);
