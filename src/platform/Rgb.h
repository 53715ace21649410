#pragma once

namespace platform {

// A colour as (red, green, blue), 0 to 255 each.
struct Rgb
{
    int red = 0;
    int green = 0;
    int blue = 0;

    friend bool operator==(const Rgb &, const Rgb &) = default;
};

namespace colors {
constexpr Rgb Grey{128, 128, 128};     // instruction and sample text
constexpr Rgb Navy{0, 0, 128};         // working text
constexpr Rgb DarkNavy{0, 0, 64};      // history rows once entry has started
constexpr Rgb Red{255, 0, 0};          // "Error"
constexpr Rgb LightGrey{224, 224, 224}; // the palette's background
} // namespace colors

} // namespace platform
