#pragma once

#include <csignal>
#include <cstdint>
#include <functional>
#include <vector>

#include <QByteArray>
#include <QString>

#include "logic/memo_edits.h"

// Helpers for tests of the window-free logic, which link nothing above it.

// Pins what local time and language depend on, whatever the caller's environment says: the
// zone UTC (tests that need another set their own), no language, so texts are as written, and
// no sound server.
void PinTestEnvironment();

// Seconds since 1970 of a local wall-clock time (the test process runs in TZ=UTC unless a
// test changes it).
std::int64_t LocalSeconds(int year, int month, int day, int hour, int minute, int second = 0);

// Writes a file, creating its folders. A write that fails fails the test.
void WriteFile(const QString& path, const QByteArray& bytes);
// A file's bytes, or "<missing>" when it cannot be read.
QByteArray ReadFile(const QString& path);

// The memos as the memo dialog lists them, for CommitEdits: each line with its memo's id.
std::vector<ListedMemo> Listed(const MemoList& list);
// The memos' lines, as the file has them.
std::vector<QByteArray> Lines(const MemoList& list);

// Runs fn in a child process as an unprivileged user when the tests run as root, so that
// permission failures really fail; returns fn's result (or -1 when the child died).
int RunUnprivileged(const std::function<int()>& fn);

// While it lives, every write that would make a file of this process larger than `bytes` fails
// with EFBIG, as writes to a full disk fail with ENOSPC: a real failing file system, without
// root. SIGXFSZ is ignored meanwhile, as the program does.
class FileSizeLimit {
public:
    explicit FileSizeLimit(std::uint64_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    std::uint64_t m_oldSoft = 0;
    void (*m_oldHandler)(int) = nullptr;
};
