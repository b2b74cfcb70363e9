#include "logic/memo.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include <QDate>
#include <QStringDecoder>

namespace {

// Where the fields of "YYYY-MM-DD HH:MM text" stand, as MemoStamp writes them.
struct StampField {
    qsizetype pos;
    qsizetype len;
};
constexpr StampField kYear{0, 4}, kMonth{5, 2}, kDay{8, 2}, kHour{11, 2}, kMinute{14, 2};
constexpr char kStampPattern[] = "%04d-%02d-%02d %02d:%02d";
// The text begins after the stamp and one space; shorter lines have no text, not even the space.
constexpr qsizetype kMinMemoLine = kMinute.pos + kMinute.len + 1;
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

}  // namespace

QByteArrayView MemoEntry::textView() const {
    if (!line) {
        return ownText;
    }
    return line->size() > kMinMemoLine ? QByteArrayView(*line).sliced(kMinMemoLine)
                                       : QByteArrayView();
}

void MemoEntry::DropLine() {
    if (line) {
        ownText = text();
        line.reset();
    }
}

std::int64_t MemoTimeFromLocal(int year, int month, int day, int hour, int minute) {
    if (year < kMemoFirstYear || year > kMemoLastYear || !QDate::isValid(year, month, day) ||
        hour < 0 || hour > kMemoLastHour || minute < 0 || minute > kMemoLastMinute) {
        return kInvalidMemoTime;
    }
    const std::int64_t t = SecondsFromLocal(year, month, day, hour, minute);
    return t < 0 ? kInvalidMemoTime : t;
}

std::int64_t PostponedTime(std::int64_t time, std::int64_t now) {
    const std::int64_t steps = now < time ? 1 : (now - time) / kPostponeSeconds + 1;
    return time + steps * kPostponeSeconds;
}

QByteArray MemoStamp(int year, int month, int day, int hour, int minute) {
    char stamp[64];
    const int n = std::snprintf(stamp, sizeof stamp, kStampPattern, year, month, day, hour, minute);
    return QByteArray(stamp, n);
}

QByteArray MemoStampAt(std::int64_t time) {
    const std::optional<LocalTime> local = LocalTimeOf(time);
    return local ? MemoStamp(local->year, local->month, local->day, local->hour, local->minute)
                 : QByteArray();
}

QByteArray FormatMemoLine(const MemoEntry& entry) {
    if (entry.line) {
        return *entry.line;
    }
    return MemoStampAt(entry.time) + ' ' + entry.ownText;
}

QByteArray MemoLineAt(int year, int month, int day, int hour, int minute, const QByteArray& text) {
    return MemoStamp(year, month, day, hour, minute) + ' ' + text;
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
    const auto at = [&line](StampField f) { return FieldAt(line, f.pos, f.len); };
    return {at(kYear), at(kMonth), at(kDay), at(kHour), at(kMinute)};
}

MemoEntry ParseMemoLine(const QByteArray& line) {
    const MemoLineFields f = ReadMemoLineFields(line);
    MemoEntry entry;
    entry.time = line.size() < kMinMemoLine
                     ? kInvalidMemoTime
                     : MemoTimeFromLocal(f.year, f.month, f.day, f.hour, f.minute);
    entry.line = line;  // the text too (see MemoEntry::textView)
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
    // Nothing for a memo whose line is read again.
    std::vector<std::optional<LocalTime>> walls(memos.size());
    for (std::size_t i = 0; i < memos.size(); ++i) {
        if (!memos[i].line && memos[i].usable()) {
            walls[i] = LocalTimeOf(memos[i].time);
        }
    }
    reload();
    for (std::size_t i = 0; i < memos.size(); ++i) {
        if (const std::optional<LocalTime>& w = walls[i]) {
            memos[i].time = MemoTimeFromLocal(w->year, w->month, w->day, w->hour, w->minute);
        } else if (memos[i].line) {
            memos[i].time = ParseMemoLine(*memos[i].line).time;
        }
    }
}
