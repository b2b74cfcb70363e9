// The INI line editor on any text: the value it sets reads back, setting it again changes
// nothing, and every other line stays as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QByteArray>
#include <QList>

#include "logic/ini_text.h"

namespace {

// The clock stores plain names and values only: letters, digits, '.', '_' and '-'.
QByteArray Plain(const QByteArray& bytes) {
    QByteArray plain;
    for (const char c : bytes) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            c == '.' || c == '_' || c == '-') {
            plain += c;
        }
    }
    return plain.isEmpty() ? QByteArray("k") : plain;
}

QList<QByteArray> Lines(const QByteArray& text) {
    QList<QByteArray> lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

// The value of `key` in the first `[group]`, as a reader of the file finds it.
QByteArray ValueOf(const QByteArray& ini, const QByteArray& group, const QByteArray& key) {
    bool inGroup = false;
    bool seenGroup = false;
    for (const QByteArray& line : Lines(ini)) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.startsWith('[')) {
            inGroup = !seenGroup && trimmed == '[' + group + ']';
            seenGroup = seenGroup || inGroup;
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (inGroup && equals > 0 && line.left(equals).trimmed() == key) {
            return line.mid(equals + 1);
        }
    }
    return "<missing>";
}

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // Three lines name the group, the key and the value; the rest is the file.
    QList<QByteArray> parts = input.split('\n');
    while (parts.size() < 4) {
        parts.append(QByteArray());
    }
    const QByteArray group = Plain(parts[0]);
    const QByteArray key = Plain(parts[1]);
    const QByteArray value = Plain(parts[2]);
    const QByteArray ini = input.mid(parts[0].size() + parts[1].size() + parts[2].size() + 3);

    const QByteArray out = SetIniValue(ini, group, key, value);
    Require(out.endsWith('\n'));
    Require(ValueOf(out, group, key) == value);
    Require(SetIniValue(out, group, key, value) == out);
    // Every old line is still there, in its place: one replaced by the entry, or the entry
    // (with its group, and a blank line before that) added.
    const QList<QByteArray> before = Lines(ini);
    const QList<QByteArray> after = Lines(out);
    const QByteArray entry = key + '=' + value;
    if (after.size() == before.size()) {
        qsizetype changed = 0;
        for (qsizetype i = 0; i < after.size(); ++i) {
            changed += after[i] != before[i] ? 1 : 0;
            Require(after[i] == before[i] || after[i] == entry);
        }
        Require(changed <= 1);
    } else {
        const QList<QByteArray> added = {entry, '[' + group + ']', QByteArray()};
        qsizetype i = 0;
        qsizetype skipped = 0;
        for (const QByteArray& line : after) {
            if (i < before.size() && line == before[i]) {
                ++i;
            } else {
                Require(added.contains(line));
                ++skipped;
            }
        }
        Require(i == before.size() && skipped == after.size() - before.size() && skipped <= 3);
    }
    return 0;
}
