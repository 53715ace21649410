#include "DateText.h"

#include "CalendarDate.h"
#include "Clock.h"

#include <array>
#include <cstddef>

namespace eval {
namespace {

constexpr std::array<const char *, 12> monthNames{"january", "february", "march",     "april",   "may",      "june",
                                                  "july",    "august",   "september", "october", "november", "december"};
constexpr std::array<const char *, 7> weekdayNames{"sunday",   "monday", "tuesday", "wednesday",
                                                   "thursday", "friday", "saturday"};

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// A name given in full or by its first three letters (also "Sept").
bool matchesName(std::string_view word, const char *name)
{
    const std::string_view full(name);
    if (word.size() < 3 || word.size() > full.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (lower(word[i]) != full[i])
            return false;
    return word.size() == 3 || word.size() == full.size() || (full == "september" && word.size() == 4);
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

class Scanner
{
public:
    explicit Scanner(std::string_view text) : s_(text) {}

    std::optional<Reading> read()
    {
        Reading r;
        while (skipSeparators(), i_ < s_.size()) {
            const char c = s_[i_];
            if (isDigit(c)) {
                Number n;
                if (!number(n))
                    return std::nullopt;
                if (atTimeMark()) {
                    if (r.haveTime || !time(n, r))
                        return std::nullopt;
                    continue;
                }
                if (r.numberCount == 3)
                    return std::nullopt;
                r.numbers[static_cast<std::size_t>(r.numberCount++)] = n;
            } else if (isLetter(c)) {
                const std::string_view word = letters();
                if (!name(word, r))
                    return std::nullopt;
            } else {
                return std::nullopt;
            }
        }
        return r;
    }

private:
    void skipSeparators()
    {
        while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '/' || s_[i_] == '-' ||
                                  s_[i_] == ',' || s_[i_] == '.'))
            ++i_;
    }
    void skipBlanks()
    {
        while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t'))
            ++i_;
    }

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

    // After a number: ":" or an AM/PM makes it the hour of a time.
    bool atTimeMark()
    {
        if (i_ < s_.size() && s_[i_] == ':')
            return true;
        std::size_t j = i_;
        while (j < s_.size() && (s_[j] == ' ' || s_[j] == '\t'))
            ++j;
        return meridiemAt(j) != 0;
    }

    // 'A' or 'P' for an AM or PM standing at j as a word of its own, else 0.
    char meridiemAt(std::size_t j) const
    {
        if (j + 1 >= s_.size() || lower(s_[j + 1]) != 'm')
            return 0;
        const char c = lower(s_[j]);
        if (c != 'a' && c != 'p')
            return 0;
        if (j + 2 < s_.size() && isLetter(s_[j + 2]))
            return 0;
        return c;
    }

    bool time(const Number &hour, Reading &r)
    {
        r.haveTime = true;
        r.hour = hour.value;
        for (long long *part : {&r.minute, &r.second}) {
            if (i_ >= s_.size() || s_[i_] != ':')
                break;
            ++i_;
            Number n;
            if (i_ >= s_.size() || !isDigit(s_[i_]) || !number(n))
                return false;
            *part = n.value;
        }
        skipBlanks();
        const char meridiem = meridiemAt(i_);
        if (meridiem != 0) {
            if (r.hour > 12)
                return false;
            r.hour = r.hour % 12 + (meridiem == 'p' ? 12 : 0);
            i_ += 2;
        }
        return r.hour <= 23 && r.minute <= 59 && r.second <= 59;
    }

    bool name(std::string_view word, Reading &r)
    {
        for (std::size_t m = 0; m < monthNames.size(); ++m) {
            if (matchesName(word, monthNames[m])) {
                if (r.month != 0)
                    return false;
                r.month = static_cast<int>(m) + 1;
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

bool isLongYear(const Number &n) { return n.digits >= 3 || n.value > 31; }

long long yearOf(const Number &n) { return n.digits <= 2 ? expandTwoDigitYear(n.value) : n.value; }

bool valid(long long year, long long month, long long day)
{
    return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= monthLength(year, static_cast<int>(month));
}

// Year, month and day from the numbers and the month name, or false when they make no date.
bool dateOf(const Reading &r, long long &year, long long &month, long long &day)
{
    const Number &a = r.numbers[0], &b = r.numbers[1], &c = r.numbers[2];
    if (r.month != 0) {
        month = r.month;
        switch (r.numberCount) {
        case 1:
            if (isLongYear(a)) {
                year = yearOf(a), day = 1;
            } else {
                year = readClock().year, day = a.value;
            }
            break;
        case 2:
            if (isLongYear(a))
                year = yearOf(a), day = b.value;
            else
                day = a.value, year = yearOf(b);
            break;
        default: return false;
        }
        return valid(year, month, day);
    }
    switch (r.numberCount) {
    case 2:
        if (a.digits >= 3) {
            year = yearOf(a), month = b.value, day = 1;
        } else if (isLongYear(b)) {
            month = a.value, year = yearOf(b), day = 1;
        } else {
            year = readClock().year, month = a.value, day = b.value;
            if (!valid(year, month, day))
                month = b.value, day = a.value;
        }
        break;
    case 3:
        if (a.digits >= 3) {
            year = yearOf(a), month = b.value, day = c.value;
        } else {
            month = a.value, day = b.value, year = yearOf(c);
            if (!valid(year, month, day))
                month = b.value, day = a.value;
        }
        break;
    default: return false;
    }
    return valid(year, month, day);
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
