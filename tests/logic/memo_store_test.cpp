#include <sys/stat.h>

#include <map>

#include <gtest/gtest.h>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "logic/memo_store.h"
#include "tests/logic/support.h"

namespace {

class MemoStoreTest : public ::testing::Test {
protected:
    QString Path() const { return dir.filePath("memo.txt"); }
    QStringList KeptCopies() const {
        return QDir(dir.path()).entryList({"memo.txt.*"}, QDir::Files | QDir::Hidden);
    }
    MemoSaveReport SaveWithin(std::uint64_t bytes) {
        FileSizeLimit limit(bytes);
        return store.SaveIfDirty();
    }

    QTemporaryDir dir;
    MemoStore store{dir.filePath("memo.txt")};
};

TEST_F(MemoStoreTest, AnAnswerFindsItsMemoByIdWhereverItStandsNow) {
    const std::int64_t now = LocalSeconds(2026, 12, 7, 10, 2, 30);
    WriteFile(Path(),
              "2026-12-07 10:00 due\n2027-02-30 10:00 x\n2026-12-07 09:00 due too\n"
              "2026-12-08 09:00 tomorrow\n");
    ASSERT_TRUE(store.Load());
    const std::optional<MemoEntry> due = store.NextDue(now);
    ASSERT_TRUE(due);
    EXPECT_EQ(due->text(), "due");  // list order, not time order; the odd line never rings
    const MemoId later = store.memos()[2].id;
    // The user moved the first memo to the end by hand meanwhile; No still finds it.
    WriteFile(Path(),
              "2027-02-30 10:00 x\n2026-12-07 09:00 due too\n2026-12-08 09:00 tomorrow\n"
              "2026-12-07 10:00 due\n");
    store.Refresh();
    const struct {
        MemoId id;
        bool remove;
        bool found;
        std::vector<QByteArray> lines;
    } answers[] = {
        {due->id,
         false,
         true,
         {"2027-02-30 10:00 x", "2026-12-07 09:00 due too", "2026-12-08 09:00 tomorrow",
          "2026-12-07 10:05 due"}},
        {later,
         true,
         true,
         {"2027-02-30 10:00 x", "2026-12-08 09:00 tomorrow", "2026-12-07 10:05 due"}},
        {later,
         true,
         false,
         {"2027-02-30 10:00 x", "2026-12-08 09:00 tomorrow", "2026-12-07 10:05 due"}},
    };
    for (const auto& a : answers) {
        EXPECT_EQ(store.Answer(a.id, a.remove, now), a.found);
        EXPECT_EQ(Lines(store.memos()), a.lines);
    }
    EXPECT_FALSE(store.NextDue(now));
}

// The clock's changes and the user's hand edits, made while the clock runs, meet in the file
// line by line: each keeps what it changed; where both changed one line, the user's stands.
TEST_F(MemoStoreTest, HandEditsAndTheClocksOwnChangesMeetLineByLine) {
    const std::int64_t now = LocalSeconds(2026, 12, 7, 10, 2);
    const struct {
        const char* what;
        QByteArray handEdit;  // what the user's editor wrote, after the clock read the file
        bool postponeFirst;   // the clock's own change: No (postpone) or Yes (delete)
        QByteArray expectedFile;
    } cases[] = {
        {"a memo added and one changed by hand, the first postponed by the clock",
         "2026-12-07 10:00 tea\r\n2026-12-07 11:00 call Ann\r\n2026-12-07 10:01 pills\r\n", true,
         "2026-12-07 10:05 tea\r\n2026-12-07 11:00 call Ann\r\n2026-12-07 10:01 pills\r\n"},
        {"the line the clock deletes deleted by hand too", "2026-12-07 11:00 call Bob\r\n", false,
         "2026-12-07 11:00 call Bob\r\n"},
        {"the line the clock postpones changed by hand: the hand's stands",
         "2026-12-07 10:30 tea\r\n2026-12-07 11:00 call Bob\r\n", true,
         "2026-12-07 10:30 tea\r\n2026-12-07 11:00 call Bob\r\n"},
        {"a byte order mark and LF line ends, kept as they are",
         "\xEF\xBB\xBF"
         "2026-12-07 10:00 tea\n2026-12-07 11:00 call Bob\n",
         false,
         "\xEF\xBB\xBF"
         "2026-12-07 11:00 call Bob\n"},
    };
    for (const auto& c : cases) {
        QTemporaryDir folder;
        const QString path = folder.filePath("memo.txt");
        WriteFile(path, "2026-12-07 10:00 tea\r\n2026-12-07 11:00 call Bob\r\n");
        MemoStore shared(path);
        ASSERT_TRUE(shared.Load());
        const std::optional<MemoEntry> due = shared.NextDue(now);
        ASSERT_TRUE(due) << c.what;
        WriteFile(path, c.handEdit);
        shared.Answer(due->id, !c.postponeFirst, now);
        ::testing::internal::CaptureStderr();
        EXPECT_TRUE(shared.SaveIfDirty().result) << c.what;
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << c.what;  // nothing kept aside
        EXPECT_EQ(ReadFile(path), c.expectedFile) << c.what;
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{"memo.txt"})
            << c.what;
        // What the user added rings; the first memo of a marked file too.
        MemoStore next(path);
        next.Load();
        EXPECT_EQ(shared.memos(), next.memos()) << c.what;
        EXPECT_EQ(shared.NextDue(LocalSeconds(2026, 12, 7, 23, 0)).has_value(),
                  !next.memos().empty())
            << c.what;
    }
}

