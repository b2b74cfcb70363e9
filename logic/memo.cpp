#include "logic/memo.h"

#include <cstdlib>
#include <ctime>

#include <QStringDecoder>

namespace {

constexpr int kMaxYear = 9999;  // the last year that still fits the four-digit field

// atoi of the bytes [pos, pos + len) of the line, as far as the line reaches.
int FieldAt(const QByteArray& line, qsizetype pos, qsizetype len) {
    char field[8] = {};
    for (qsizetype i = 0; i < len && pos + i < line.size(); ++i) {
        field[i] = line[pos + i];
    }
    return std::atoi(field);
}

}  // namespace

std::int64_t MemoTimeFromLocal(int year, int month, int day, int hour, int minute) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = 0;
    tm.tm_isdst = -1;  // let the zone rules decide whether summer time applies
    const std::time_t t = std::mktime(&tm);
    if (t < 0 || tm.tm_year + 1900 > kMaxYear) {
        return kInvalidMemoTime;
    }
    return static_cast<std::int64_t>(t);
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
    return FormatLocalTime(entry.time, "%Y-%m-%d %H:%M") + ' ' + entry.text;
}

MemoLineFields ReadMemoLineFields(const QByteArray& line) {
    return {FieldAt(line, 0, 4), FieldAt(line, 5, 2), FieldAt(line, 8, 2), FieldAt(line, 11, 2),
            FieldAt(line, 14, 2)};
}

MemoEntry ParseMemoLine(const QByteArray& line) {
    const MemoLineFields f = ReadMemoLineFields(line);
    MemoEntry entry;
    entry.time = MemoTimeFromLocal(f.year, f.month, f.day, f.hour, f.minute);
    entry.text = line.size() > 17 ? line.mid(17) : QByteArray();
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
        if (memos[i].time == kInvalidMemoTime || localtime_r(&t, &walls[i]) == nullptr) {
            walls[i].tm_year = -1;  // marks "leave as it is"
        }
    }
    reload();
    for (std::size_t i = 0; i < memos.size(); ++i) {
        const std::tm& w = walls[i];
        if (w.tm_year != -1) {
            memos[i].time =
                MemoTimeFromLocal(w.tm_year + 1900, w.tm_mon + 1, w.tm_mday, w.tm_hour, w.tm_min);
        }
    }
}
