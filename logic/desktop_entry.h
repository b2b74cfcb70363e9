#pragma once

#include <map>
#include <optional>

#include <QByteArray>
#include <QString>

// Desktop entries, the .desktop files through which the desktop knows its applications: their
// format, read without trusting it, and the escapes of values.

// No real entry comes near this; anything larger is not one.
inline constexpr qint64 kMaxDesktopEntryBytes = 64 * 1024;

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
