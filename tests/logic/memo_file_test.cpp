#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstring>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <thread>

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "logic/memo_file.h"
#include "logic/memo_store.h"
#include "tests/logic/support.h"

namespace {

class MemoFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        // Unprivileged children must be able to reach the files.
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    }
    QString Path(const QString& name = QStringLiteral("memo.txt")) const {
        return dir.filePath(name);
    }
    void Write(const QByteArray& bytes) {
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray Read() const {
        QFile file(Path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    MemoList Load() const {
        MemoList list;
        LoadMemoFile(Path(), list);
        return list;
    }

    QTemporaryDir dir;
};

mode_t ModeOf(const QString& path) {
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

MemoEntry At(int year, int month, int day, int hour, int minute, const QByteArray& text) {
    return {LocalSeconds(year, month, day, hour, minute), text};
}

TEST_F(MemoFileTest, MissingFileGivesEmptyList) {
    EXPECT_TRUE(Load().empty());
}

TEST_F(MemoFileTest, KeepsEveryLineWithItsEndAndChangesOnlyWhatChanged) {
    const QByteArray file =
        "\n"
        "2024-05-01 14:30\r\n"  // 16 bytes: no separating space
        "2024-05-01 14:30 A\r\n"
        "short\n"
        "2024-05-01 14:30 \n"
        "2024-05-02 09:00 cr\rinside\n"
        "2024-05-03 09:00 last";
    Write(file);
    MemoFileStamp stamp;
    MemoList list;
    LoadMemoFile(Path(), list, &stamp);
    MemoList memos;
    std::copy_if(list.begin(), list.end(), std::back_inserter(memos),
                 [](const MemoEntry& m) { return m.usable(); });
    EXPECT_EQ(memos, (MemoList{At(2024, 5, 1, 14, 30, "A"), At(2024, 5, 1, 14, 30, ""),
                               At(2024, 5, 2, 9, 0, "cr\rinside"), At(2024, 5, 3, 9, 0, "last")}));
    ASSERT_TRUE(SaveMemoFile(Path(), list, &stamp));
    EXPECT_EQ(Read(), file);
    // A postponed memo is written anew in its place; an added one takes the file's first line
    // end, and the last line gets one once something follows it.
    list[2].time += 300;
    list[2].DropLine();
    list.push_back(At(2024, 6, 1, 8, 0, "new"));
    ASSERT_TRUE(SaveMemoFile(Path(), list, &stamp));
    EXPECT_EQ(Read(),
              "\n2024-05-01 14:30\r\n2024-05-01 14:35 A\r\nshort\n2024-05-01 14:30 \n"
              "2024-05-02 09:00 cr\rinside\n2024-05-03 09:00 last\n2024-06-01 08:00 new\n");
}

TEST_F(MemoFileTest, HostileBytesLoadAsText) {
    const QByteArray megabyte(1 << 20, 'x');
    const struct {
        const char* name;
        QByteArray text;
    } cases[] = {
        {"one megabyte line", megabyte},
        {"NUL bytes", QByteArray("a\0b\0", 4)},
        {"invalid UTF-8", "\xc3\x28\xff\xfe\x80"},
        {"GBK", "\xb5\xe7\xbb\xb0"},
    };
    for (const auto& c : cases) {
        Write("2024-05-01 14:30 " + c.text + "\r\n2024-05-02 14:30 next\n");
        const MemoList expected = {At(2024, 5, 1, 14, 30, c.text), At(2024, 5, 2, 14, 30, "next")};
        EXPECT_EQ(Load(), expected) << c.name;
    }
}

void MakeSocket(const QByteArray& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);  // the socket's file stays
}

TEST_F(MemoFileTest, OnlyARegularFileIsReadOrReplacedAndNothingBlocks) {
    const struct {
        const char* name;
        FileKind kind;
        std::function<void(const QByteArray&)> make;
    } cases[] = {
        {"folder", FileKind::Directory, [](const QByteArray& p) { ::mkdir(p.constData(), 0755); }},
        {"pipe", FileKind::Pipe, [](const QByteArray& p) { ::mkfifo(p.constData(), 0644); }},
        {"socket", FileKind::Socket, MakeSocket},
        {"device link", FileKind::CharDevice,
         [](const QByteArray& p) { ASSERT_EQ(::symlink("/dev/null", p.constData()), 0); }},
    };
    for (const auto& c : cases) {
        const QString path = Path(c.name);
        c.make(QFile::encodeName(path));
        // A pipe opened for reading would wait for a writer: the suite's time-out tells.
        MemoFileStamp stamp;
        MemoList list;
        LoadMemoFile(path, list, &stamp);
        EXPECT_TRUE(list.empty()) << c.name;
        EXPECT_EQ(stamp.problem, NotRegularReason(c.kind)) << c.name;
        EXPECT_EQ(SaveMemoFile(path, {At(2024, 5, 1, 14, 30, "x")}, &stamp).reason,
                  NotRegularReason(c.kind))
            << c.name;
        struct stat info = {};
        EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0) << c.name;
        EXPECT_EQ(KindOfMode(info.st_mode), c.kind) << c.name;
    }
}

TEST_F(MemoFileTest, SavesCrLfLinesInListOrder) {
    const MemoList list = {At(2024, 5, 2, 9, 0, "B"), At(2024, 5, 1, 14, 30, ""),
                           At(2024, 5, 2, 9, 0, "B")};
    ASSERT_TRUE(SaveMemoFile(Path(), list));
    EXPECT_EQ(Read(),
              QByteArray("2024-05-02 09:00 B\r\n2024-05-01 14:30 \r\n2024-05-02 09:00 B\r\n"));
}

TEST_F(MemoFileTest, EmptyListGivesEmptyFile) {
    Write("2024-05-01 14:30 old\r\n");
    ASSERT_TRUE(SaveMemoFile(Path(), {}));
    EXPECT_EQ(Read(), QByteArray());
    EXPECT_TRUE(Load().empty());
}

TEST_F(MemoFileTest, SaveThenLoadGivesSameList) {
    const MemoList list = {
        At(2024, 5, 1, 14, 30, "  Call home  "),
        At(2001, 9, 9, 1, 46, "\xb5\xe7\xbb\xb0"),
        At(2100, 1, 1, 0, 0, "电话"),
        At(2024, 5, 1, 14, 30, ""),
        At(2024, 5, 1, 14, 30, "  Call home  "),
    };
    ASSERT_TRUE(SaveMemoFile(Path(), list));
    EXPECT_EQ(Load(), list);
}

TEST_F(MemoFileTest, LoadThenSaveKeepsCanonicalFileByteForByte) {
    const QByteArray golden =
        "2024-05-01 14:30 Call home\r\n"
        "2024-12-31 23:55 \xc4\xea\xb5\xd7 GBK\r\n"
        "2038-01-19 03:14 after the 32-bit end\r\n"
        "2024-05-01 14:30 \r\n";
    Write(golden);
    const MemoList list = Load();
    ASSERT_TRUE(SaveMemoFile(Path(), list));
    EXPECT_EQ(Read(), golden);
}

TEST_F(MemoFileTest, SaveCreatesMissingFoldersPrivate) {
    const QString nested = dir.filePath("a/b/memo.txt");
    ASSERT_TRUE(SaveMemoFile(nested, {At(2024, 5, 1, 14, 30, "x")}));
    MemoList list;
    LoadMemoFile(nested, list);
    EXPECT_EQ(list.size(), 1u);
    for (const char* folder : {"a", "a/b"}) {
        EXPECT_EQ(ModeOf(dir.filePath(folder)), 0700u) << folder;
    }
}

TEST_F(MemoFileTest, FailedSaveReportsFalseAndKeepsOldFile) {
    // The file itself is writable: only a save that writes in place could succeed here.
    const QByteArray old = "2024-05-01 14:30 keep me\r\n";
    Write(old);
    ::chmod(QFile::encodeName(Path()).constData(), 0666);
    ::chmod(QFile::encodeName(dir.path()).constData(), 0555);
    const int result = RunUnprivileged(
        [&] { return SaveMemoFile(Path(), {At(2030, 1, 1, 0, 0, "new")}) ? 1 : 0; });
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Read(), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"memo.txt"});
}

