// How many expressions a second the engine gets through in-process: the whole road of the
// calculate command (rewrite, parse, evaluate, number text, format at 2 decimal places), and
// for comparison the bare ScriptControl::Eval without any formatting.
//
//   bench_engine [SECONDS]   time spent measuring each case (default 1)

#include "eval/Calculation.h"
#include "eval/ScriptControl.h"

#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using Clock = std::chrono::steady_clock;

// Results are folded in here so that no call can be dropped as unused.
volatile std::size_t sink = 0;

const char *const sampleExpression = "238 + 67 * 5.25 - ( 65 - 6.5 ) / 22 + 2 ^ 3";

// A few other things people type: a short sum, a percentage, nested parentheses, functions.
const char *const otherExpressions[] = {
    "12.5 + 7.25",
    "1499.99 * 0.2",
    "((1.5 + 2.25) * (3 - 0.75)) / (4.5 * 2)",
    "Sqr(2) * Round(3.14159, 2) + Abs(-7)",
};

struct Rate
{
    double perSecond = 0;
    double nanosEach = 0;
    double cpuNanosEach = 0; // the thread's CPU time, beside the wall time above
};

double threadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Runs `once` in batches until `seconds` have passed, after a short warm-up.
template <typename F>
Rate measure(double seconds, F once)
{
    constexpr int batch = 1000;
    auto runFor = [&](double limit) {
        long long count = 0;
        const double cpuStart = threadCpuSeconds();
        const Clock::time_point start = Clock::now();
        Clock::duration elapsed{};
        do {
            for (int i = 0; i < batch; ++i)
                once();
            count += batch;
            elapsed = Clock::now() - start;
        } while (std::chrono::duration<double>(elapsed).count() < limit);
        const double s = std::chrono::duration<double>(elapsed).count();
        const double cpu = threadCpuSeconds() - cpuStart;
        return Rate{static_cast<double>(count) / s, s * 1e9 / static_cast<double>(count),
                    cpu * 1e9 / static_cast<double>(count)};
    };
    runFor(seconds / 10);
    return runFor(seconds);
}

std::string grouped(double value)
{
    std::string digits = std::to_string(static_cast<long long>(value + 0.5));
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

void report(const char *what, std::string_view expression, const std::string &result, Rate rate)
{
    std::printf("  %-9s %-44.*s %-14s %13s/s %6.0f ns %6.0f ns CPU\n", what, static_cast<int>(expression.size()),
                expression.data(), result.c_str(), grouped(rate.perSecond).c_str(), rate.nanosEach,
                rate.cpuNanosEach);
}

// Benchmarks one expression both ways; false when it does not even evaluate.
bool benchmark(std::string_view expression, double seconds, Rate *calculateRate)
{
    eval::ScriptControl engine;
    eval::Calculation first = eval::calculateResultText(engine, expression, 2);
    if (!first.ok) {
        std::printf("  %.*s: Error %d %s\n", static_cast<int>(expression.size()), expression.data(),
                    first.error.number, first.error.description.c_str());
        return false;
    }
    Rate calculate = measure(seconds, [&] {
        eval::Calculation c = eval::calculateResultText(engine, expression, 2);
        sink = sink + c.resultText.size() + (c.ok ? 1u : 0u);
    });
    report("calculate", expression, first.resultText, calculate);

    Rate bare = measure(seconds, [&] {
        eval::EvalResult r = engine.Eval(expression);
        sink = sink + static_cast<std::size_t>(r.value.type()) + (r.ok ? 1u : 0u);
    });
    report("Eval", expression, "", bare);
    if (calculateRate != nullptr)
        *calculateRate = calculate;
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    double seconds = 1.0;
    if (argc > 1) {
        char *end = nullptr;
        seconds = std::strtod(argv[1], &end);
        if (end == argv[1] || *end != '\0' || !(seconds > 0 && seconds <= 600)) {
            std::fprintf(stderr, "usage: bench_engine [SECONDS]\n");
            return 2;
        }
    }
    std::printf("bench_engine: in-process expressions per second, one engine, %.1f s per case\n"
                "  calculate = calculateResultText at 2 decimal places (rewrite, parse, evaluate, format)\n"
                "  Eval      = ScriptControl::Eval alone (parse, evaluate)\n\n",
                seconds);
    Rate sample;
    bool ok = benchmark(sampleExpression, seconds, &sample);
    for (const char *e : otherExpressions)
        ok = benchmark(e, seconds, nullptr) && ok;
    std::printf("\nsample expression: %s calculations/s (%.0f ns each, %.0f ns of CPU)\n",
                grouped(sample.perSecond).c_str(), sample.nanosEach, sample.cpuNanosEach);
    return ok ? 0 : 1;
}
