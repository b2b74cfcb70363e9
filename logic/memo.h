#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <QByteArray>
#include <QString>

// Which memo of this run an entry is, whatever its line says after a postponement; 0 for an
// entry no memo store has taken in yet. Never written to the file.
using MemoId = std::uint64_t;

// One dated memo. The text is kept as the bytes the user typed, so whatever encoding the
// file holds survives a load and a save unchanged.
struct MemoEntry {
    std::int64_t time = 0;  // seconds since 1970, built from local time; -1 when invalid
    QByteArray text;
    MemoId id = 0;

    // The same line, as the file and the user see it; identity is `id`.
    bool operator==(const MemoEntry& other) const {
        return time == other.time && text == other.text;
    }
};

// Order matters: it is the order of the reminders and of the lines in the memo file.
using MemoList = std::vector<MemoEntry>;

// The time of a memo line whose date cannot be represented; it is due at once.
inline constexpr std::int64_t kInvalidMemoTime = -1;

// The line "YYYY-MM-DD HH:MM text" for a memo (no line end).
QByteArray FormatMemoLine(const MemoEntry& entry);

// Reads a memo line by fixed byte positions; never fails. Separators are not looked at and
// out-of-range fields roll over as mktime does; a date before 1970 or past year 9999 gives
// kInvalidMemoTime.
MemoEntry ParseMemoLine(const QByteArray& line);

// The five numbers of a memo line, each read by position as atoi reads it (see ParseMemoLine).
struct MemoLineFields {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
};
MemoLineFields ReadMemoLineFields(const QByteArray& line);

// How memo bytes read on screen: as UTF-8 when they are UTF-8, else as GBK when they decode as
// that, else as UTF-8 with replacement characters. The bytes themselves are never changed.
QString DecodeMemoText(const QByteArray& bytes);

// Seconds since 1970 of a local wall-clock minute, or kInvalidMemoTime (see ParseMemoLine).
std::int64_t MemoTimeFromLocal(int year, int month, int day, int hour, int minute);

// Keeps each memo at the wall-clock minute it shows (the minute its file line says) while
// `reload` replaces the local zone's rules, as when a laptop travels: a memo for 09:00 still
// rings at 09:00, and its line reads the same. Invalid times stay invalid.
void KeepWallClockAcross(MemoList& memos, const std::function<void()>& reload);

// A time formatted in local time with a strftime pattern; empty when it cannot be formatted.
QByteArray FormatLocalTime(std::int64_t time, const char* pattern);
