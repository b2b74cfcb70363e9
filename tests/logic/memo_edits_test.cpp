#include <algorithm>

#include <gtest/gtest.h>

#include "logic/memo_edits.h"
#include "tests/logic/support.h"

namespace {

MemoEntry At(int day, int hour, int minute, const QByteArray& text) {
    return {LocalSeconds(2026, 12, day, hour, minute), text};
}

// The dialog's lines for typed lines (without ids).
std::vector<ListedMemo> Listed(const std::vector<QByteArray>& lines) {
    std::vector<ListedMemo> listed;
    for (const QByteArray& line : lines) {
        listed.push_back({line, 0});
    }
    return listed;
}

TEST(ListOrder, chronologicalThenTextIgnoringCaseThenBytes) {
    std::vector<QByteArray> lines = {
        "2026-12-08 09:00 b",          "2026-12-07 10:00 zebra", "2026-12-07 09:00 Beta",
        "2026-12-07 09:00 alpha",      "2026-12-07 09:00 beta",  "2026-12-07 09:00 \xc4\xea",
        "2026-12-07 09:00 Be\xc3\xa9", "2026-12-07 09:00 be",    "2026-12-07 09:00 _x",
    };
    std::sort(lines.begin(), lines.end(), ListLineLess);
    const std::vector<QByteArray> expected = {
        "2026-12-07 09:00 _x",  // before every letter, whatever its case
        "2026-12-07 09:00 alpha",    "2026-12-07 09:00 be",  // a prefix first
        "2026-12-07 09:00 Beta",     "2026-12-07 09:00 beta", "2026-12-07 09:00 Be\xc3\xa9",
        "2026-12-07 09:00 \xc4\xea",  // shown as CJK, which sorts after Latin letters
        "2026-12-07 10:00 zebra",    "2026-12-08 09:00 b",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_FALSE(ListLineLess("2026-12-07 09:00 a", "2026-12-07 09:00 a"));
}

TEST(CommitListEdits, withoutRemindersGivesTheDialogsLinesInItsOrder) {
    const MemoList current = {At(9, 8, 0, "later"), At(7, 9, 0, "b"), At(7, 9, 0, "A"),
                              At(9, 8, 0, "later")};
    const std::vector<ListedMemo> filled = Listed(current);
    // The user deleted one of the duplicates and "b", and added two.
    std::vector<QByteArray> shown = {
        FormatMemoLine(At(7, 9, 0, "A")), FormatMemoLine(At(9, 8, 0, "later")),
        FormatMemoLine(At(8, 7, 30, "new")), FormatMemoLine(At(8, 7, 30, "new"))};
    std::sort(shown.begin(), shown.end(), ListLineLess);
    const MemoList committed = CommitListEdits(current, filled, Listed(shown));
    EXPECT_EQ(Lines(committed), shown);
    // Untouched, the list is simply put in the dialog's order.
    const MemoList sorted = CommitListEdits(current, filled, filled);
    EXPECT_EQ(sorted, (MemoList{At(7, 9, 0, "A"), At(7, 9, 0, "b"), At(9, 8, 0, "later"),
                                At(9, 8, 0, "later")}));
}

TEST(CommitListEdits, neverUndoesWhatAReminderDidMeanwhile) {
    const MemoList filledFrom = {At(7, 10, 0, "rang yes"), At(7, 10, 0, "rang no"),
                                 At(7, 12, 0, "user deletes"), At(7, 13, 0, "kept")};
    const std::vector<ListedMemo> filled = Listed(filledFrom);
    // While the dialog was open one reminder deleted its memo and one was postponed.
    const MemoList current = {At(7, 10, 5, "rang no"), At(7, 12, 0, "user deletes"),
                              At(7, 13, 0, "kept")};
    const std::vector<ListedMemo> shown = {
        filled[0], filled[1], filled[3], {FormatMemoLine(At(7, 11, 0, "user adds")), 0}};
    EXPECT_EQ(CommitListEdits(current, filled, shown),
              (MemoList{At(7, 10, 5, "rang no"), At(7, 11, 0, "user adds"), At(7, 13, 0, "kept")}));
}

TEST(CommitListEdits, findsTheMemosTheUserDeletedByTheirIds) {
    const auto withId = [](MemoEntry memo, MemoId id) {
        memo.id = id;
        return memo;
    };
    const MemoList filledFrom = {withId(At(7, 10, 0, "tea"), 1), withId(At(7, 11, 0, "twin"), 2),
                                 withId(At(7, 11, 0, "twin"), 3), withId(At(7, 12, 0, "kept"), 4)};
    const std::vector<ListedMemo> filled = Listed(filledFrom);
    // A reminder postponed tea, so its line no longer matches; the user deletes it and the
    // second of two equal lines.
    const MemoList current = {withId(At(7, 10, 5, "tea"), 1), filledFrom[1], filledFrom[2],
                              filledFrom[3]};
    const MemoList committed = CommitListEdits(current, filled, {filled[1], filled[3]});
    EXPECT_EQ(committed, (MemoList{At(7, 11, 0, "twin"), At(7, 12, 0, "kept")}));
    ASSERT_EQ(committed.size(), 2u);
    EXPECT_EQ(committed[0].id, 2u);
    EXPECT_EQ(committed[1].id, 4u);
}

}  // namespace
