#include "logic/local_time.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>

namespace {

bool LocalTm(std::int64_t seconds, std::tm& tm) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    return localtime_r(&t, &tm) != nullptr;
}

}  // namespace

std::optional<LocalTime> LocalTimeOf(std::int64_t seconds) {
    std::tm tm{};
    if (!LocalTm(seconds, tm)) {
        return std::nullopt;
    }
    return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                     tm.tm_hour,        tm.tm_min,     tm.tm_sec};
}

LocalTime ToLocalTime(std::int64_t seconds) {
    return LocalTimeOf(seconds).value_or(LocalTime{});
}

QByteArray FormatLocalTime(std::int64_t seconds, const char* pattern) {
    std::tm tm{};
    if (!LocalTm(seconds, tm)) {
        return {};
    }
    char buffer[256];
    const std::size_t n = std::strftime(buffer, sizeof buffer, pattern, &tm);
    return QByteArray(buffer, static_cast<qsizetype>(n));
}

namespace {

constexpr char kDefaultZoneFile[] = "/etc/localtime";

// Seconds east of UTC in force at a moment.
std::int64_t OffsetAt(std::int64_t seconds) {
    std::tm tm{};
    return LocalTm(seconds, tm) ? tm.tm_gmtoff : 0;
}

}  // namespace

std::int64_t SecondsFromLocal(int year, int month, int day, int hour, int minute) {
    // mktime with tm_isdst = -1 settles such minutes by what it was asked last, so a memo would
    // ring at a time that depends on the lines before it.
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    const std::int64_t wall = timegm(&tm);  // the wall clock read as UTC
    // The offsets a day either side: a change of offset near the minute lies between them.
    constexpr std::int64_t kDay = 86400;
    const std::int64_t before = OffsetAt(wall - kDay);
    const std::int64_t after = OffsetAt(wall + kDay);
    const auto shows = [wall](std::int64_t t) { return t + OffsetAt(t) == wall; };
    const std::int64_t earlier = std::min(wall - before, wall - after);
    const std::int64_t later = std::max(wall - before, wall - after);
    if (shows(earlier)) {
        return earlier;
    }
    if (shows(later)) {
        return later;
    }
    return wall - before;  // skipped: the old offset carries it past the gap
}

ZoneWatch::ZoneWatch() : m_path(ZoneFile()), m_seen(Look(m_path)) {}

std::string ZoneWatch::ZoneFile() {
    // The same file the C library reads: TZ unset means /etc/localtime; ":path" or a zone name
    // is a file, relative names under TZDIR; anything else (a rule like "UTC0") is no file.
    const char* tz = std::getenv("TZ");
    if (tz == nullptr || *tz == '\0') {
        return kDefaultZoneFile;
    }
    std::string name = tz[0] == ':' ? tz + 1 : tz;
    if (name.empty()) {
        return kDefaultZoneFile;
    }
    if (name[0] == '/') {
        return name;
    }
    const char* dir = std::getenv("TZDIR");
    return std::string(dir != nullptr && *dir != '\0' ? dir : "/usr/share/zoneinfo") + "/" + name;
}

ZoneWatch::FileState ZoneWatch::Look(const std::string& path) {
    FileState state;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return state;
    }
    state.exists = true;
    state.device = info.st_dev;
    state.inode = info.st_ino;
    state.size = info.st_size;
    state.mtimeNs =
        static_cast<long long>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    // A link pointed at another zone's file of the same size and age still counts as a change.
    char target[4096];
    const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
    if (n > 0) {
        state.linkTarget.assign(target, static_cast<std::size_t>(n));
    }
    return state;
}

bool ZoneWatch::Changed() {
    std::string path = ZoneFile();
    FileState now = Look(path);
    if (path == m_path && now == m_seen) {
        return false;
    }
    m_path = std::move(path);
    m_seen = std::move(now);
    return true;
}

void ZoneWatch::Reload() {
    // The C library re-reads the rules only when TZ reads differently from the last time.
    const char* tz = std::getenv("TZ");
    const std::string saved = tz != nullptr ? tz : "";
    ::setenv("TZ", "UTC0", 1);
    ::tzset();
    if (tz != nullptr) {
        ::setenv("TZ", saved.c_str(), 1);
    } else {
        ::unsetenv("TZ");
    }
    ::tzset();
}
