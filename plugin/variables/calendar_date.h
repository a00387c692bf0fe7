// Dates as the variables need them, without the system: offsets by days,
// weeks, months and years, the weekday, and the Japanese era of a day.
#pragma once

struct CalendarDate {
    int year;
    int month; // 1..12
    int day;   // 1..31
};

// Moves date by amount units ('d', 'w', 'm' or 'y'). A month or year offset
// keeps the day, or takes the month's last day where it has fewer (1/31 + 1m
// is 2/28, or 2/29 in a leap year). False when the result leaves the years
// 1601..9999, which the system's date functions accept.
bool ShiftCalendarDate(CalendarDate* date, long amount, char unit);

// 0 for Sunday .. 6 for Saturday.
int WeekdayOf(const CalendarDate& date);

// The era holding date, with its name (Shift-JIS) and the date's year in it;
// false before the first era the table knows (明治).
bool JapaneseEraOf(const CalendarDate& date, const char** name, int* year);
