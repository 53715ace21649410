#include "CalendarDate.h"

#include <cmath>

namespace eval {
namespace {

// Days from 1 January 1970 in the proleptic Gregorian calendar; day 0 of the serials is 25,569
// days before it.
constexpr long long SerialDayOfUnixEpoch = 25569;

long long floorDivide(long long a, long long b)
{
    long long q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

long long daysFromCivil(long long y, int m, int d)
{
    y -= m <= 2 ? 1 : 0;
    const long long era = floorDivide(y, 400);
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

} // namespace

bool isDateSerialInRange(double serial) { return serial > -657435.0 && serial < 2958466.0; }

DayAndTime roundedDayAndTime(double serial)
{
    constexpr long long LastDay = 2958465; // 31 December 9999
    const double wholeDays = std::trunc(serial);
    DayAndTime rounded{static_cast<long long>(wholeDays), std::llround(std::fabs(serial - wholeDays) * 86400.0)};
    if (rounded.seconds >= 86400) {
        if (rounded.day == LastDay) {
            rounded.seconds = 86399;
        } else {
            rounded.seconds -= 86400;
            ++rounded.day;
        }
    }
    return rounded;
}

bool isLeapYear(long long year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int monthLength(long long year, int month)
{
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : lengths[month - 1];
}

long long serialDayOf(long long year, long long month, long long day)
{
    const long long months = year * 12 + (month - 1);
    const long long y = floorDivide(months, 12);
    const int m = static_cast<int>(months - y * 12) + 1;
    return daysFromCivil(y, m, 1) + SerialDayOfUnixEpoch + (day - 1);
}

CivilDate civilFromSerialDay(long long serialDay)
{
    long long z = serialDay - SerialDayOfUnixEpoch + 719468;
    const long long era = floorDivide(z, 146097);
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    CivilDate date;
    date.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    date.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    date.year = yoe + era * 400 + (date.month <= 2 ? 1 : 0);
    return date;
}

int weekdayOf(long long serialDay)
{
    // Day 0, 30 December 1899, was a Saturday.
    return static_cast<int>(((serialDay % 7) + 13) % 7) + 1;
}

DateParts splitDateSerial(double serial)
{
    DateParts parts;
    const DayAndTime rounded = roundedDayAndTime(serial);
    const long long seconds = rounded.seconds;
    parts.dayNumber = rounded.day;
    parts.date = civilFromSerialDay(parts.dayNumber);
    parts.hour = static_cast<int>(seconds / 3600);
    parts.minute = static_cast<int>(seconds / 60 % 60);
    parts.second = static_cast<int>(seconds % 60);
    parts.weekday = weekdayOf(parts.dayNumber);
    parts.dayOfYear = static_cast<int>(parts.dayNumber - serialDayOf(parts.date.year, 1, 1) + 1);
    return parts;
}

double timelineFromSerial(double serial)
{
    const double wholeDays = std::trunc(serial);
    return wholeDays + std::fabs(serial - wholeDays);
}

double serialFromTimeline(double timeline)
{
    const double wholeDays = std::floor(timeline);
    const double fraction = timeline - wholeDays;
    return wholeDays < 0 ? wholeDays - fraction : wholeDays + fraction;
}

long long expandTwoDigitYear(long long year)
{
    if (year >= 0 && year <= 29)
        return year + 2000;
    if (year >= 30 && year <= 99)
        return year + 1900;
    return year;
}

} // namespace eval