TEST_F(MemoFileTest, SaveOverDirectoryFails) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("memo.txt"));
    EXPECT_FALSE(SaveMemoFile(Path(), {At(2024, 5, 1, 14, 30, "x")}));
    EXPECT_TRUE(QFileInfo(Path()).isDir());
}

TEST_F(MemoFileTest, SaveUnderAFileFails) {
    Write("not a folder");
    EXPECT_FALSE(SaveMemoFile(dir.filePath("memo.txt/memo.txt"), {}));
    EXPECT_EQ(Read(), QByteArray("not a folder"));
}

// Copies kept beside the memo file, by name, with their bytes.
std::map<QString, QByteArray> KeptCopies(const QString& folder) {
    std::map<QString, QByteArray> kept;
    for (const QString& name : QDir(folder).entryList({"memo.txt.*"}, QDir::Files | QDir::Hidden)) {
        QFile file(QDir(folder).filePath(name));
        kept[name] = file.open(QIODevice::ReadOnly) ? file.readAll() : "<unreadable>";
    }
    return kept;
}

void SetModified(const QString& path, const QDateTime& when) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(when, QFileDevice::FileModificationTime));
}

TEST_F(MemoFileTest, AFileChangedByOthersIsKeptBesideItBeforeTheSave) {
    Write("2024-05-01 14:30 mine\r\n");
    MemoFileStamp stamp;
    MemoList list;
    LoadMemoFile(Path(), list, &stamp);
    ASSERT_TRUE(SaveMemoFile(Path(), list, &stamp));  // unchanged on disk: nothing kept
    EXPECT_TRUE(KeptCopies(dir.path()).empty());

    const QDateTime edited(QDate(2024, 5, 2), QTime(8, 30, 15));
    ::chmod(QFile::encodeName(Path()).constData(), 0600);
    Write("2024-05-01 14:30 mine\r\n2024-05-09 09:00 typed by hand\r\n");
    SetModified(Path(), edited);
    list.push_back(At(2024, 5, 3, 10, 0, "added in the clock"));
    ASSERT_TRUE(SaveMemoFile(Path(), list, &stamp));
    const QString name = "memo.txt." + edited.toString("yyyyMMdd-HHmmss");
    EXPECT_EQ(KeptCopies(dir.path()),
              (std::map<QString, QByteArray>{
                  {name, "2024-05-01 14:30 mine\r\n2024-05-09 09:00 typed by hand\r\n"}}));
    EXPECT_EQ(Read(), "2024-05-01 14:30 mine\r\n2024-05-03 10:00 added in the clock\r\n");
    for (const QString& file : {Path(), Path(name)}) {
        EXPECT_EQ(ModeOf(file), 0600u) << file.toStdString();
    }

    // The clock's own save is what it knows now; another edit at the same second gets its own
    // copy, and the first one stays.
    ASSERT_TRUE(SaveMemoFile(Path(), list, &stamp));
    EXPECT_EQ(KeptCopies(dir.path()).size(), 1u);
    Write("edited again\r\n");
    SetModified(Path(), edited);
    ASSERT_TRUE(SaveMemoFile(Path(), list, &stamp));
    const std::map<QString, QByteArray> kept = KeptCopies(dir.path());
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept.at(name), "2024-05-01 14:30 mine\r\n2024-05-09 09:00 typed by hand\r\n");
    EXPECT_EQ(kept.at(name + "-2"), "edited again\r\n");
}

