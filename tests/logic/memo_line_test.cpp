#include <cstdlib>
#include <ctime>
#include <ostream>

#include <gtest/gtest.h>
#include <QFileInfo>

#include "logic/memo.h"
#include "tests/logic/support.h"

namespace {

// Sets a time zone for one test and puts UTC back afterwards.
class ZoneGuard {
public:
    explicit ZoneGuard(const char* zone) {
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneGuard() {
        setenv("TZ", "UTC", 1);
        tzset();
    }
};

struct ParseCase {
    const char* name;
    QByteArray line;
    std::int64_t time;
    QByteArray text;
};

// Expected times are seconds since 1970 in UTC (the zone the cases run in). A field out of range
// makes the line unusable rather than another date.
const ParseCase kParseCases[] = {
    {"regular", "2024-05-01 14:30 Call", 1714573800, "Call"},
    {"separatorsIgnored", "2024/05/01_14.30#Call", 1714573800, "Call"},
    {"month13", "2024-13-01 00:00 x", kInvalidMemoTime, "x"},
    {"hour24", "2024-05-01 24:00 x", kInvalidMemoTime, "x"},
    {"minute60", "9999-12-31 23:60 x", kInvalidMemoTime, "x"},
    {"day0", "2024-03-00 10:00 x", kInvalidMemoTime, "x"},
    {"february30", "2027-02-30 10:00 x", kInvalidMemoTime, "x"},
    {"leapDay", "2028-02-29 10:00 x", 1835431200, "x"},
    {"negativeHour", "2024-05-01 -1:30 x", kInvalidMemoTime, "x"},
    // atoi: leading blanks skipped, a sign taken, digits up to the first other byte.
    {"atoiFields", "2024-+5- 1 1:: 7x", 1714525620, ""},  // 2024-05-01 01:07
    {"nulInField", QByteArray("2024-0\0-01 10:00 x", 18), kInvalidMemoTime, "x"},
    {"bareDateAndSpace", "2024-05-01 14:30 ", 1714573800, ""},
    {"noTextField", "2024-05-01 14:30", kInvalidMemoTime, ""},
    {"onlyOneByteAtSixteenDropped", "2024-05-01 14:30   two  ", 1714573800, "  two  "},
    {"after2038", "2100-02-03 04:05 far", 4105310700, "far"},
    {"lastFourDigitYear", "9999-12-31 23:59 x", 253402300740, "x"},
    {"before1970", "1969-12-31 23:59 old", kInvalidMemoTime, "old"},
    {"yearZero", "0000-01-01 00:00 x", kInvalidMemoTime, "x"},
    {"yearOne", "0001-01-01 00:00 x", kInvalidMemoTime, "x"},
    {"rollsPastYear9999", "9999-13-01 00:00 x", kInvalidMemoTime, "x"},
    {"noDigits", "abcdefghijklmnopq text", kInvalidMemoTime, " text"},
};

void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << c.name;
}

class ParseMemoLineTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseMemoLineTest, TakesFieldsByPosition) {
    const ParseCase& c = GetParam();
    ZoneGuard zone("UTC");
    const MemoEntry entry = ParseMemoLine(c.line);
    EXPECT_EQ(entry.time, c.time);
    EXPECT_EQ(entry.text(), c.text);
    EXPECT_EQ(FormatMemoLine(entry), c.line);  // written back as it came
}

