#include <algorithm>

#include <gtest/gtest.h>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "logic/memo_file.h"
#include "logic/memo_store.h"
#include "memo/memo_check.h"
#include "tests/test_support.h"

namespace {

std::int64_t At(int hour, int minute) {
    return LocalSeconds(2024, 5, 1, hour, minute);
}

QString Asked(int hour, int minute, const char* text) {
    return QStringLiteral("2024-05-01 %1:%2 %3 - 删除此备忘？")
        .arg(hour, 2, 10, QLatin1Char('0'))
        .arg(minute, 2, 10, QLatin1Char('0'))
        .arg(QString::fromUtf8(text));
}

class MemoCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        services.time = &time;
        services.alarm = &alarm;
        services.question = &question;
        services.paths.memoFile = dir.filePath("memo.txt");
    }

    void Check() { RunMemoCheck(*keeper, inReminder, services, nullptr); }
    void Start() {
        keeper = std::make_unique<MemoKeeper>(services);
        keeper->Load();
        store = &keeper->store();
    }
    // The memos as the clock has them after loading the file: saved, clean, with ids.
    void Have(const MemoList& list) {
        ASSERT_TRUE(SaveMemoFile(services.paths.memoFile, list));
        Start();
    }
    // Memos the file does not have yet, added in the memo dialog.
    void HaveUnsaved(const MemoList& list) {
        Start();
        store->CommitEdits({}, Listed(list));
    }
    const MemoList& memos() const { return store->memos(); }
    void Answer(bool yes, std::function<void()> whileOpen = {}) {
        question.script.push_back({yes, std::move(whileOpen)});
    }
    MemoList FileList() const {
        MemoList list;
        LoadMemoFile(services.paths.memoFile, list);
        return list;
    }

    QTemporaryDir dir;
    FakeTime time;
    FakeAlarm alarm;
    ScriptedQuestion question;
    Services services;
    std::unique_ptr<MemoKeeper> keeper;
    MemoStore* store = nullptr;
    bool inReminder = false;
};

TEST_F(MemoCheckTest, BoxTextAndCaption) {
    Have({{At(14, 30), "Call home"}});
    time.SetSeconds(At(14, 30));
    Answer(true);
    Check();
    ASSERT_EQ(question.asked.size(), 1u);
    EXPECT_EQ(question.asked[0], QStringLiteral("2024-05-01 14:30 Call home - 删除此备忘？"));
    EXPECT_EQ(question.lastCaption, QStringLiteral("memo"));
}

TEST(ReminderText, showsGbkTextsDecoded) {
    // Memo files from GBK systems read as they did there; UTF-8 is untouched.
    EXPECT_EQ(ReminderText({At(14, 30), "\xc4\xea\xb5\xd7"}),
              QStringLiteral("2024-05-01 14:30 年底 - 删除此备忘？"));
    EXPECT_EQ(ReminderText({At(14, 30), "年底"}),
              QStringLiteral("2024-05-01 14:30 年底 - 删除此备忘？"));
}

TEST_F(MemoCheckTest, DueMemosAskedInListOrderWithSoundRestartedAndEachAnswerSavedAtOnce) {
    Have({{At(10, 0), "first"}, {At(11, 0), "later"}, {At(10, 0), "second"}});
    time.SetSeconds(At(10, 0) + 20);
    bool playingWhileOpen = false;
    MemoList fileAtSecondBox;
    Answer(true, [&] { playingWhileOpen = alarm.playing && inReminder; });
    Answer(false, [&] { fileAtSecondBox = FileList(); });
    Check();
    EXPECT_TRUE(playingWhileOpen);
    // A crash while the second box is open keeps the first answer.
    EXPECT_EQ(fileAtSecondBox, (MemoList{{At(11, 0), "later"}, {At(10, 0), "second"}}));
    EXPECT_EQ(question.asked,
              (std::vector<QString>{Asked(10, 0, "first"), Asked(10, 0, "second")}));
    EXPECT_EQ(alarm.log, (std::vector<QString>{"start", "stop", "start", "stop"}));
    const MemoList expected = {{At(11, 0), "later"}, {At(10, 5), "second"}};
    EXPECT_EQ(memos(), expected);
    EXPECT_EQ(FileList(), expected);
    EXPECT_FALSE(store->dirty());
    EXPECT_FALSE(inReminder);
}

