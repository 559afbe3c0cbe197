// Dates of the proleptic Gregorian calendar for the plain-code libraries and
// tools: day counts since 1970-01-01 to dates and back (Howard Hinnant's
// algorithms, floor division, so times before 1970 work too), and the one
// definition of a day's length.
#pragma once

#include <stdint.h>

constexpr int64_t kDaySeconds = 86400;
constexpr int64_t kDayMs = kDaySeconds * 1000;

// Returns a / b rounded towards minus infinity (b > 0).
inline int64_t floorDivide(int64_t a, int64_t b)
{
    return a / b - (a % b < 0 ? 1 : 0);
}

struct CivilDate
{
    int64_t year;
    unsigned month; // 1..12
    unsigned day;   // 1..31
};

// Returns the date `days` days after 1970-01-01.
inline CivilDate civilFromDays(int64_t days)
{
    const int64_t z = days + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    CivilDate date;
    date.day = doy - (153 * mp + 2) / 5 + 1;
    date.month = mp < 10 ? mp + 3 : mp - 9;
    date.year = static_cast<int64_t>(yoe) + era * 400 + (date.month <= 2);
    return date;
}

// Returns the days since 1970-01-01 of a date (month 1..12, day 1..31).
inline int64_t daysFromCivil(int64_t year, unsigned month, unsigned day)
{
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(year - era * 400);
    const unsigned doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

struct CivilTime
{
    int year;
    int month;  // 1..12
    int day;    // 1..31
    int hour;   // 0..23
    int minute; // 0..59
    int second; // 0..59
};

// Returns the calendar date and time of `seconds` (local seconds since the epoch).
inline CivilTime civilFromSeconds(int64_t seconds)
{
    const int64_t days = floorDivide(seconds, kDaySeconds);
    const int64_t rest = seconds - days * kDaySeconds;
    const CivilDate date = civilFromDays(days);
    CivilTime t;
    t.year = static_cast<int>(date.year);
    t.month = static_cast<int>(date.month);
    t.day = static_cast<int>(date.day);
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest / 60 % 60);
    t.second = static_cast<int>(rest % 60);
    return t;
}
