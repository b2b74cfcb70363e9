#include "logic/desktop_entry.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include <QStringDecoder>
#include <QStringList>

namespace {

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

}  // namespace

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
