#include "logic/desktop_entry.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include "logic/user_file.h"

namespace {

// Subfolders an ID may spell with dashes; real trees are one or two deep.
constexpr int kMaxIdFolders = 8;

bool IsKeyChar(QChar c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
           c == u'-';
}

// Key names: letters, digits and '-', optionally followed by a locale in brackets.
bool IsWellFormedKey(const QString& key) {
    qsizetype i = 0;
    while (i < key.size() && IsKeyChar(key[i])) {
        ++i;
    }
    if (i == 0) {
        return false;
    }
    if (i == key.size()) {
        return true;
    }
    return key[i] == u'[' && key.endsWith(u']') && key.size() - i > 2 &&
           !key.mid(i + 1, key.size() - i - 2).contains(u'[') &&
           !key.mid(i + 1, key.size() - i - 2).contains(u']');
}

// Characters that mean something to a shell and so must be quoted in a command line.
bool IsReserved(QChar c) {
    return QStringView(u" \t\n\"'\\><~|&;$*?#()`").contains(c);
}

bool IsSeparator(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}

// The command line as words, quoting undone; codes are still in the words.
std::optional<QStringList> SplitWords(const QString& exec) {
    QStringList words;
    QString word;
    bool inWord = false;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted) {
            if (c == u'"') {
                quoted = false;
            } else if (c == u'\\') {
                if (i + 1 == exec.size() || !QStringView(u"\"`$\\").contains(exec[i + 1])) {
                    return std::nullopt;
                }
                word += exec[++i];
            } else {
                word += c;
            }
        } else if (IsSeparator(c)) {
            if (inWord) {
                words.push_back(word);
                word.clear();
                inWord = false;
            }
        } else if (c == u'"') {
            quoted = true;
            inWord = true;
        } else if (IsReserved(c)) {
            return std::nullopt;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quoted) {
        return std::nullopt;
    }
    if (inWord) {
        words.push_back(word);
    }
    return words;
}

QString FindIn(const QString& dir, const QString& name, int foldersLeft) {
    const QString direct = dir + u'/' + name;
    if (QFileInfo(direct).isFile()) {
        return direct;
    }
    if (foldersLeft == 0) {
        return {};
    }
    for (qsizetype dash = name.indexOf(u'-'); dash >= 0; dash = name.indexOf(u'-', dash + 1)) {
        const QString folder = name.left(dash);
        // "..-x.desktop" must not climb out of the applications folder.
        if (folder.isEmpty() || folder == u"." || folder == u"..") {
            continue;
        }
        const QString sub = dir + u'/' + folder;
        if (QFileInfo(sub).isDir()) {
            const QString found = FindIn(sub, name.mid(dash + 1), foldersLeft - 1);
            if (!found.isEmpty()) {
                return found;
            }
        }
    }
    return {};
}

}  // namespace

std::optional<QByteArray> ReadSmallFile(const QString& path, qint64 maxBytes) {
    return ReadUserFile(path, maxBytes).bytes;
}

namespace {

// The value escapes: the letter after the backslash, and the character it stands for.
constexpr std::pair<char16_t, char16_t> kValueEscapes[] = {
    {u's', u' '}, {u'n', u'\n'}, {u't', u'\t'}, {u'r', u'\r'}, {u'\\', u'\\'}};

}  // namespace

QString UnescapeValue(const QString& raw) {
    QString value;
    value.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const auto* escape =
            raw[i] == u'\\' && i + 1 < raw.size()
                ? std::find_if(std::begin(kValueEscapes), std::end(kValueEscapes),
                               [&](const auto& e) { return e.first == raw[i + 1].unicode(); })
                : std::end(kValueEscapes);
        if (escape == std::end(kValueEscapes)) {
            value += raw[i];  // an unknown escape stays as it is
            continue;
        }
        value += QChar(escape->second);
        ++i;
    }
    return value;
}

QString EscapeValue(const QString& value) {
    QString raw;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        const auto* escape = std::find_if(std::begin(kValueEscapes), std::end(kValueEscapes),
                                          [&](const auto& e) { return e.second == c.unicode(); });
        // A blank is escaped only in front, where it would be taken for the space after '='.
        if (escape != std::end(kValueEscapes) && (c != u' ' || i == 0)) {
            raw += u'\\';
            raw += QChar(escape->first);
        } else {
            raw += c;
        }
    }
    return raw;
}

