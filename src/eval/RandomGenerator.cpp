#include "RandomGenerator.h"

#include <cstring>

namespace eval {

float RandomGenerator::next()
{
    seed_ = (seed_ * Multiplier + Increment) & Mask;
    return current();
}

float RandomGenerator::next(float number)
{
    if (number == 0.0f)
        return current();
    if (number < 0.0f) {
        std::uint32_t bits;
        std::memcpy(&bits, &number, sizeof bits);
        seed_ = (bits + (bits >> 24)) & Mask;
    }
    return next();
}

} // namespace eval
