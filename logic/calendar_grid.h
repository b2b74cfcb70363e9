#pragma once

#include <QCalendar>
#include <QDate>

// A month calendar shows six rows of seven days: the shown month, led in by the end of the month
// before and followed by the start of the month after. Its cells carry only their day's number;
// these give the rest.

// The date of the cell in `row` (0-5) that shows `dayNumber` while the calendar shows
// `monthShown` of `yearShown` (in `calendar`). The first row can hold at most the shown month's
// first week, so a number above 7 there belongs to the month before; the last two rows begin at
// the shown month's 22nd at the earliest, so a number below 15 there belongs to the month after.
// Invalid for a cell no such grid has.
QDate CalendarGridDate(int yearShown, int monthShown, int row, int dayNumber,
                       QCalendar calendar = QCalendar());

// The day of the week the grid's `column` (0-6) shows when its weeks begin on `firstDay`.
Qt::DayOfWeek CalendarColumnDay(Qt::DayOfWeek firstDay, int column);