constexpr char kOld[] = "2026-12-07 10:00 water the plants\r\n2026-12-24 09:00 presents\r\n";

TEST_F(MemoStoreTest, AFullFileSystemKeepsTheOldFileAndTheChangesUntilASaveWorks) {
    WriteFile(Path(), kOld);
    store.Load();
    std::vector<ListedMemo> shown = Listed(store.memos());
    shown[0] = {"2026-12-31 23:00 new year", 0};
    store.CommitEdits(Listed(store.memos()), shown);

    const MemoSaveReport first = SaveWithin(20);
    EXPECT_FALSE(first.result);
    EXPECT_EQ(first.result.reason, QStringLiteral("File too large"));
    EXPECT_TRUE(first.failureBegins);
    EXPECT_TRUE(store.dirty());
    EXPECT_EQ(ReadFile(Path()), kOld);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"memo.txt"});

    const MemoSaveReport again = SaveWithin(20);
    EXPECT_FALSE(again.result);
    EXPECT_FALSE(again.failureBegins);  // the same run of failures: told once
    EXPECT_EQ(ReadFile(Path()), kOld);

    const MemoSaveReport works = store.SaveIfDirty();
    EXPECT_TRUE(works.result);
    EXPECT_TRUE(works.failureEnds);
    EXPECT_FALSE(store.dirty());
    EXPECT_EQ(ReadFile(Path()), "2026-12-24 09:00 presents\r\n2026-12-31 23:00 new year\r\n");

    const MemoSaveReport clean = store.SaveIfDirty();  // nothing to write
    EXPECT_TRUE(clean.result);
    EXPECT_FALSE(clean.failureEnds);
    EXPECT_TRUE(KeptCopies().isEmpty());
}

TEST_F(MemoStoreTest, AHandEditMadeWhileSavesFailIsMergedNotMovedAside) {
    WriteFile(Path(), kOld);
    store.Load();
    const QByteArray ours = "2026-12-31 23:00 a memo longer than the version edited by hand";
    store.CommitEdits(Listed(store.memos()), {{ours, 0}});  // both old memos deleted
    const QByteArray theirs = "2026-12-25 12:00 edited by hand\r\n";
    WriteFile(Path(), theirs);

    for (int minute = 0; minute < 3; ++minute) {
        // The longer memo file does not fit: their version stays where it is.
        EXPECT_FALSE(SaveWithin(theirs.size()).result) << minute;
    }
    EXPECT_EQ(ReadFile(Path()), theirs);
    EXPECT_TRUE(store.SaveIfDirty().result);
    EXPECT_TRUE(store.SaveIfDirty().result);
    EXPECT_EQ(ReadFile(Path()), theirs + ours + "\r\n");
    EXPECT_TRUE(KeptCopies().isEmpty());
}

