#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <QByteArray>

// Broken-down local time of a seconds count (64-bit, so dates past 2038 work).
struct LocalTime {
    int year = 1970;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The one way from a seconds count to the local wall clock: nothing when the C library cannot
// express it (a year beyond its reach).
std::optional<LocalTime> LocalTimeOf(std::int64_t seconds);
// The same, 1970-01-01 00:00:00 when it cannot be expressed.
LocalTime ToLocalTime(std::int64_t seconds);

// A time formatted in local time with a strftime pattern; empty when it cannot be formatted.
QByteArray FormatLocalTime(std::int64_t seconds, const char* pattern);

// Seconds since 1970 of a wall-clock minute in the local zone (fields in range), by one rule
// whatever was asked before: a minute the clocks pass twice is its first occurrence, and a
// minute they skip moves on by the length of the skip (02:30 in a spring-forward gap of an hour
// is 03:30).
std::int64_t SecondsFromLocal(int year, int month, int day, int hour, int minute);

// Notices when the rules of the local time zone change under a running program: the C library
// reads them once, so a replaced /etc/localtime (or the file TZ names) would otherwise go
// unseen until a restart. Checking costs one stat() and one readlink().
class ZoneWatch {
public:
    ZoneWatch();
    // True when the zone's file is no longer the one seen last.
    bool Changed();
    // Makes the C library read the zone's rules again.
    static void Reload();

private:
    struct FileState {
        bool exists = false;
        unsigned long long device = 0;
        unsigned long long inode = 0;
        long long size = 0;
        long long mtimeNs = 0;
        std::string linkTarget;
        bool operator==(const FileState&) const = default;
    };
    static std::string ZoneFile();
    static FileState Look(const std::string& path);

    std::string m_path;
    FileState m_seen;
};
