#pragma once

#include "Value.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace eval {

// What one evaluation may spend: time, and room for strings and arrays. The script engine stops
// an evaluation that runs past its time-out (10,000 ms) with "Evaluation timed out", and one
// that would build a string too long, an array too large, or hold too much at once, with "Out of
// memory". Functions that build a string or an array ask for its room first; long loops call
// tick now and then.
//
// The bound. What an evaluation keeps on the heap is counted by budgetBytes (a string's bytes,
// an array's elements, their texts and the arrays inside). Counted are the values set aside
// while other parts are worked out (a left operand waiting for its right one, the operands while
// their operator runs, the arguments of a call until it returns) and the string or array being
// built; together they never pass MaxLiveBytes (128 MiB). No string passes MaxStringBytes
// (32 MiB), no array MaxArrayElements (builtins/Arrays.h). Not counted are what a function
// works with while it runs: copies of its text arguments (a case-folded or a UTF-16 form, a
// search's table), at most WorkingBytesPerString bytes for every byte it was given, and the
// spare room of the string it builds, at most twice what that string holds. As its arguments
// and its result share the 128 MiB, these stay within four times 128 MiB. So one evaluation's
// heap stays below MaxEvaluationBytes, 640 MiB, whatever the expression; tst_hostile measures
// the heaviest inputs against it.
class EvalBudget
{
public:
    static constexpr std::chrono::milliseconds DefaultTimeout{10000};
    // Strings are UTF-8 inside; the limits count bytes.
    static constexpr std::size_t MaxStringBytes = std::size_t{32} << 20;
    static constexpr std::size_t MaxLiveBytes = std::size_t{128} << 20;
    // A function's working copies of its text arguments, per byte of them: a copy, a UTF-16 form
    // of twice its size, and a search's table or a case-folded copy.
    static constexpr std::size_t WorkingBytesPerString = 4;
    static constexpr std::size_t MaxEvaluationBytes = MaxLiveBytes * (1 + WorkingBytesPerString);

    explicit EvalBudget(std::chrono::milliseconds timeout = DefaultTimeout) : timeout_(timeout) {}

    // Before a string of `bytes` is built: throws Out of memory when it is too long on its own
    // or beside what the evaluation already holds. Building a long one also reads the clock.
    void allowString(std::size_t bytes)
    {
        if (bytes > MaxStringBytes)
            throwOutOfMemory();
        allow(bytes);
        if (bytes >= LongString)
            checkTime();
    }

    // Before something of `bytes` in all is built (an array, element by element): throws Out of
    // memory when it does not fit beside what the evaluation holds.
    void allow(std::size_t bytes) const
    {
        if (held_ > MaxLiveBytes || bytes > MaxLiveBytes - held_)
            throwOutOfMemory();
    }

    // One step of evaluation (an operation, a call, a round of a long loop): now and then the
    // clock is read, and past the time-out the evaluation stops.
    void tick()
    {
        if ((++steps_ & (StepsBetweenClockReads - 1)) == 0)
            checkTime();
    }
    void checkTime();

    // Runs `wait` (a dialog the user answers) without counting its time: the time-out bounds
    // the engine's work, not the user's thinking.
    template <typename Wait>
    auto whileWaiting(Wait &&wait)
    {
        const auto from = std::chrono::steady_clock::now();
        auto answer = wait();
        deadline_ += std::chrono::steady_clock::now() - from;
        return answer;
    }

    // Called at every reading of the clock: the host keeps its window alive there, and may stop
    // the evaluation by throwing a ScriptError (the user cancelled). Not owned.
    void setCheckpoint(const std::function<void()> *checkpoint) { checkpoint_ = checkpoint; }

    // Text the evaluation keeps while it works on other parts (left operands, arguments).
    void hold(std::size_t bytes) { held_ += bytes; }
    void release(std::size_t bytes) { held_ -= bytes; }
    std::size_t held() const { return held_; }

private:
    static constexpr std::size_t LongString = std::size_t{1} << 16;
    static constexpr std::uint32_t StepsBetweenClockReads = 1024;

    [[noreturn]] static void throwOutOfMemory();

    std::chrono::milliseconds timeout_;
    // The clock starts at the first reading: an evaluation that never reads it is short.
    std::chrono::steady_clock::time_point deadline_{};
    bool started_ = false;
    std::uint32_t steps_ = 0;
    std::size_t held_ = 0;
    const std::function<void()> *checkpoint_ = nullptr;
};

// The bytes of text a value holds.
inline std::size_t stringBytes(const Value &value)
{
    return value.isString() ? value.asString().size() : 0;
}

// What an array keeps on the heap: its elements, their texts and the arrays inside it.
std::size_t arrayBytes(const Value &array);

// What one element of an array costs: its variant, and its text's heap block or its array.
std::size_t elementBytes(const Value &element);

// The memory a value kept aside while other parts are worked out stands for: its text, or all
// that an array holds, so that arrays of long strings count toward the budget as well.
inline std::size_t budgetBytes(const Value &value)
{
    return value.isArray() ? arrayBytes(value) : stringBytes(value);
}

} // namespace eval