TEST_F(MemoFileTest, AFileThatAppearedIsKeptAndOneThatWentNeedsNothing) {
    MemoFileStamp stamp;
    MemoList list;
    LoadMemoFile(Path(), list, &stamp);  // no file yet
    Write("2024-05-01 14:30 written meanwhile\r\n");
    ASSERT_TRUE(SaveMemoFile(Path(), {At(2024, 5, 2, 9, 0, "x")}, &stamp));
    EXPECT_EQ(KeptCopies(dir.path()).size(), 1u);

    ASSERT_TRUE(QFile::remove(Path()));
    ASSERT_TRUE(SaveMemoFile(Path(), {At(2024, 5, 2, 9, 0, "y")}, &stamp));
    EXPECT_EQ(KeptCopies(dir.path()).size(), 1u);
    EXPECT_EQ(Read(), "2024-05-02 09:00 y\r\n");
}

TEST_F(MemoFileTest, AChangedFileThatCannotBeReadOrKeptIsNotReplaced) {
    Write("2024-05-01 14:30 mine\r\n");
    MemoFileStamp stamp;
    MemoList list;
    LoadMemoFile(Path(), list, &stamp);
    Write("2024-05-01 14:30 theirs\r\n");
    // Unreadable now.
    ::chmod(QFile::encodeName(Path()).constData(), 0);
    int result = RunUnprivileged([&] { return SaveMemoFile(Path(), list, &stamp) ? 1 : 0; });
    EXPECT_EQ(result, 0);
    ::chmod(QFile::encodeName(Path()).constData(), 0644);
    EXPECT_EQ(Read(), "2024-05-01 14:30 theirs\r\n");

    // Readable, but the folder takes no copy (nor a save, which would replace it).
    ::chmod(QFile::encodeName(dir.path()).constData(), 0555);
    result = RunUnprivileged([&] { return SaveMemoFile(Path(), list, &stamp) ? 1 : 0; });
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Read(), "2024-05-01 14:30 theirs\r\n");
    EXPECT_TRUE(KeptCopies(dir.path()).empty());
}

