#include <gtest/gtest.h>

#include "logic/calendar_grid.h"

namespace {

TEST(CalendarGrid, aCellsNumberAndRowGiveItsDate) {
    const struct {
        int year, month, row, day;
        QDate date;
    } cases[] = {
        // December 2026 from Monday: 30 November leads in, 10 January ends it.
        {2026, 12, 0, 30, QDate(2026, 11, 30)},
        {2026, 12, 0, 1, QDate(2026, 12, 1)},
        {2026, 12, 4, 31, QDate(2026, 12, 31)},
        {2026, 12, 4, 1, QDate(2027, 1, 1)},
        {2026, 12, 5, 10, QDate(2027, 1, 10)},
        {2027, 1, 0, 28, QDate(2026, 12, 28)},
        // A month whose 1st opens a week starts in the second row, behind a whole week before.
        {2021, 2, 0, 31, QDate(2021, 1, 31)},
        {2021, 2, 5, 7, QDate(2021, 3, 7)},
        // Only the first row leads in and only the last two follow on.
        {2026, 12, 1, 8, QDate(2026, 12, 8)},
        {2026, 12, 3, 14, QDate(2026, 12, 14)},
        // What no grid shows.
        {2026, 3, 0, 30, QDate()},  // no 30 February
        {2026, 12, 2, 0, QDate()},
        {2026, 12, 2, 32, QDate()},
        {2026, 12, 6, 1, QDate()},
        {2026, 13, 2, 14, QDate()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CalendarGridDate(c.year, c.month, c.row, c.day), c.date)
            << c.year << "-" << c.month << " row " << c.row << " day " << c.day;
    }
}

}  // namespace
