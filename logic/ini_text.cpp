#include "logic/ini_text.h"

#include <QList>

namespace {

bool IsGroupHeader(const QByteArray& line) {
    return line.trimmed().startsWith('[');
}

bool IsKeyLine(const QByteArray& line, const QByteArray& key) {
    const qsizetype equals = line.indexOf('=');
    return equals > 0 && line.left(equals).trimmed() == key;
}

}  // namespace

QByteArray SetIniValue(const QByteArray& ini, const QByteArray& group, const QByteArray& key,
                       const QByteArray& value) {
    QList<QByteArray> lines = ini.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();  // the end of the last line, not a line of its own
    }
    const QByteArray entry = key + '=' + value;
    const QByteArray header = '[' + group + ']';
    qsizetype groupAt = -1;
    for (qsizetype i = 0; i < lines.size() && groupAt < 0; ++i) {
        if (lines[i].trimmed() == header) {
            groupAt = i;
        }
    }
    if (groupAt < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty()) {
            lines.append(QByteArray());
        }
        lines.append(header);
        lines.append(entry);
    } else {
        qsizetype lastInGroup = groupAt;
        bool replaced = false;
        for (qsizetype i = groupAt + 1; i < lines.size() && !IsGroupHeader(lines[i]); ++i) {
            if (IsKeyLine(lines[i], key)) {
                lines[i] = entry;
                replaced = true;
                break;
            }
            if (!lines[i].trimmed().isEmpty()) {
                lastInGroup = i;
            }
        }
        if (!replaced) {
            lines.insert(lastInGroup + 1, entry);
        }
    }
    return lines.join('\n') + '\n';
}

std::optional<QByteArray> GetIniValue(const QByteArray& ini, const QByteArray& group,
                                      const QByteArray& key) {
    const QByteArray header = '[' + group + ']';
    bool inGroup = false;
    for (const QByteArray& line : ini.split('\n')) {
        if (IsGroupHeader(line)) {
            inGroup = line.trimmed() == header;
        } else if (inGroup && IsKeyLine(line, key)) {
            QByteArray value = line.mid(line.indexOf('=') + 1).trimmed();
            if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"')) {
                value = value.mid(1, value.size() - 2);
            }
            return value;
        }
    }
    return std::nullopt;
}