// A version of another program's: eight lines, so that writing it in place takes a while.
QByteArray Theirs(int n) {
    QByteArray bytes;
    for (int line = 0; line < 8; ++line) {
        bytes += "2024-05-01 14:30 version " + QByteArray::number(n) + " line " +
                 QByteArray::number(line) + "\r\n";
    }
    return bytes;
}

TEST_F(MemoFileTest, NoVersionOfAProgramWritingMeanwhileIsLostOrKeptHalf) {
    for (const bool inPlace : {false, true}) {
        QTemporaryDir folder;
        const QString path = folder.filePath("memo.txt");
        const QByteArray name = QFile::encodeName(path);
        MemoFileStamp stamp;
        MemoList list{At(2030, 1, 1, 0, 0, "the clock's")};
        ASSERT_TRUE(SaveMemoFile(path, list, &stamp));
        // The other program writes as fast as it can: by rename, as editors and sync tools do
        // (an exchange, to see what it replaced), or in place, a line a write. Each version it
        // did not replace itself must survive whole.
        std::atomic<bool> stop = false;
        std::set<int> mustSurvive;
        std::thread writer([&] {
            ino_t last = 0;
            for (int n = 1; !stop; ++n) {
                mustSurvive.insert(n);
                if (inPlace) {
                    const int fd = ::open(name.constData(), O_WRONLY | O_TRUNC);
                    struct stat info = {};
                    ::fstat(fd, &info);
                    if (info.st_ino == last) {
                        mustSurvive.erase(n - 1);
                    }
                    last = info.st_ino;
                    for (int line = 0; line < 8; ++line) {
                        const QByteArray bytes = Theirs(n);
                        const qsizetype part = bytes.size() / 8;
                        if (::write(fd, bytes.constData() + line * part, part) != part) {
                            break;  // the test sees a short version as a lost one
                        }
                    }
                    ::close(fd);
                    continue;
                }
                WriteFile(path + "-new", Theirs(n));
                ::renameat2(AT_FDCWD, name + "-new", AT_FDCWD, name, RENAME_EXCHANGE);
                if (ReadFile(path + "-new") == Theirs(n - 1)) {
                    mustSurvive.erase(n - 1);
                }
            }
        });
        ::testing::internal::CaptureStderr();
        for (int save = 0; save < 25; ++save) {
            list[0].time += 300;
            ASSERT_TRUE(SaveMemoFile(path, list, &stamp)) << inPlace;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        ::testing::internal::GetCapturedStderr();
        stop = true;
        writer.join();

        std::set<QByteArray> survivors = {ReadFile(path)};
        const std::map<QString, QByteArray> kept = KeptCopies(folder.path());
        EXPECT_GT(kept.size(), 0u) << "no race took place, " << inPlace;
        for (const auto& [copy, bytes] : kept) {
            EXPECT_EQ(bytes, Theirs(bytes.mid(25, bytes.indexOf(' ', 25) - 25).toInt()))
                << "a kept copy is whole, " << inPlace;
            survivors.insert(bytes);
        }
        for (const int n : mustSurvive) {
            EXPECT_EQ(survivors.count(Theirs(n)), 1u) << "version " << n << ", " << inPlace;
        }
    }
}

TEST_F(MemoFileTest, SavesKilledAtAnyMomentLeaveOnlyTheFileAndKeptCopies) {
    const QByteArray text(100'000, 'x');  // so that a kill often comes mid-save
    std::srand(static_cast<unsigned>(::getpid()));
    for (int round = 0; round < 100; ++round) {
        const pid_t child = ::fork();
        if (child == 0) {
            MemoStore store(Path());
            store.Load();
            for (int i = 0;; ++i) {
                store.CommitEdits(Listed(store.memos()),
                                  {{"2030-01-01 00:00 " + text + QByteArray::number(i), 0}});
                store.SaveIfDirty();
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(std::rand() % 20'000));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
    }
    MemoStore(Path()).Load();  // the next start; no other program wrote, so nothing is kept
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"memo.txt"});
    const QByteArray last = Read();
    EXPECT_TRUE(last.startsWith("2030-01-01 00:00 " + text) && last.endsWith("\r\n"));
}

}  // namespace
