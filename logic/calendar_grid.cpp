#include "logic/calendar_grid.h"

namespace {

constexpr int kRows = 6;
constexpr int kDaysInWeek = 7;

}  // namespace

QDate CalendarGridDate(int yearShown, int monthShown, int row, int dayNumber, QCalendar calendar) {
    const QDate first(yearShown, monthShown, 1, calendar);
    if (!first.isValid() || row < 0 || row >= kRows || dayNumber < 1) {
        return {};
    }
    QDate month = first;
    if (row == 0 && dayNumber > kDaysInWeek) {
        month = first.addMonths(-1, calendar);
    } else if (row >= kRows - 2 && dayNumber < 15) {
        month = first.addMonths(1, calendar);
    }
    const QCalendar::YearMonthDay parts = calendar.partsFromDate(month);
    // An invalid day (the 30th of a February) makes an invalid date.
    return QDate(parts.year, parts.month, dayNumber, calendar);
}

Qt::DayOfWeek CalendarColumnDay(Qt::DayOfWeek firstDay, int column) {
    const int fromMonday = (static_cast<int>(firstDay) - 1 + column) % kDaysInWeek;
    return static_cast<Qt::DayOfWeek>((fromMonday + kDaysInWeek) % kDaysInWeek + 1);
}
