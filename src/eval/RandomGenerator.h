#pragma once

#include <cstdint>

namespace eval {

// The language's Rnd: a 24-bit linear congruential generator with a fixed start seed, so a
// fresh engine yields the same single-precision sequence on every start (0.7055475 first).
class RandomGenerator
{
public:
    // Rnd with no argument or a positive one: the next value.
    float next();
    // Rnd(number): zero repeats the last value, a negative number reseeds from its bits first.
    float next(float number);

private:
    static constexpr std::uint32_t Multiplier = 0x43FD43FD;
    static constexpr std::uint32_t Increment = 0xC39EC3;
    static constexpr std::uint32_t Mask = 0xFFFFFF;

    float current() const { return static_cast<float>(seed_) / 16777216.0f; }

    std::uint32_t seed_ = 0x50000;
};

} // namespace eval
