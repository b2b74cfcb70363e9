#include "logic/exec_line.h"

namespace {

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

}  // namespace

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
