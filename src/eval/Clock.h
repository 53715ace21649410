#pragma once

// The local clock that Now, Date, Time and Timer read. Tests put a fixed reading in place of
// the real clock, so that they never race it.
namespace eval {

struct ClockReading
{
    int year = 1970;
    int month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
    int millisecond = 0;
};

using ClockSource = ClockReading (*)();

ClockReading readClock();
// nullptr puts the real local clock back.
void setClockSource(ClockSource source);

} // namespace eval
