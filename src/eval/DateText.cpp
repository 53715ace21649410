#include "DateText.h"

#include "CalendarDate.h"
#include "Clock.h"

#include <array>
#include <cstddef>
#include <initializer_list>

namespace eval {
namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// A name given in full or by its first three letters.
bool matchesName(std::string_view word, const char *name)
{
    const std::string_view full(name);
    if (word.size() != 3 && word.size() != full.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (lower(word[i]) != lower(full[i]))
            return false;
    return true;
}

struct Number
{
    long long value = 0;
    int digits = 0;
};

struct Reading
{
    std::array<Number, 3> numbers{};
    int numberCount = 0;
    int month = 0; // from a month name
    bool haveTime = false;
    long long hour = 0, minute = 0, second = 0;
};

// Splits the text into the numbers and month name of a date and at most one time. A time is a
// number followed by ":" or "." (both separate its parts) or by AM/PM; "/" and "-" stand only
// between parts of the date, and the date's parts stand together, before or after the time.
class Scanner
{
public:
    explicit Scanner(std::string_view text) : s_(text) {}

    std::optional<Reading> read()
    {
        Reading r;
        bool separatorPending = false; // a "/" or "-" waiting for the next part of the date
        bool dateBeforeTime = false, dateAfterTime = false;
        bool lastWasDate = false;
        for (;;) {
            while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == ','))
                ++i_;
            if (i_ >= s_.size())
                break;
            const char c = s_[i_];
            bool datePart = false;
            if (c == '/' || c == '-') {
                if (!lastWasDate || separatorPending)
                    return std::nullopt;
                separatorPending = true;
                ++i_;
                continue;
            }
            if (isDigit(c)) {
                Number n;
                if (!number(n))
                    return std::nullopt;
                if (atTimeMark()) {
                    if (r.haveTime || separatorPending || !time(n, r))
                        return std::nullopt;
                    lastWasDate = false;
                    continue;
                }
                if (r.numberCount == 3)
                    return std::nullopt;
                r.numbers[static_cast<std::size_t>(r.numberCount++)] = n;
                datePart = true;
            } else if (isLetter(c)) {
                bool isMonth = false;
                if (!name(letters(), r, isMonth))
                    return std::nullopt;
                datePart = isMonth;
                if (!isMonth && separatorPending)
                    return std::nullopt;
            } else {
                return std::nullopt;
            }
            if (datePart) {
                (r.haveTime ? dateAfterTime : dateBeforeTime) = true;
                separatorPending = false;
            }
            lastWasDate = datePart;
        }
        if (separatorPending || (dateBeforeTime && dateAfterTime))
            return std::nullopt;
        return r;
    }

private:
    bool number(Number &n)
    {
        while (i_ < s_.size() && isDigit(s_[i_])) {
            if (++n.digits > 9)
                return false;
            n.value = n.value * 10 + (s_[i_++] - '0');
        }
        return true;
    }

    std::string_view letters()
    {
        const std::size_t start = i_;
        while (i_ < s_.size() && isLetter(s_[i_]))
            ++i_;
        return s_.substr(start, i_ - start);
    }

    bool atTimeMark() const
    {
        if (i_ < s_.size() && (s_[i_] == ':' || s_[i_] == '.'))
            return true;
        std::size_t j = i_;
        while (j < s_.size() && (s_[j] == ' ' || s_[j] == '\t'))
            ++j;
        return meridiemLength(j) != 0;
    }

    // The length of an "AM", "PM", "A" or "P" standing at j as a word of its own, else 0.
    std::size_t meridiemLength(std::size_t j) const
    {
        if (j >= s_.size() || (lower(s_[j]) != 'a' && lower(s_[j]) != 'p'))
            return 0;
        std::size_t length = j + 1 < s_.size() && lower(s_[j + 1]) == 'm' ? 2 : 1;
        if (j + length < s_.size() && isLetter(s_[j + length]))
            return 0;
        return length;
    }