INSTANTIATE_TEST_SUITE_P(Lines, ParseMemoLineTest, ::testing::ValuesIn(kParseCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FormatMemoLine, WritesZeroPaddedLocalMinuteThenSpaceThenText) {
    ZoneGuard zone("UTC");
    EXPECT_EQ(FormatMemoLine({1714573800, "Call home"}), QByteArray("2024-05-01 14:30 Call home"));
    EXPECT_EQ(FormatMemoLine({1925089440, ""}), QByteArray("2031-01-02 03:04 "));
    // The memo dialog's lines take the same form.
    EXPECT_EQ(MemoLineAt(2031, 1, 2, 3, 4, "x"), QByteArray("2031-01-02 03:04 x"));
}

TEST(FormatMemoLine, TextBytesRoundTripUnchanged) {
    const QByteArray texts[] = {
        "\xb5\xe7\xbb\xb0 \xbb\xd8\xbc\xd2",  // GBK
        "电话 回家",
        "\xff\xfe\xc3 broken UTF-8",
        QByteArray("nul\0inside", 10),
        "  spaces kept  ",
        "",
    };
    for (const QByteArray& text : texts) {
        const MemoEntry entry{1714573800, text};
        EXPECT_EQ(ParseMemoLine(FormatMemoLine(entry)), entry) << text.toHex().constData();
    }
}

TEST(FormatMemoLine, InvalidTimeStaysInvalidAfterRoundTrip) {
    EXPECT_EQ(ParseMemoLine(FormatMemoLine({kInvalidMemoTime, "x"})).time, kInvalidMemoTime);
}

TEST(MemoTime, SummerAndWinterTimeFollowTheZone) {
    if (!QFileInfo::exists("/usr/share/zoneinfo/Europe/Berlin")) {
        GTEST_SKIP() << "no time zone data";
    }
    ZoneGuard zone("Europe/Berlin");
    const MemoEntry summer = ParseMemoLine("2024-07-01 14:30 s");
    const MemoEntry winter = ParseMemoLine("2024-01-15 14:30 w");
    EXPECT_EQ(summer.time, 1719837000);  // 2024-07-01 12:30 UTC
    EXPECT_EQ(winter.time, 1705325400);  // 2024-01-15 13:30 UTC
    EXPECT_EQ(FormatLocalTime(summer.time, "%H:%M"), QByteArray("14:30"));
    EXPECT_EQ(FormatLocalTime(winter.time, "%H:%M"), QByteArray("14:30"));
}

TEST(MemoTime, MinutesTheClocksRepeatOrSkipFollowOneRuleWhateverCameBefore) {
    const struct {
        const char* zone;
        const char* line;
        std::int64_t time;
    } cases[] = {
        // Repeated: the first occurrence, in summer time.
        {"Europe/Berlin", "2026-10-25 02:30 x", 1792888200},     // 00:30 UTC
        {"Australia/Sydney", "2026-04-05 02:30 x", 1775316600},  // 15:30 UTC the day before
        // Skipped: on by the length of the gap, to 03:30 summer time.
        {"Europe/Berlin", "2026-03-29 02:30 x", 1774747800},     // 01:30 UTC
        {"Australia/Sydney", "2026-10-04 02:30 x", 1791045000},  // 16:30 UTC the day before
    };
    for (const auto& c : cases) {
        if (!QFileInfo::exists(QStringLiteral("/usr/share/zoneinfo/") + c.zone)) {
            GTEST_SKIP() << "no time zone data";
        }
        ZoneGuard zone(c.zone);
        // mktime would settle these by the line read before.
        for (const char* before : {"2026-01-15 12:00 winter", "2026-07-15 12:00 summer"}) {
            ParseMemoLine(before);
            EXPECT_EQ(ParseMemoLine(c.line).time, c.time)
                << c.zone << " " << c.line << " after " << before;
        }
    }
}

TEST(MemoTime, NoPostponesPastThePresentInWholeSteps) {
    const std::int64_t due = 1'800'000'000;  // on a whole minute
    const struct {
        std::int64_t now;
        std::int64_t postponed;
    } cases[] = {
        {due + 20, due + 300},             // due this minute: five minutes, as always
        {due - 60, due + 300},             // answered early
        {due + 12 * 60, due + 900},        // 12 minutes late: one press, not three
        {due + 600, due + 900},            // a step that is now is not after now
        {due + 86400, due + 86400 + 300},  // a day late: one press, not 289
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PostponedTime(due, c.now), c.postponed) << c.now - due;
    }
}

}  // namespace
