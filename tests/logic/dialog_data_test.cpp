#include <climits>

#include <gtest/gtest.h>

#include "logic/dialog_data.h"

namespace {

TEST(DialogData, readsIntegersAsTheDialogFrameworkDoes) {
    const struct {
        const char* text;
        std::optional<int> expected;
    } cases[] = {
        {"9", 9},
        {"09", 9},
        {" \t7 \t", 7},
        {"+5", 5},
        {"-3", -3},
        {"-0", 0},
        {"99999999999", INT_MAX},  // saturates, so a range check rejects it
        {"-99999999999", INT_MIN},
        {"", std::nullopt},
        {"  ", std::nullopt},
        {"+", std::nullopt},
        {"- 5", std::nullopt},
        {"5a", std::nullopt},
        {"a5", std::nullopt},
        {"1 2", std::nullopt},
        {"1.5", std::nullopt},
        {"\n5", std::nullopt},   // only spaces and tabs count as blanks
        {"１２", std::nullopt},  // full-width digits are not decimal digits here
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseDialogInt(QString::fromUtf8(c.text)), c.expected) << c.text;
    }
}

TEST(DialogData, rangeAndFormatMessages) {
    EXPECT_EQ(ReadIntField(QStringLiteral("23"), 0, 23).value, 23);
    EXPECT_EQ(ReadIntField(QStringLiteral("0"), 0, 23).value, 0);
    for (const char* outside : {"24", "-1", "99999999999"}) {
        const IntFieldResult r = ReadIntField(QString::fromLatin1(outside), 0, 23);
        EXPECT_FALSE(r.value) << outside;
        EXPECT_EQ(r.message, QStringLiteral("Please enter an integer between 0 and 23."))
            << outside;
    }
    EXPECT_EQ(ReadIntField(QStringLiteral("60"), 0, 59).message,
              QStringLiteral("Please enter an integer between 0 and 59."));
    EXPECT_EQ(ReadIntField(QStringLiteral("x"), 0, 59).message,
              QStringLiteral("Please enter an integer."));
}

}  // namespace
