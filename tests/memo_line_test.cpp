#include <cstdlib>
#include <ctime>
#include <ostream>

#include <gtest/gtest.h>
#include <QFileInfo>

#include "logic/memo.h"
#include "tests/test_support.h"

namespace {

struct ParseCase {
    const char* name;
    QByteArray line;
    std::int64_t time;
    QByteArray text;
};

// Expected times are written out already normalised, so they check the roll-over.
const ParseCase kParseCases[] = {
    {"regular", "2024-05-01 14:30 Call", LocalSeconds(2024, 5, 1, 14, 30), "Call"},
    {"separatorsIgnored", "2024/05/01_14.30#Call", LocalSeconds(2024, 5, 1, 14, 30), "Call"},
    {"month13", "2024-13-01 00:00 x", LocalSeconds(2025, 1, 1, 0, 0), "x"},
    {"hour24", "2024-05-01 24:00 x", LocalSeconds(2024, 5, 2, 0, 0), "x"},
    {"day0", "2024-03-00 10:00 x", LocalSeconds(2024, 2, 29, 10, 0), "x"},
    {"negativeHour", "2024-05-01 -1:30 x", LocalSeconds(2024, 4, 30, 23, 30), "x"},
    // atoi: leading blanks skipped, a sign taken, digits up to the first other byte.
    {"atoiFields", "2024-+5- 1 1:: 7x", LocalSeconds(2024, 5, 1, 1, 7), ""},
    {"nulInField", QByteArray("2024-0\0-01 10:00 x", 18), LocalSeconds(2023, 12, 1, 10, 0), "x"},
    {"bareDateAndSpace", "2024-05-01 14:30 ", LocalSeconds(2024, 5, 1, 14, 30), ""},
    {"lineEndsInsideFields", "2024-05-01", LocalSeconds(2024, 5, 1, 0, 0), ""},
    {"onlyOneByteAtSixteenDropped", "2024-05-01 14:30   two  ", LocalSeconds(2024, 5, 1, 14, 30),
     "  two  "},
    {"after2038", "2100-02-03 04:05 far", LocalSeconds(2100, 2, 3, 4, 5), "far"},
    {"lastFourDigitYear", "9999-12-31 23:59 x", LocalSeconds(9999, 12, 31, 23, 59), "x"},
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
    const MemoEntry entry = ParseMemoLine(c.line);
    EXPECT_EQ(entry.time, c.time);
    EXPECT_EQ(entry.text, c.text);
}

INSTANTIATE_TEST_SUITE_P(Lines, ParseMemoLineTest, ::testing::ValuesIn(kParseCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FormatMemoLine, WritesZeroPaddedLocalMinuteThenSpaceThenText) {
    EXPECT_EQ(FormatMemoLine({LocalSeconds(2024, 5, 1, 14, 30), "Call home"}),
              QByteArray("2024-05-01 14:30 Call home"));
    EXPECT_EQ(FormatMemoLine({LocalSeconds(2031, 1, 2, 3, 4), ""}),
              QByteArray("2031-01-02 03:04 "));
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
        const MemoEntry entry{LocalSeconds(2024, 5, 1, 14, 30), text};
        EXPECT_EQ(ParseMemoLine(FormatMemoLine(entry)), entry) << text.toHex().constData();
    }
}

TEST(FormatMemoLine, InvalidTimeStaysInvalidAfterRoundTrip) {
    EXPECT_EQ(ParseMemoLine(FormatMemoLine({kInvalidMemoTime, "x"})).time, kInvalidMemoTime);
}

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

std::int64_t UtcSeconds(int year, int month, int day, int hour, int minute) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    return timegm(&tm);
}

TEST(MemoTime, SummerAndWinterTimeFollowTheZone) {
    if (!QFileInfo::exists("/usr/share/zoneinfo/Europe/Berlin")) {
        GTEST_SKIP() << "no time zone data";
    }
    ZoneGuard zone("Europe/Berlin");
    const MemoEntry summer = ParseMemoLine("2024-07-01 14:30 s");
    const MemoEntry winter = ParseMemoLine("2024-01-15 14:30 w");
    EXPECT_EQ(summer.time, UtcSeconds(2024, 7, 1, 12, 30));
    EXPECT_EQ(winter.time, UtcSeconds(2024, 1, 15, 13, 30));
    EXPECT_EQ(FormatMemoLine(summer), QByteArray("2024-07-01 14:30 s"));
    EXPECT_EQ(FormatMemoLine(winter), QByteArray("2024-01-15 14:30 w"));

    // 02:30 does not exist on the morning the clocks go forward; it still names a real time.
    const std::int64_t gap = ParseMemoLine("2024-03-31 02:30 g").time;
    EXPECT_TRUE(gap == UtcSeconds(2024, 3, 31, 0, 30) || gap == UtcSeconds(2024, 3, 31, 1, 30))
        << gap;
}

}  // namespace