TEST_F(MemoStoreTest, EveryMemoHasAnIdOfItsOwn) {
    WriteFile(Path(), "2026-12-07 10:00 same\r\n2026-12-07 10:00 same\r\n");
    store.Load();
    store.CommitEdits(Listed(store.memos()),
                      {Listed(store.memos())[1], {"2026-12-08 09:00 added", 0}});
    ASSERT_EQ(store.memos().size(), 2u);
    EXPECT_EQ(store.memos()[0].id, 2u);  // kept its id
    EXPECT_EQ(store.memos()[1].id, 3u);  // a new one
}

TEST_F(MemoStoreTest, AFileThatCannotBeReadIsNeverWrittenOverOrMovedAsideAndReadOnceItCan) {
    // The user's own folder and file, so that permissions bind even when the tests run as root.
    const QString folder = dir.filePath("own");
    ASSERT_TRUE(QDir().mkpath(folder));
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    ::chmod(QFile::encodeName(folder).constData(), 0777);
    const int held = RunUnprivileged([&] {
        const QString path = folder + "/memo.txt";
        WriteFile(path, kOld);
        ::chmod(QFile::encodeName(path).constData(), 0);
        MemoStore own(path);
        const bool told = !own.Load() && own.problem() == "Permission denied";
        own.CommitEdits({}, {{"2026-12-31 23:00 added meanwhile", 0}});
        const bool refused = !own.SaveIfDirty().result && own.memos().size() == 1;
        ::chmod(QFile::encodeName(path).constData(), 0600);
        return told && refused && own.SaveIfDirty().result &&
                       ReadFile(path) ==
                           kOld + QByteArray("2026-12-31 23:00 added meanwhile\r\n") &&
                       QDir(folder).entryList(QDir::Files | QDir::Hidden) == QStringList{"memo.txt"}
                   ? 0
                   : 1;
    });
    EXPECT_EQ(held, 0);
}

TEST_F(MemoStoreTest, TheNextStartClearsWhatCrashedSavesLeft) {
    WriteFile(Path(), kOld);
    const QByteArray earlierScheme = "2026-12-07 10:00 water the plants\r\n2026-12-2";
    const QByteArray knew = "2026-12-01 08:00 the version before\r\n";
    const QString versions =
        "-0123456789abcdef-" +
        QCryptographicHash::hash(knew, QCryptographicHash::Sha256).toHex().left(16);
    const QByteArray wrote = "2026-12-02 08:00 the version it wrote\r\n";
    const std::map<QString, QByteArray> left = {
        {".memo.txt.kelvarine-Qq1Ww2" + versions, knew},  // an earlier version's own: removed
        {".memo.txt.kelvarine-Ee4Rr5-" +
             QCryptographicHash::hash(wrote, QCryptographicHash::Blake2b_256).toHex().left(16) +
             "-0123456789abcdef",
         wrote},                                       // its own: removed
        {"memo.txt.Ab3xYz", earlierScheme},            // the earlier scheme's, or the user's: stays
        {"memo.txt.q1w2e3", ""},                       // stays
        {"memo.txt.backup", earlierScheme},            // stays
        {"memo.txt.README", "Notes\n"},                // stays
        {".memo.txt.kelvarine-aB3dE6", kOld},          // the file itself: removed
        {".memo.txt.kelvarine-Zz9Yy8", "theirs\r\n"},  // another version: kept
    };
    for (const auto& [name, bytes] : left) {
        WriteFile(dir.filePath(name), bytes);
    }
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(store.Load());
    ::testing::internal::GetCapturedStderr();
    QStringList all = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    const QStringList kept = all.filter(QRegularExpression(R"(^memo\.txt\.\d{8}-\d{6}$)"));
    ASSERT_EQ(kept.size(), 1) << all.join(' ').toStdString();
    EXPECT_EQ(ReadFile(dir.filePath(kept[0])), "theirs\r\n");
    all.removeAll(kept[0]);
    EXPECT_EQ(all, (QStringList{"memo.txt", "memo.txt.Ab3xYz", "memo.txt.backup", "memo.txt.q1w2e3",
                                "memo.txt.README"}));
    EXPECT_EQ(store.memos().size(), 2u);
}

}  // namespace