std::optional<DesktopEntry> DesktopEntry::Parse(const QByteArray& text) {
    if (text.contains('\0')) {
        return std::nullopt;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString content = decoder.decode(text);
    if (decoder.hasError()) {
        return std::nullopt;
    }
    DesktopEntry entry;
    bool sawGroup = false;
    bool inMainGroup = false;
    for (QStringView line : QStringView(content).split(u'\n')) {
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
        const QStringView trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#')) {
            continue;
        }
        if (trimmed.startsWith(u'[')) {
            if (!trimmed.endsWith(u']')) {
                return std::nullopt;
            }
            const QStringView group = trimmed.mid(1, trimmed.size() - 2);
            if (!sawGroup && group != u"Desktop Entry") {
                return std::nullopt;
            }
            inMainGroup = !sawGroup;
            sawGroup = true;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!sawGroup || equals < 0) {
            return std::nullopt;
        }
        const QString key = line.left(equals).trimmed().toString();
        if (!IsWellFormedKey(key)) {
            return std::nullopt;
        }
        QStringView value = line.mid(equals + 1);
        while (!value.isEmpty() && (value.front() == u' ' || value.front() == u'\t')) {
            value = value.mid(1);
        }
        if (inMainGroup) {
            entry.m_values.emplace(key, value.toString());  // the first of duplicates stands
        }
    }
    if (!sawGroup) {
        return std::nullopt;
    }
    return entry;
}

std::optional<QString> DesktopEntry::RawValue(const QString& key) const {
    const auto it = m_values.find(key);
    if (it == m_values.end()) {
        return std::nullopt;
    }
    return it->second;
}

std::optional<QString> DesktopEntry::Value(const QString& key) const {
    const std::optional<QString> raw = RawValue(key);
    if (!raw) {
        return std::nullopt;
    }
    return UnescapeValue(*raw);
}

std::optional<ExecCommand> ParseExec(const QString& exec, const ExecContext& context) {
    const std::optional<QStringList> words = SplitWords(exec);
    if (!words) {
        return std::nullopt;
    }
    ExecCommand command;
    for (const QString& word : *words) {
        // The icon is two arguments, so it only makes sense as a word of its own.
        if (word == u"%i") {
            if (!context.icon.isEmpty()) {
                command.arguments << QStringLiteral("--icon") << context.icon;
            }
            continue;
        }
        QString argument;
        bool expanded = false;
        for (qsizetype i = 0; i < word.size(); ++i) {
            if (word[i] != u'%') {
                argument += word[i];
                continue;
            }
            if (i + 1 == word.size()) {
                return std::nullopt;
            }
            const QChar code = word[++i];
            expanded = true;
            if (code == u'%') {
                argument += u'%';
            } else if (QStringView(u"fFuU").contains(code)) {
                if (!argument.isEmpty()) {
                    command.arguments.push_back(argument);
                }
                command.stoppedAtFileCode = true;
                return command;
            } else if (QStringView(u"dDnNvm").contains(code)) {
                // Deprecated: dropped.
            } else if (code == u'c') {
                argument += context.name;
            } else if (code == u'k') {
                argument += context.entryPath;
            } else {
                return std::nullopt;
            }
        }
        // A word that expanded to nothing is no argument; a quoted "" is one.
        if (!expanded || !argument.isEmpty()) {
            command.arguments.push_back(argument);
        }
    }
    return command;
}

QString QuoteExecArgument(const QString& argument) {
    QString escaped = argument;
    escaped.replace(u'%', QStringLiteral("%%"));
    const bool needsQuotes =
        argument.isEmpty() || std::any_of(argument.begin(), argument.end(), IsReserved);
    if (!needsQuotes) {
        return escaped;
    }
    QString quoted = QStringLiteral("\"");
    for (const QChar c : escaped) {
        if (QStringView(u"\"`$\\").contains(c)) {
            quoted += u'\\';
        }
        quoted += c;
    }
    quoted += u'"';
    return quoted;
}

QString FindDesktopEntry(const QString& id, const QStringList& applicationDirs) {
    const QLatin1String suffix(".desktop");
    if (id.size() <= suffix.size() || !id.endsWith(suffix) || id.contains(u'/') ||
        id.contains(QChar(0)) || id.startsWith(u'.')) {
        return {};
    }
    for (const QString& dir : applicationDirs) {
        const QString found = FindIn(dir, id, kMaxIdFolders);
        if (!found.isEmpty()) {
            return found;
        }
    }
    return {};
}
