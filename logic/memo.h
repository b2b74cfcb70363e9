#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include "logic/local_time.h"

// Which memo of this run an entry is, whatever its line says after a postponement; 0 for an
// entry no memo store has taken in yet. Never written to the file.
using MemoId = std::uint64_t;

// The time of a line the clock cannot use.
inline constexpr std::int64_t kInvalidMemoTime = -1;

// The memo line, "YYYY-MM-DD HH:MM text": what its fields may hold, and how a line ends when
// nothing says otherwise (a new file, a file with no line end yet), as on Windows.
inline constexpr int kMemoFirstYear = 1970;
inline constexpr int kMemoLastYear = 9999;  // the last year that still fits the four-digit field
inline constexpr int kMemoLastHour = 23;
inline constexpr int kMemoLastMinute = 59;
inline constexpr char kMemoLineEnd[] = "\r\n";

// One dated memo, or a line of the memo file the clock cannot use (no text, a date or time that
// does not exist, a year it cannot hold): such a line has kInvalidMemoTime, never rings and is
// written back as it was. The text is kept as the bytes the user typed, so whatever encoding the
// file holds survives a load and a save unchanged.
struct MemoEntry {
    std::int64_t time = 0;  // seconds since 1970, built from local time; -1 when unusable
    // The text of a memo without a line of its own (made by the clock, or after DropLine); a
    // memo read from a line has its text in the line, so each line read costs one allocation.
    // Read the text through text().
    QByteArray ownText;
    MemoId id = 0;
    // The line as read or typed, while the memo is as it says: written back byte for byte. A
    // memo the clock changes (a postponement) drops it (DropLine) and is written from time and
    // text.
    std::optional<QByteArray> line = std::nullopt;
    // How the line ended in the file ("\r\n", "\n", or nothing for a last line without one);
    // unset for a new line, which takes the file's usual ending.
    std::optional<QByteArray> lineEnd = std::nullopt;

    bool usable() const { return time != kInvalidMemoTime; }
    // The memo's text: its line's bytes after the date and time while it has a line (valid while
    // the line is), else ownText.
    QByteArrayView textView() const;
    QByteArray text() const { return textView().toByteArray(); }
    // Forgets the line, keeping the text: the memo is written from its time and text from now.
    void DropLine();
    // The same line, as the file and the user see it; identity is `id`.
    bool operator==(const MemoEntry& other) const {
        return time == other.time && textView() == other.textView() &&
               (usable() || line == other.line);
    }
};

// Order matters: it is the order of the reminders and of the lines in the memo file.
using MemoList = std::vector<MemoEntry>;

// The date and time a memo line begins with, "YYYY-MM-DD HH:MM", for a wall-clock minute.
QByteArray MemoStamp(int year, int month, int day, int hour, int minute);
// The same for a time, read in local time; empty when it has no local time.
QByteArray MemoStampAt(std::int64_t time);

// The line "YYYY-MM-DD HH:MM text" for a memo (no line end): its own line while it has one.
QByteArray FormatMemoLine(const MemoEntry& entry);
// The line for a wall-clock minute and a text, as the memo dialog adds it.
QByteArray MemoLineAt(int year, int month, int day, int hour, int minute, const QByteArray& text);

// A memo's text as one line: each line break in it (CR LF, LF, CR, a Unicode line or paragraph
// separator, NEL) becomes one space, so that no text splits into several memos.
QString OneLineText(const QString& text);

// Reads a memo line by fixed byte positions; never fails. Separators are not looked at. A line
// of 16 bytes or fewer (no text), a field out of range (2027-02-30, 24:00, 23:60) and a minute
// before kMemoFirstYear or after kMemoLastYear make it unusable: kInvalidMemoTime, never another
// date.
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

// Seconds since 1970 of a local wall-clock minute (see SecondsFromLocal for the minutes summer
// time skips or repeats), or kInvalidMemoTime (see ParseMemoLine).
std::int64_t MemoTimeFromLocal(int year, int month, int day, int hour, int minute);

// The time a memo answered No moves to: on by whole five-minute steps from its own time, to the
// first step after `now`, and at least one step.
std::int64_t PostponedTime(std::int64_t time, std::int64_t now);

// Keeps each memo at the wall-clock minute it shows (the minute its file line says) while
// `reload` replaces the local zone's rules, as when a laptop travels: a memo for 09:00 still
// rings at 09:00, and its line reads the same. A line is read again in the new zone.
void KeepWallClockAcross(MemoList& memos, const std::function<void()>& reload);