    bool time(const Number &hour, Reading &r)
    {
        r.haveTime = true;
        r.hour = hour.value;
        for (long long *part : {&r.minute, &r.second}) {
            if (i_ >= s_.size() || (s_[i_] != ':' && s_[i_] != '.'))
                break;
            ++i_;
            Number n;
            if (i_ >= s_.size() || !isDigit(s_[i_]) || !number(n))
                return false;
            *part = n.value;
        }
        std::size_t j = i_;
        while (j < s_.size() && (s_[j] == ' ' || s_[j] == '\t'))
            ++j;
        if (const std::size_t length = meridiemLength(j)) {
            // AM and PM count only for the hours of a 12-hour clock.
            if (r.hour <= 12)
                r.hour = r.hour % 12 + (lower(s_[j]) == 'p' ? 12 : 0);
            i_ = j + length;
        }
        return r.hour <= 23 && r.minute <= 59 && r.second <= 59;
    }

    bool name(std::string_view word, Reading &r, bool &isMonth)
    {
        for (std::size_t m = 0; m < monthNames.size(); ++m) {
            if (matchesName(word, monthNames[m])) {
                if (r.month != 0)
                    return false;
                r.month = static_cast<int>(m) + 1;
                isMonth = true;
                return true;
            }
        }
        for (const char *weekday : weekdayNames)
            if (matchesName(word, weekday))
                return true; // a weekday name only decorates the date
        return false;
    }

    std::string_view s_;
    std::size_t i_ = 0;
};

long long yearOf(const Number &n) { return n.digits <= 2 ? expandTwoDigitYear(n.value) : n.value; }

bool valid(long long year, long long month, long long day)
{
    return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= monthLength(year, static_cast<int>(month));
}

struct Ymd
{
    long long year, month, day;
};

// The first of the candidate readings that is a date.
bool firstValid(std::initializer_list<Ymd> candidates, long long &year, long long &month, long long &day)
{
    for (const Ymd &c : candidates) {
        if (valid(c.year, c.month, c.day)) {
            year = c.year, month = c.month, day = c.day;
            return true;
        }
    }
    return false;
}

// Year, month and day from the numbers and the month name, or false when they make no date.
// The en-US order month/day/year comes first; other orders only where it gives no date.
bool dateOf(const Reading &r, long long &year, long long &month, long long &day)
{
    const Number &a = r.numbers[0], &b = r.numbers[1], &c = r.numbers[2];
    if (r.month != 0) {
        const long long m = r.month;
        switch (r.numberCount) {
        case 1: {
            // The number is the day of this year's month, or else the year ("Jan 35" is 1935).
            const long long thisYear = readClock().year;
            return firstValid({{thisYear, m, a.value}, {yearOf(a), m, 1}}, year, month, day);
        }
        case 2: return firstValid({{yearOf(b), m, a.value}, {yearOf(a), m, b.value}}, year, month, day);
        default: return false;
        }
    }
    switch (r.numberCount) {
    case 2: {
        // Month and day of this year; failing that, a month and a year.
        const long long thisYear = readClock().year;
        return firstValid({{thisYear, a.value, b.value},
                           {thisYear, b.value, a.value},
                           {yearOf(b), a.value, 1},
                           {yearOf(a), b.value, 1}},
                          year, month, day);
    }
    case 3:
        return firstValid({{yearOf(c), a.value, b.value}, {yearOf(a), b.value, c.value}, {yearOf(c), b.value, a.value}},
                          year, month, day);
    default: return false;
    }
}

} // namespace

std::optional<double> parseDateText(std::string_view text)
{
    const std::optional<Reading> reading = Scanner(text).read();
    if (!reading)
        return std::nullopt;
    const Reading &r = *reading;
    const bool haveDate = r.numberCount > 0 || r.month != 0;
    if (!haveDate && !r.haveTime)
        return std::nullopt;
    const double fraction = static_cast<double>(r.hour * 3600 + r.minute * 60 + r.second) / 86400.0;
    if (!haveDate)
        return fraction;
    long long year = 0, month = 0, day = 0;
    if (!dateOf(r, year, month, day))
        return std::nullopt;
    const auto days = static_cast<double>(serialDayOf(year, month, day));
    // Before day 0 the time still counts forward from midnight: -1.25 is 29 Dec 1899, 6 AM.
    return days < 0 ? days - fraction : days + fraction;
}

} // namespace eval
