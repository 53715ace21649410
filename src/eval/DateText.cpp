#include "DateText.h"

#include <cctype>
#include <vector>

namespace eval {
namespace {

long long daysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2 ? 1 : 0;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

bool leap(long long y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

unsigned monthLength(long long y, unsigned m)
{
    static const unsigned lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && leap(y) ? 29 : lengths[m - 1];
}

struct Cursor
{
    std::string_view s;
    std::size_t i = 0;
    void blanks()
    {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
            ++i;
    }
    bool number(long long &out, int &digits)
    {
        digits = 0;
        out = 0;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) && digits < 9) {
            out = out * 10 + (s[i++] - '0');
            ++digits;
        }
        return digits > 0;
    }
};

} // namespace

std::optional<double> parseDateText(std::string_view text)
{
    Cursor c{text};
    c.blanks();
    bool haveDate = false;
    long long days = 0;
    double fraction = 0.0;

    // Date part: three numbers joined by "/" or "-": month/day/year, or year-month-day.
    std::size_t start = c.i;
    long long a = 0, b = 0, y = 0;
    int da = 0, db = 0, dy = 0;
    if (c.number(a, da) && c.i < text.size() && (text[c.i] == '/' || text[c.i] == '-')) {
        char sep = text[c.i++];
        if (!c.number(b, db) || c.i >= text.size() || text[c.i] != sep)
            return std::nullopt;
        ++c.i;
        if (!c.number(y, dy))
            return std::nullopt;
        long long year, month, day;
        if (da == 4) {
            year = a, month = b, day = y;
        } else {
            month = a, day = b, year = y;
            if (dy <= 2)
                year += year < 30 ? 2000 : 1900;
        }
        if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 ||
            day > monthLength(year, static_cast<unsigned>(month)))
            return std::nullopt;
        days = daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) + 25569;
        haveDate = true;
        c.blanks();
    } else {
        c.i = start;
    }

    // Time part: h[:mm[:ss]] with an optional AM or PM (a bare hour needs one).
    bool haveTime = false;
    long long h = 0, m = 0, s = 0;
    int dh = 0, dm = 0, ds = 0;
    if (c.i < text.size() && c.number(h, dh)) {
        bool colon = false;
        if (c.i < text.size() && text[c.i] == ':') {
            colon = true;
            ++c.i;
            if (!c.number(m, dm))
                return std::nullopt;
            if (c.i < text.size() && text[c.i] == ':') {
                ++c.i;
                if (!c.number(s, ds))
                    return std::nullopt;
            }
        }
        c.blanks();
        bool meridiem = false;
        if (c.i + 1 < text.size() && (text[c.i + 1] == 'M' || text[c.i + 1] == 'm')) {
            char ap = static_cast<char>(std::toupper(static_cast<unsigned char>(text[c.i])));
            if (ap == 'A' || ap == 'P') {
                if (h < 1 || h > 12)
                    return std::nullopt;
                h = h % 12 + (ap == 'P' ? 12 : 0);
                meridiem = true;
                c.i += 2;
            }
        }
        if (!colon && !meridiem)
            return std::nullopt;
        if (h > 23 || m > 59 || s > 59)
            return std::nullopt;
        fraction = static_cast<double>(h * 3600 + m * 60 + s) / 86400.0;
        haveTime = true;
        c.blanks();
    }
    if (c.i != text.size() || (!haveDate && !haveTime))
        return std::nullopt;
    // Before day 0 the time still counts forward from midnight: -1.25 is 29 Dec 1899, 6 AM.
    return days < 0 ? static_cast<double>(days) - fraction : static_cast<double>(days) + fraction;
}

} // namespace eval
