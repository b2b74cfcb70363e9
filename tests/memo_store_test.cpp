#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

#include "logic/memo_store.h"
#include "tests/test_support.h"

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

constexpr char kOld[] = "2026-12-07 10:00 water the plants\r\n2026-12-24 09:00 presents\r\n";

TEST_F(MemoStoreTest, AFullFileSystemKeepsTheOldFileAndTheChangesUntilASaveWorks) {
    WriteFile(Path(), kOld);
    store.Load();
    store.Edit().erase(store.Edit().begin());
    store.Edit().push_back({LocalSeconds(2026, 12, 31, 23, 0), "new year"});

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

TEST_F(MemoStoreTest, AVersionChangedByOthersIsKeptOnceHoweverOftenTheSaveFails) {
    WriteFile(Path(), kOld);
    store.Load();
    const QByteArray theirs = "2026-12-25 12:00 edited by hand\r\n";
    WriteFile(Path(), theirs);
    const QByteArray ours = "2026-12-31 23:00 a memo longer than the version edited by hand";
    store.Replace({ParseMemoLine(ours)});

    ::testing::internal::CaptureStderr();
    for (int minute = 0; minute < 3; ++minute) {
        // The limit is per file: the kept copy fits, the longer memo file does not.
        EXPECT_FALSE(SaveWithin(theirs.size()).result) << minute;
    }
    ::testing::internal::GetCapturedStderr();
    ASSERT_EQ(KeptCopies().size(), 1);
    EXPECT_EQ(ReadFile(dir.filePath(KeptCopies()[0])), theirs);
    EXPECT_EQ(ReadFile(Path()), theirs);

    EXPECT_TRUE(store.SaveIfDirty().result);
    EXPECT_EQ(ReadFile(Path()), ours + "\r\n");
    EXPECT_EQ(KeptCopies().size(), 1);
}

TEST_F(MemoStoreTest, EveryMemoHasAnIdOfItsOwn) {
    WriteFile(Path(), "2026-12-07 10:00 same\r\n2026-12-07 10:00 same\r\n");
    store.Load();
    store.Replace({store.memos()[1], {LocalSeconds(2026, 12, 8, 9, 0), "added"}});
    ASSERT_EQ(store.memos().size(), 2u);
    EXPECT_EQ(store.memos()[0].id, 2u);  // kept its id
    EXPECT_EQ(store.memos()[1].id, 3u);  // a new one
}

}  // namespace
