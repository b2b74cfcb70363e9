#include "logic/memo.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>

#include <QDate>
#include <QStringDecoder>

#include "logic/local_time.h"

namespace {

constexpr int kFirstYear = 1970;
constexpr int kMaxYear = 9999;  // the last year that still fits the four-digit field
// Shorter lines have no text, not even the space before it.
constexpr qsizetype kMinMemoLine = 17;
constexpr std::int64_t kPostponeSeconds = 300;

// atoi of the bytes [pos, pos + len) of the line, as far as the line reaches: blanks, a sign,
// digits up to the first other byte. Read in place: it runs five times for each line of a file.
int FieldAt(const QByteArray& line, qsizetype pos, qsizetype len) {
    const qsizetype end = std::min(line.size(), pos + len);
    qsizetype i = pos;
    while (i < end && std::strchr(" \t\n\v\f\r", line[i]) != nullptr && line[i] != '\0') {
        ++i;
    }
    const bool negative = i < end && line[i] == '-';
    if (i < end && (line[i] == '-' || line[i] == '+')) {
        ++i;
    }
    int value = 0;
    for (; i < end && line[i] >= '0' && line[i] <= '9'; ++i) {
        value = value * 10 + (line[i] - '0');
    }
    return negative ? -value : value;
}

// The bytes of `whole` from `from` on, in the same storage: a suffix ends where `whole` does,
// at the same terminating NUL (or lack of one, for raw data), so it is a QByteArray like any
// other and is copied only when changed. A memo's text is its line's suffix: one allocation
// per line instead of two.
QByteArray SharedSuffix(const QByteArray& whole, qsizetype from) {
    if (from >= whole.size()) {
        return {};
    }
    QByteArray::DataPointer d = const_cast<QByteArray&>(whole).data_ptr();  // takes a reference
    d.ptr += from;
    d.size -= from;
    return QByteArray(std::move(d));
}

}  // namespace

std::int64_t MemoTimeFromLocal(int year, int month, int day, int hour, int minute) {
    if (year < kFirstYear || year > kMaxYear || !QDate::isValid(year, month, day) || hour < 0 ||
        hour > 23 || minute < 0 || minute > 59) {
        return kInvalidMemoTime;
    }
    const std::int64_t t = SecondsFromLocal(year, month, day, hour, minute);
    return t < 0 ? kInvalidMemoTime : t;
}

std::int64_t PostponedTime(std::int64_t time, std::int64_t now) {
    const std::int64_t steps = now < time ? 1 : (now - time) / kPostponeSeconds + 1;
    return time + steps * kPostponeSeconds;
}

QByteArray FormatLocalTime(std::int64_t time, const char* pattern) {
    const std::time_t t = static_cast<std::time_t>(time);
    std::tm tm{};
    if (localtime_r(&t, &tm) == nullptr) {
        return {};
    }
    char buffer[256];
    const std::size_t n = std::strftime(buffer, sizeof buffer, pattern, &tm);
    return QByteArray(buffer, static_cast<qsizetype>(n));
}

QByteArray FormatMemoLine(const MemoEntry& entry) {
    if (entry.line) {
        return *entry.line;
    }
    return FormatLocalTime(entry.time, "%Y-%m-%d %H:%M") + ' ' + entry.text;
}

QByteArray MemoLineAt(int year, int month, int day, int hour, int minute, const QByteArray& text) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d ", year, month, day, hour, minute);
    return stamp + text;
}

QString OneLineText(const QString& text) {
    QString line;
    line.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool lineBreak = c == u'\n' || c == u'\r' || c == QChar::LineSeparator ||
                               c == QChar::ParagraphSeparator || c == QChar(0x85);
        if (!lineBreak) {
            line += c;
        } else if (c != u'\r' || i + 1 >= text.size() || text[i + 1] != u'\n') {
            line += u' ';  // CR LF is one break
        }
    }
    return line;
}

MemoLineFields ReadMemoLineFields(const QByteArray& line) {
    return {FieldAt(line, 0, 4), FieldAt(line, 5, 2), FieldAt(line, 8, 2), FieldAt(line, 11, 2),
            FieldAt(line, 14, 2)};
}

MemoEntry ParseMemoLine(const QByteArray& line) {
    const MemoLineFields f = ReadMemoLineFields(line);
    MemoEntry entry;
    entry.time = line.size() < kMinMemoLine
                     ? kInvalidMemoTime
                     : MemoTimeFromLocal(f.year, f.month, f.day, f.hour, f.minute);
    entry.text = SharedSuffix(line, kMinMemoLine);
    entry.line = line;
    return entry;
}

QString DecodeMemoText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString asUtf8 = utf8.decode(bytes);
    if (!utf8.hasError()) {
        return asUtf8;
    }
    // Memo files written on a Chinese Windows system hold GBK.
    QStringDecoder gbk("GBK", QStringDecoder::Flag::Stateless);
    if (gbk.isValid()) {
        const QString asGbk = gbk.decode(bytes);
        if (!gbk.hasError()) {
            return asGbk;
        }
    }
    return asUtf8;
}

void KeepWallClockAcross(MemoList& memos, const std::function<void()>& reload) {
    std::vector<std::tm> walls(memos.size());
    for (std::size_t i = 0; i < memos.size(); ++i) {
        const std::time_t t = static_cast<std::time_t>(memos[i].time);
        if (memos[i].line || !memos[i].usable() || localtime_r(&t, &walls[i]) == nullptr) {
            walls[i].tm_year = -1;  // marks "read the line again"
        }
    }
    reload();
    for (std::size_t i = 0; i < memos.size(); ++i) {
        const std::tm& w = walls[i];
        if (w.tm_year != -1) {
            memos[i].time =
                MemoTimeFromLocal(w.tm_year + 1900, w.tm_mon + 1, w.tm_mday, w.tm_hour, w.tm_min);
        } else if (memos[i].line) {
            memos[i].time = ParseMemoLine(*memos[i].line).time;
        }
    }
}
