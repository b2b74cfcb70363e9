#include <cstdlib>
#include <ctime>
#include <ostream>

#include <gtest/gtest.h>
#include <QFileInfo>

#include "logic/memo.h"
#include "tests/test_support.h"

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

// Expected times are seconds since 1970 in UTC (the zone the cases run in), written out from
// the normalised date, so they check the roll-over.
const ParseCase kParseCases[] = {
    {"regular", "2024-05-01 14:30 Call", 1714573800, "Call"},
    {"separatorsIgnored", "2024/05/01_14.30#Call", 1714573800, "Call"},
    {"month13", "2024-13-01 00:00 x", 1735689600, "x"},       // 2025-01-01 00:00
    {"hour24", "2024-05-01 24:00 x", 1714608000, "x"},        // 2024-05-02 00:00
    {"day0", "2024-03-00 10:00 x", 1709200800, "x"},          // 2024-02-29 10:00
    {"negativeHour", "2024-05-01 -1:30 x", 1714519800, "x"},  // 2024-04-30 23:30
    // atoi: leading blanks skipped, a sign taken, digits up to the first other byte.
    {"atoiFields", "2024-+5- 1 1:: 7x", 1714525620, ""},                     // 2024-05-01 01:07
    {"nulInField", QByteArray("2024-0\0-01 10:00 x", 18), 1701424800, "x"},  // 2023-12-01 10:00
    {"bareDateAndSpace", "2024-05-01 14:30 ", 1714573800, ""},
    {"lineEndsInsideFields", "2024-05-01", 1714521600, ""},
    {"onlyOneByteAtSixteenDropped", "2024-05-01 14:30   two  ", 1714573800, "  two  "},
    {"after2038", "2100-02-03 04:05 far", 4105310700, "far"},
    {"lastFourDigitYear", "9999-12-31 23:59 x", 253402300740, "x"},
    {"before1970", "1969-12-31 23:59 old", kInvalidMemoTime, "old"},
    {"yearZero", "0000-01-01 00:00 x", kInvalidMemoTime, "x"},
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
    EXPECT_EQ(entry.text, c.text);
}

INSTANTIATE_TEST_SUITE_P(Lines, ParseMemoLineTest, ::testing::ValuesIn(kParseCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FormatMemoLine, WritesZeroPaddedLocalMinuteThenSpaceThenText) {
    ZoneGuard zone("UTC");
    EXPECT_EQ(FormatMemoLine({1714573800, "Call home"}), QByteArray("2024-05-01 14:30 Call home"));
    EXPECT_EQ(FormatMemoLine({1925089440, ""}), QByteArray("2031-01-02 03:04 "));
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
    EXPECT_EQ(FormatMemoLine(summer), QByteArray("2024-07-01 14:30 s"));
    EXPECT_EQ(FormatMemoLine(winter), QByteArray("2024-01-15 14:30 w"));

    // 02:30 does not exist on the morning the clocks go forward; it still names a real time.
    const std::int64_t gap = ParseMemoLine("2024-03-31 02:30 g").time;
    EXPECT_TRUE(gap == 1711845000 || gap == 1711848600) << gap;  // 00:30 or 01:30 UTC
}

}  // namespace
