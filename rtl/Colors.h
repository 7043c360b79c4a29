#pragma once

#include <cstdint>

// A colour as the form library encodes it: 0x00BBGGRR.
using TColor = std::uint32_t;

constexpr TColor RGBColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return TColor(red) | (TColor(green) << 8) | (TColor(blue) << 16);
}

constexpr TColor clBlack = RGBColor(0, 0, 0);
constexpr TColor clGreen = RGBColor(0, 128, 0);
constexpr TColor clRed = RGBColor(255, 0, 0);
constexpr TColor clWhite = RGBColor(255, 255, 255);