TEST_F(MemoCheckTest, AnUnansweredBoxEndsTheCheckKeepingItsMemoAndSavingTheRest) {
    Have({{At(10, 0), "answered"}, {At(10, 1), "open at the end"}, {At(10, 2), "never asked"}});
    time.SetSeconds(At(10, 5));
    Answer(true);
    question.script.push_back({false, {}, true});
    EXPECT_FALSE(RunMemoCheck(*keeper, inReminder, services, nullptr));
    EXPECT_EQ(question.asked.size(), 2u);
    EXPECT_EQ(alarm.log, (std::vector<QString>{"start", "stop", "start", "stop"}));
    EXPECT_FALSE(inReminder);
    const MemoList expected = {{At(10, 1), "open at the end"}, {At(10, 2), "never asked"}};
    EXPECT_EQ(memos(), expected);
    EXPECT_EQ(FileList(), expected);  // the Yes before it reached the file
    EXPECT_FALSE(store->dirty());
}

TEST_F(MemoCheckTest, NoPostponesFromOwnTimePastThePresentInOneAnswer) {
    Have({{At(10, 0), "late"}});
    time.SetSeconds(At(10, 12));
    // The box stays open a minute: the step after the answer counts.
    Answer(false, [&] { time.SetSeconds(At(10, 15)); });
    Check();
    EXPECT_EQ(question.asked, std::vector<QString>{Asked(10, 0, "late")});
    EXPECT_EQ(memos()[0].time, At(10, 20));
    EXPECT_EQ(FileList(), memos());
}

TEST_F(MemoCheckTest, PostponedMemoReturnsFiveMinutesLater) {
    Have({{At(10, 0), "m"}});
    time.SetSeconds(At(10, 0));
    Check();
    time.SetSeconds(At(10, 4) + 59);
    Check();
    EXPECT_EQ(question.asked.size(), 1u);
    time.SetSeconds(At(10, 5));
    Check();
    EXPECT_EQ(question.asked.back(), Asked(10, 5, "m"));
}

TEST_F(MemoCheckTest, ChecksWhileBoxIsOpenAreDroppedAndCaughtUpAfterAnswer) {
    Have({{At(10, 0), "a"}, {At(10, 2), "b"}, {At(10, 3), "c"}, {At(10, 30), "d"}});
    time.SetSeconds(At(10, 0));
    Answer(true, [&] {
        for (int minute = 1; minute <= 3; ++minute) {
            time.SetSeconds(At(10, minute));
            Check();
        }
        EXPECT_EQ(question.asked.size(), 1u);
        EXPECT_EQ(alarm.log.size(), 1u);
    });
    Answer(true);
    Answer(true);
    Check();
    EXPECT_EQ(question.asked,
              (std::vector<QString>{Asked(10, 0, "a"), Asked(10, 2, "b"), Asked(10, 3, "c")}));
    EXPECT_EQ(alarm.log, (std::vector<QString>{"start", "stop", "start", "stop", "start", "stop"}));
    EXPECT_EQ(FileList(), (MemoList{{At(10, 30), "d"}}));
}

// Counts how often the check asks for the time.
class CountingTime : public FakeTime {
public:
    mutable int calls = 0;
    std::int64_t NowMs() const override {
        ++calls;
        return FakeTime::NowMs();
    }
};

TEST_F(MemoCheckTest, TakesOneTimeSamplePerRun) {
    CountingTime counting;
    counting.SetSeconds(At(10, 0));
    services.time = &counting;
    Have({{At(9, 0), "a"}, {At(11, 0), "b"}, {At(10, 0), "c"}, {At(12, 0), "d"}});
    Answer(true);
    Answer(true);
    Check();
    EXPECT_EQ(question.asked.size(), 2u);
    EXPECT_EQ(counting.calls, 3);  // the run itself and one nested run per answer
}

TEST_F(MemoCheckTest, LinesTheClockCannotUseNeverRingAndStayAsWritten) {
    const QByteArray odd =
        "0000-01-01 00:00 year zero\n0001-01-01 00:00 year one\n\n"
        "9999-12-31 23:60 minute 60\n2027-02-30 10:00 no such day\nshort\n";
    WriteFile(services.paths.memoFile, "2024-05-01 10:00 due\n" + odd);
    Start();
    time.SetSeconds(At(10, 0));
    Check();  // No
    EXPECT_EQ(question.asked, std::vector<QString>{Asked(10, 0, "due")});
    EXPECT_EQ(ReadFile(services.paths.memoFile), "2024-05-01 10:05 due\n" + odd);
}

