// Dates and times: the clock, the parts of a date, building dates, date arithmetic, names.
#include "Dates.h"

#include "eval/Builtins.h"

#include "Arguments.h"
#include "BuiltinGroups.h"
#include "eval/CalendarDate.h"
#include "eval/Clock.h"
#include "eval/Conversions.h"
#include "eval/DateText.h"
#include "eval/NumberText.h"
#include "eval/NumericString.h"
#include "eval/ScriptError.h"

#include <array>
#include <cmath>
#include <limits>
#include <optional>

namespace eval {
namespace {

Value dateResult(double serial)
{
    if (!std::isfinite(serial) || !isDateSerialInRange(serial))
        throw ScriptError(InvalidProcedureCall);
    return Value::date(serial);
}

// --- The clock -------------------------------------------------------------------------------

double clockDay(const ClockReading &r) { return static_cast<double>(serialDayOf(r.year, r.month, r.day)); }
double clockTime(const ClockReading &r) { return (r.hour * 3600 + r.minute * 60 + r.second) / 86400.0; }

Value fnNow(CallContext &, Args)
{
    const ClockReading r = readClock();
    return Value::date(clockDay(r) + clockTime(r));
}
Value fnDate(CallContext &, Args) { return Value::date(clockDay(readClock())); }
Value fnTime(CallContext &, Args) { return Value::date(clockTime(readClock())); }

Value fnTimer(CallContext &, Args)
{
    const ClockReading r = readClock();
    const double seconds = r.hour * 3600.0 + r.minute * 60.0 + r.second + r.millisecond / 1000.0;
    return Value::single(static_cast<float>(seconds));
}

// --- Parts of a date --------------------------------------------------------------------------

template <int (*Part)(const DateParts &)>
Value datePart(CallContext &, Args a)
{
    if (a[0].isNull())
        return Value::null();
    return Value::integer(static_cast<std::int16_t>(Part(splitDateSerial(toDateSerial(a[0])))));
}

int yearPart(const DateParts &p) { return static_cast<int>(p.date.year); }
int monthPart(const DateParts &p) { return p.date.month; }
int dayPart(const DateParts &p) { return p.date.day; }
int hourPart(const DateParts &p) { return p.hour; }
int minutePart(const DateParts &p) { return p.minute; }
int secondPart(const DateParts &p) { return p.second; }

// firstdayofweek: 0 is the system's first day (Sunday in en-US), 1-7 Sunday to Saturday.
int firstDayOfWeek(Args a, std::size_t index)
{
    if (!given(a, index))
        return 1;
    const std::int32_t day = toLong(required(a[index]));
    if (day < 0 || day > 7)
        throw ScriptError(InvalidProcedureCall);
    return day == 0 ? 1 : day;
}

// firstweekofyear: 0 is the system's rule (the week of 1 January in en-US), 1-3 as named.
int firstWeekOfYear(Args a, std::size_t index)
{
    if (!given(a, index))
        return 1;
    const std::int32_t rule = toLong(required(a[index]));
    if (rule < 0 || rule > 3)
        throw ScriptError(InvalidProcedureCall);
    return rule == 0 ? 1 : rule;
}

// Day of the week counted from the first day of the week: 1-7.
int weekdayFrom(int weekday, int firstDay) { return (weekday - firstDay + 7) % 7 + 1; }

Value fnWeekday(CallContext &, Args a)
{
    const int firstDay = firstDayOfWeek(a, 1);
    if (a[0].isNull())
        return Value::null();
    const DateParts parts = splitDateSerial(toDateSerial(a[0]));
    return Value::integer(static_cast<std::int16_t>(weekdayFrom(parts.weekday, firstDay)));
}

// The serial day on which week 1 of a year begins.
long long firstWeekStart(long long year, int firstDay, int rule)
{
    const long long jan1 = serialDayOf(year, 1, 1);
    const int offset = weekdayFrom(weekdayOf(jan1), firstDay) - 1; // days of the week before 1 Jan
    long long start = jan1 - offset;
    if ((rule == 2 && offset > 3) || (rule == 3 && offset > 0))
        start += 7;
    return start;
}

long long weekOfYear(const DateParts &parts, int firstDay, int rule)
{
    long long start = firstWeekStart(parts.date.year, firstDay, rule);
    if (parts.dayNumber < start) // the last week of the year before
        start = firstWeekStart(parts.date.year - 1, firstDay, rule);
    return (parts.dayNumber - start) / 7 + 1;
}

// --- Building dates --------------------------------------------------------------------------

// The parts of DateSerial and TimeSerial are Integers: Overflow beyond +-32,767.
long long wholeArgument(const Value &v) { return toInteger(required(v)); }

Value fnDateSerial(CallContext &, Args a)
{
    long long year = wholeArgument(a[0]);
    const long long month = wholeArgument(a[1]), day = wholeArgument(a[2]);
    // Two-digit years as en-US reads them; a negative year counts back from 2000.
    year = year < 0 ? year + 2000 : expandTwoDigitYear(year);
    if (year > 9999)
        throw ScriptError(InvalidProcedureCall);
    // Months and days roll over into the years around; the date reached must be in range.
    return dateResult(static_cast<double>(serialDayOf(year, month, day)));
}

Value fnTimeSerial(CallContext &, Args a)
{
    const long long seconds = wholeArgument(a[0]) * 3600 + wholeArgument(a[1]) * 60 + wholeArgument(a[2]);
    return dateResult(serialFromTimeline(static_cast<double>(seconds) / 86400.0));
}

Value fnDateValue(CallContext &, Args a)
{
    if (a[0].isNull())
        return Value::null();
    const DateParts parts = splitDateSerial(toDateSerial(a[0]));
    return Value::date(static_cast<double>(parts.dayNumber));
}

Value fnTimeValue(CallContext &, Args a)
{
    if (a[0].isNull())
        return Value::null();
    const DateParts parts = splitDateSerial(toDateSerial(a[0]));
    return Value::date((parts.hour * 3600 + parts.minute * 60 + parts.second) / 86400.0);
}

// --- Intervals -------------------------------------------------------------------------------

enum class Interval { Year, Quarter, Month, DayOfYear, Day, Weekday, Week, Hour, Minute, Second };

Interval intervalOf(const Value &v)
{
    const std::string text = toText(required(v));
    std::string key;
    for (char c : text)
        key += c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    static constexpr std::array<std::pair<const char *, Interval>, 10> names{{
        {"yyyy", Interval::Year},
        {"q", Interval::Quarter},
        {"m", Interval::Month},
        {"y", Interval::DayOfYear},
        {"d", Interval::Day},
        {"w", Interval::Weekday},
        {"ww", Interval::Week},
        {"h", Interval::Hour},
        {"n", Interval::Minute},
        {"s", Interval::Second},
    }};
    for (const auto &[name, interval] : names)
        if (key == name)
            return interval;
    throw ScriptError(InvalidProcedureCall);
}

// Months added to a date keep its day where the month has it, else its last day, and its time.
double addMonths(double serial, long long months)
{
    const DateParts p = splitDateSerial(serial);
    const long long total = p.date.year * 12 + (p.date.month - 1) + months;
    if (total < 100 * 12 || total > 9999 * 12 + 11)
        throw ScriptError(InvalidProcedureCall);
    const long long year = total / 12;
    const int month = static_cast<int>(total % 12) + 1;
    const int day = std::min(p.date.day, monthLength(year, month));
    const double fraction = std::fabs(serial - std::trunc(serial));
    const auto days = static_cast<double>(serialDayOf(year, month, day));
    return days < 0 ? days - fraction : days + fraction;
}

Value fnDateAdd(CallContext &, Args a)
{
    const Interval interval = intervalOf(a[0]);
    const long long number = toLong(required(a[1]));
    if (a[2].isNull())
        return Value::null();
    const double serial = toDateSerial(a[2]);
    const auto n = static_cast<double>(number);
    switch (interval) {
    case Interval::Year: return dateResult(addMonths(serial, number * 12));
    case Interval::Quarter: return dateResult(addMonths(serial, number * 3));
    case Interval::Month: return dateResult(addMonths(serial, number));
    case Interval::DayOfYear:
    case Interval::Day:
    case Interval::Weekday: return dateResult(serialFromTimeline(timelineFromSerial(serial) + n));
    case Interval::Week: return dateResult(serialFromTimeline(timelineFromSerial(serial) + 7 * n));
    default: {
        // Whole seconds on the timeline, so that adding hours never drifts off the second.
        const double unit = interval == Interval::Hour ? 3600 : interval == Interval::Minute ? 60 : 1;
        const double seconds = std::round(timelineFromSerial(serial) * 86400.0) + n * unit;
        return dateResult(serialFromTimeline(seconds / 86400.0));
    }
    }
}

// The running count of an interval at a date: DateDiff is the difference of two counts.
long long intervalCount(Interval interval, const DateParts &p, int firstDay)
{
    switch (interval) {
    case Interval::Year: return p.date.year;
    case Interval::Quarter: return p.date.year * 4 + (p.date.month - 1) / 3;
    case Interval::Month: return p.date.year * 12 + p.date.month - 1;
    case Interval::Week: return p.dayNumber - (weekdayFrom(p.weekday, firstDay) - 1);
    case Interval::Hour: return p.dayNumber * 24 + p.hour;
    case Interval::Minute: return (p.dayNumber * 24 + p.hour) * 60 + p.minute;
    case Interval::Second: return ((p.dayNumber * 24 + p.hour) * 60 + p.minute) * 60 + p.second;
    default: return p.dayNumber;
    }
}

Value fnDateDiff(CallContext &, Args a)
{
    const Interval interval = intervalOf(a[0]);
    const int firstDay = firstDayOfWeek(a, 3);
    firstWeekOfYear(a, 4);
    if (a[1].isNull() || a[2].isNull())
        return Value::null();
    const DateParts from = splitDateSerial(toDateSerial(a[1]));
    const DateParts to = splitDateSerial(toDateSerial(a[2]));
    long long difference = intervalCount(interval, to, firstDay) - intervalCount(interval, from, firstDay);
    if (interval == Interval::Week)
        difference /= 7; // both counts stand on the first day of a week
    else if (interval == Interval::Weekday)
        difference /= 7; // whole weeks, toward zero
    if (difference < std::numeric_limits<std::int32_t>::min() || difference > std::numeric_limits<std::int32_t>::max())
        throw ScriptError(Overflow);
    return Value::longValue(static_cast<std::int32_t>(difference));
}

Value fnDatePart(CallContext &, Args a)
{
    const Interval interval = intervalOf(a[0]);
    const int firstDay = firstDayOfWeek(a, 2);
    const int rule = firstWeekOfYear(a, 3);
    if (a[1].isNull())
        return Value::null();
    const DateParts p = splitDateSerial(toDateSerial(a[1]));
    long long part = 0;
    switch (interval) {
    case Interval::Year: part = p.date.year; break;
    case Interval::Quarter: part = (p.date.month - 1) / 3 + 1; break;
    case Interval::Month: part = p.date.month; break;
    case Interval::DayOfYear: part = p.dayOfYear; break;
    case Interval::Day: part = p.date.day; break;
    case Interval::Weekday: part = weekdayFrom(p.weekday, firstDay); break;
    case Interval::Week: part = weekOfYear(p, firstDay, rule); break;
    case Interval::Hour: part = p.hour; break;
    case Interval::Minute: part = p.minute; break;
    case Interval::Second: part = p.second; break;
    }
    return Value::integer(static_cast<std::int16_t>(part));
}

// --- Names -----------------------------------------------------------------------------------

std::string nameOf(const char *name, bool abbreviate)
{
    std::string text(name);
    return abbreviate ? text.substr(0, 3) : text;
}

Value fnMonthName(CallContext &, Args a)
{
    for (const Value &v : a)
        required(v);
    const bool abbreviate = given(a, 1) && toBoolean(a[1]);
    const std::int32_t month = toLong(a[0]);
    if (month < 1 || month > 12)
        throw ScriptError(InvalidProcedureCall);
    return Value::string(nameOf(monthNames[static_cast<std::size_t>(month - 1)], abbreviate));
}

Value fnWeekdayName(CallContext &, Args a)
{
    for (const Value &v : a)
        required(v);
    const bool abbreviate = given(a, 1) && toBoolean(a[1]);
    const int firstDay = firstDayOfWeek(a, 2);
    const std::int32_t weekday = toLong(a[0]);
    if (weekday < 1 || weekday > 7)
        throw ScriptError(InvalidProcedureCall);
    const int index = (weekday - 1 + firstDay - 1) % 7;
    return Value::string(nameOf(weekdayNames[static_cast<std::size_t>(index)], abbreviate));
}

constexpr std::array builtins{
    Builtin{"DATE", 0, 0, fnDate},
    Builtin{"DATEADD", 3, 3, fnDateAdd},
    Builtin{"DATEDIFF", 3, 5, fnDateDiff},
    Builtin{"DATEPART", 2, 4, fnDatePart},
    Builtin{"DATESERIAL", 3, 3, fnDateSerial},
    Builtin{"DATEVALUE", 1, 1, fnDateValue},
    Builtin{"DAY", 1, 1, datePart<dayPart>},
    Builtin{"HOUR", 1, 1, datePart<hourPart>},
    Builtin{"MINUTE", 1, 1, datePart<minutePart>},
    Builtin{"MONTH", 1, 1, datePart<monthPart>},
    Builtin{"MONTHNAME", 1, 2, fnMonthName},
    Builtin{"NOW", 0, 0, fnNow},
    Builtin{"SECOND", 1, 1, datePart<secondPart>},
    Builtin{"TIME", 0, 0, fnTime},
    Builtin{"TIMER", 0, 0, fnTimer},
    Builtin{"TIMESERIAL", 3, 3, fnTimeSerial},
    Builtin{"TIMEVALUE", 1, 1, fnTimeValue},
    Builtin{"WEEKDAY", 1, 2, fnWeekday},
    Builtin{"WEEKDAYNAME", 1, 3, fnWeekdayName},
    Builtin{"YEAR", 1, 1, datePart<yearPart>},
};

} // namespace

double toDateSerial(const Value &value)
{
    const Value &v = required(value);
    if (v.type() == VarType::Date)
        return v.asDouble();
    if (v.isString()) {
        if (std::optional<double> serial = parseDateText(v.asString()))
            return *serial;
        ParsedNumber parsed = parseNumericString(v.asString());
        if (parsed.status == ParsedNumber::OutOfRange)
            throw ScriptError(Overflow);
        if (parsed.status != ParsedNumber::Ok)
            throw ScriptError(TypeMismatch);
        if (!isDateSerialInRange(parsed.value))
            throw ScriptError(Overflow);
        return parsed.value;
    }
    const double d = toDouble(v);
    if (!isDateSerialInRange(d))
        throw ScriptError(Overflow);
    return d;
}

std::string formatLongDate(double serial)
{
    const DateParts p = splitDateSerial(serial);
    return std::string(weekdayNames[static_cast<std::size_t>(p.weekday - 1)]) + ", " +
           monthNames[static_cast<std::size_t>(p.date.month - 1)] + " " + std::to_string(p.date.day) + ", " +
           std::to_string(p.date.year);
}

std::span<const Builtin> dateBuiltins() { return builtins; }

} // namespace eval
