#include <sys/stat.h>

#include <gtest/gtest.h>
#include <map>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "logic/memo_file.h"
#include "tests/test_support.h"

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

TEST_F(MemoFileTest, SkipsShortLinesAndReadsEveryLineEnd) {
    Write(
        "\r\n"
        "2024-05-01 14:30\r\n"  // 16 bytes: no separating space
        "2024-05-01 14:30 A\r\n"
        "\n"
        "short\n"
        "2024-05-01 14:30 \n"
        "2024-05-02 09:00 cr\rinside\n"
        "2024-05-03 09:00 last");
    const MemoList expected = {At(2024, 5, 1, 14, 30, "A"), At(2024, 5, 1, 14, 30, ""),
                               At(2024, 5, 2, 9, 0, "cr\rinside"), At(2024, 5, 3, 9, 0, "last")};
    EXPECT_EQ(Load(), expected);
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

TEST_F(MemoFileTest, DirectoryPipeOrUnreadableFileGivesEmptyList) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("memo.txt"));
    EXPECT_TRUE(Load().empty());

    // A named pipe with no writer would block the clock's start-up for ever.
    const QString pipe = Path("pipe.txt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    MemoList fromPipe;
    LoadMemoFile(pipe, fromPipe);
    EXPECT_TRUE(fromPipe.empty());

    const QString unreadable = Path("locked.txt");
    QFile file(unreadable);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("2024-05-01 14:30 secret\r\n");
    file.close();
    ASSERT_TRUE(file.setPermissions(QFileDevice::Permissions()));
    const int result = RunUnprivileged([&] {
        if (!QFileInfo::exists(unreadable)) {
            return 1;  // the test itself went wrong
        }
        MemoList list;
        LoadMemoFile(unreadable, list);
        return list.empty() ? 0 : 2;
    });
    EXPECT_EQ(result, 0);
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
        {kInvalidMemoTime, "broken date"},
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
    Write("2024-05-01 14:30 mine\r\n2024-05-09 09:00 typed by hand\r\n");
    SetModified(Path(), edited);
    list.push_back(At(2024, 5, 3, 10, 0, "added in the clock"));
    ASSERT_TRUE(SaveMemoFile(Path(), list, &stamp));
    const QString name = "memo.txt." + edited.toString("yyyyMMdd-HHmmss");
    EXPECT_EQ(KeptCopies(dir.path()),
              (std::map<QString, QByteArray>{
                  {name, "2024-05-01 14:30 mine\r\n2024-05-09 09:00 typed by hand\r\n"}}));
    EXPECT_EQ(Read(), "2024-05-01 14:30 mine\r\n2024-05-03 10:00 added in the clock\r\n");

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

}  // namespace