TEST_F(MemoCheckTest, YesOnOnlyMemoLeavesEmptyFile) {
    Have({{At(10, 0), "only"}});
    time.SetSeconds(At(10, 0));
    Answer(true);
    Check();
    EXPECT_TRUE(memos().empty());
    ASSERT_TRUE(QFileInfo::exists(services.paths.memoFile));
    EXPECT_EQ(QFileInfo(services.paths.memoFile).size(), 0);
}

TEST_F(MemoCheckTest, NothingDueAndCleanTouchesNothing) {
    Have({{At(11, 0), "later"}});
    QFile file(services.paths.memoFile);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const QDateTime longAgo = QDateTime::fromSecsSinceEpoch(At(1, 0));
    ASSERT_TRUE(file.setFileTime(longAgo, QFileDevice::FileModificationTime));
    file.close();
    time.SetSeconds(At(10, 59) + 59);
    Check();
    EXPECT_TRUE(question.asked.empty());
    EXPECT_TRUE(alarm.log.empty());
    EXPECT_EQ(QFileInfo(services.paths.memoFile).lastModified(), longAgo);
}

TEST_F(MemoCheckTest, DirtyWithNothingDueRewritesFileWithoutBox) {
    HaveUnsaved({{At(11, 0), "later"}});
    time.SetSeconds(At(10, 0));
    Check();
    EXPECT_TRUE(question.asked.empty());
    EXPECT_TRUE(alarm.log.empty());
    EXPECT_EQ(FileList(), memos());
    EXPECT_FALSE(store->dirty());
}

TEST_F(MemoCheckTest, FailedSaveKeepsDirtyAndNextCheckSaves) {
    // A plain file where the memo folder should be makes every save fail, even for root.
    const QString blocker = dir.filePath("blocked");
    ASSERT_TRUE(QFile(blocker).open(QIODevice::WriteOnly));
    services.paths.memoFile = blocker + "/memo.txt";
    HaveUnsaved({{At(10, 0), "a"}});
    time.SetSeconds(At(10, 0));
    Answer(false);

    ::testing::internal::CaptureStderr();
    Check();
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(store->dirty());
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(err.back(), '\n');

    ASSERT_TRUE(QFile::remove(blocker));
    Check();
    EXPECT_FALSE(store->dirty());
    EXPECT_EQ(FileList(), (MemoList{{At(10, 5), "a"}}));
    EXPECT_EQ(question.asked.size(), 1u);
}

TEST_F(MemoCheckTest, AnswerGoesToAskedMemoAfterTheDialogCommitted) {
    Have({{At(12, 0), "noon"}, {At(10, 0), "asked"}, {At(10, 0), "other"}});
    time.SetSeconds(At(10, 0));
    // The memo dialog commits while the box is open: the list is sorted, the asked memo moved.
    Answer(true, [&] {
        std::vector<ListedMemo> shown = Listed(memos());
        shown[0] = {"2024-05-01 12:00 new", 0};
        store->CommitEdits(Listed(memos()), shown);
    });
    Answer(false);
    Check();
    EXPECT_EQ(question.asked, (std::vector<QString>{Asked(10, 0, "asked"), Asked(10, 0, "other")}));
    const MemoList expected = {{At(10, 5), "other"}, {At(12, 0), "new"}};
    EXPECT_EQ(memos(), expected);
    EXPECT_EQ(FileList(), expected);
}

TEST_F(MemoCheckTest, AnAnswerForALineEditedByHandMeanwhileChangesNothingAndTheEditRings) {
    Have({{At(10, 0), "gone"}});
    time.SetSeconds(At(10, 0));
    Answer(true, [&] {
        WriteFile(services.paths.memoFile, "2024-05-01 10:00 different\n2024-05-01 12:00 x\n");
    });
    Check();  // the nested run then asks about "different" and gets No
    EXPECT_EQ(question.asked,
              (std::vector<QString>{Asked(10, 0, "gone"), Asked(10, 0, "different")}));
    const MemoList expected = {{At(10, 5), "different"}, {At(12, 0), "x"}};
    EXPECT_EQ(memos(), expected);
    EXPECT_EQ(FileList(), expected);
}

}  // namespace
