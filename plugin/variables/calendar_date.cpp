// The Japanese eras come from a table of their first days. The system knows
// them on Windows (DATE_USE_ALT_CALENDAR, the Japanese calendar's era list),
// but Wine 8 gives the Gregorian "西暦" for every date and only the current
// era's name without its first day, so the system cannot be relied on for
// 平成 and older dates, nor for 元年.
#include "calendar_date.h"

namespace {

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days since 1970-01-01 (proleptic Gregorian), and back.
long DaysFromCivil(int year, int month, int day) {
    year -= month <= 2;
    const long era = (year >= 0 ? year : year - 399) / 400;
    const long yearOfEra = year - era * 400;
    const long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

CalendarDate CivilFromDays(long days) {
    days += 719468;
    const long era = (days >= 0 ? days : days - 146096) / 146097;
    const long dayOfEra = days - era * 146097;
    const long yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long monthIndex = (5 * dayOfYear + 2) / 153;
    CalendarDate date;
    date.day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    date.month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    date.year = static_cast<int>(yearOfEra + era * 400 + (date.month <= 2));
    return date;
}

const int kFirstYear = 1601;
const int kLastYear = 9999;

struct Era {
    CalendarDate first;
    const char* name;
};

// Newest first.
const Era kEras[] = {
    {{2019, 5, 1}, "令和"},  {{1989, 1, 8}, "平成"}, {{1926, 12, 25}, "昭和"},
    {{1912, 7, 30}, "大正"}, {{1868, 1, 1}, "明治"},
};

bool NotBefore(const CalendarDate& date, const CalendarDate& first) {
    if (date.year != first.year)
        return date.year > first.year;
    if (date.month != first.month)
        return date.month > first.month;
    return date.day >= first.day;
}

} // namespace

bool ShiftCalendarDate(CalendarDate* date, long amount, char unit) {
    CalendarDate moved = *date;
    if (unit == 'd' || unit == 'w') {
        long days = unit == 'w' ? amount * 7 : amount;
        moved = CivilFromDays(DaysFromCivil(date->year, date->month, date->day) + days);
    } else if (unit == 'm' || unit == 'y') {
        long months = unit == 'y' ? amount * 12 : amount;
        long index = static_cast<long>(date->year) * 12 + (date->month - 1) + months;
        if (index < kFirstYear * 12L || index > kLastYear * 12L + 11)
            return false;
        moved.year = static_cast<int>(index / 12);
        moved.month = static_cast<int>(index % 12) + 1;
        int last = DaysInMonth(moved.year, moved.month);
        if (moved.day > last)
            moved.day = last;
    } else {
        return false;
    }
    if (moved.year < kFirstYear || moved.year > kLastYear)
        return false;
    *date = moved;
    return true;
}

int WeekdayOf(const CalendarDate& date) {
    long days = DaysFromCivil(date.year, date.month, date.day); // 1970-01-01 was a Thursday
    long weekday = (days + 4) % 7;
    return static_cast<int>(weekday < 0 ? weekday + 7 : weekday);
}

bool JapaneseEraOf(const CalendarDate& date, const char** name, int* year) {
    for (const Era& era : kEras) {
        if (NotBefore(date, era.first)) {
            *name = era.name;
            *year = date.year - era.first.year + 1;
            return true;
        }
    }
    return false;
}
