#pragma once

#include <optional>

// The calendar behind the Date subtype. A date serial counts days from 30 December 1899; its
// fraction is the time of day, and before day 0 that time still runs forward from midnight
// (-1.25 is 29 December 1899, 6 AM), so serials are not a straight line. Arithmetic over
// dates works on the "timeline" instead: whole days plus the part of the day gone by.
namespace eval {

struct CivilDate
{
    long long year = 0;
    int month = 1; // 1-12
    int day = 1;   // 1-31
};

// The parts of a date serial, its time rounded to the second as the language shows it.
struct DateParts
{
    long long dayNumber = 0; // serial day (may have moved by the rounding of the time)
    CivilDate date;
    int hour = 0, minute = 0, second = 0;
    int weekday = 1;   // 1 = Sunday ... 7 = Saturday
    int dayOfYear = 1; // 1-366
};

// Serials from 1 January 100 to 31 December 9999, the range of the language's dates.
bool isDateSerialInRange(double serial);

// The serial day of a date and its time of day rounded to the second, as the language shows
// them. A time that rounds up to midnight starts the next calendar day (for a serial before day
// 0 too: the day after -1, 29 December 1899, is day 0), except on 31 December 9999: the dates
// end there, so its last moments stay at 11:59:59 PM.
struct DayAndTime
{
    long long day = 0;
    long long seconds = 0; // 0-86399
};
DayAndTime roundedDayAndTime(double serial);

bool isLeapYear(long long year);
int monthLength(long long year, int month);
// The serial day of a date; month and day may lie outside their ranges and roll over
// (month 13 is January of the next year, day 0 the last day of the month before).
long long serialDayOf(long long year, long long month, long long day);
CivilDate civilFromSerialDay(long long serialDay);
int weekdayOf(long long serialDay); // 1 = Sunday

DateParts splitDateSerial(double serial);

double timelineFromSerial(double serial);
double serialFromTimeline(double timeline);

// Years 0-29 are 2000-2029 and 30-99 are 1930-1999, as two-digit years read in en-US.
long long expandTwoDigitYear(long long year);

} // namespace eval
