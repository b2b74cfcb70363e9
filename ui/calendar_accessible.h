#pragma once

// Lets assistive technology read a calendar's dates as a table of dates under the days' names.
// Qt's own accessible table names its columns from the model's header data, which a calendar's
// model leaves as the numbers 1 to 7 (it draws the days' names in a row of its own), and names
// its cells with their bare day numbers. This one names the columns with the long names of the
// days, each cell with its full date, and selects a cell's date on its press action. Call once
// the application object exists: installed after Qt's own, it is asked first.
void InstallCalendarAccessibility();
