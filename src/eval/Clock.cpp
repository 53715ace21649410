#include "Clock.h"

#include <atomic>
#include <ctime>

namespace eval {
namespace {

ClockReading realLocalClock()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::tm local{};
    localtime_r(&now.tv_sec, &local);
    ClockReading reading;
    reading.year = local.tm_year + 1900;
    reading.month = local.tm_mon + 1;
    reading.day = local.tm_mday;
    reading.hour = local.tm_hour;
    reading.minute = local.tm_min;
    reading.second = local.tm_sec > 59 ? 59 : local.tm_sec; // a leap second stays in its minute
    reading.millisecond = static_cast<int>(now.tv_nsec / 1000000);
    return reading;
}

std::atomic<ClockSource> source{nullptr};

} // namespace

ClockReading readClock()
{
    const ClockSource current = source.load(std::memory_order_relaxed);
    return current != nullptr ? current() : realLocalClock();
}

void setClockSource(ClockSource replacement) { source.store(replacement, std::memory_order_relaxed); }

} // namespace eval
