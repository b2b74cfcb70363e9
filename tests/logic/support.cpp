#include "tests/logic/support.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <ctime>

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>

void PinTestEnvironment() {
    setenv("TZ", "UTC", 1);
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) {
        unsetenv(name);
    }
    setenv("LANG", "C.UTF-8", 1);
    // No sound server, unless a test names its own: an alarm would otherwise have PulseAudio
    // started for it, which outlives the tests.
    setenv("PULSE_SERVER", "unix:/dev/null/no-sound-server", 1);
}

std::int64_t LocalSeconds(int year, int month, int day, int hour, int minute, int second) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&tm));
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

int RunUnprivileged(const std::function<int()>& fn) {
    if (geteuid() != 0) {
        return fn();
    }
    const pid_t pid = fork();
    if (pid == 0) {
        // 65534 is "nobody" on Debian.
        if (setgid(65534) != 0 || setuid(65534) != 0) {
            _exit(255);
        }
        _exit(fn() & 0xff);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

FileSizeLimit::FileSizeLimit(std::uint64_t bytes) {
    rlimit limit = {};
    getrlimit(RLIMIT_FSIZE, &limit);
    m_oldSoft = limit.rlim_cur;
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = bytes;
    EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
}

FileSizeLimit::~FileSizeLimit() {
    rlimit limit = {};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = m_oldSoft;
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, m_oldHandler);
}

std::vector<ListedMemo> Listed(const MemoList& list) {
    std::vector<ListedMemo> lines;
    for (const MemoEntry& memo : list) {
        lines.push_back({FormatMemoLine(memo), memo.id});
    }
    return lines;
}

std::vector<QByteArray> Lines(const MemoList& list) {
    std::vector<QByteArray> lines;
    for (const MemoEntry& memo : list) {
        lines.push_back(FormatMemoLine(memo));
    }
    return lines;
}
