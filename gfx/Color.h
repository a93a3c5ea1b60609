// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A 32-bit colour 0xAARRGGBB.
#include <cstdint>

namespace vork {

struct Color {
    uint32_t argb = 0;

    constexpr Color() = default;
    constexpr explicit Color(uint32_t packed) : argb(packed) {}
    // Opaque colour from red, green, blue.
    static constexpr Color rgb(int r, int g, int b) { return fromArgb(255, r, g, b); }
    // Channels are taken modulo 256.
    static constexpr Color fromArgb(int a, int r, int g, int b) {
        return Color((uint32_t(a & 255) << 24) | (uint32_t(r & 255) << 16) |
                     (uint32_t(g & 255) << 8) | uint32_t(b & 255));
    }
    constexpr uint8_t a() const { return uint8_t(argb >> 24); }
    constexpr uint8_t r() const { return uint8_t(argb >> 16); }
    constexpr uint8_t g() const { return uint8_t(argb >> 8); }
    constexpr uint8_t b() const { return uint8_t(argb); }
    constexpr Color withAlpha(int alpha) const { return fromArgb(alpha, r(), g(), b()); }
    friend constexpr bool operator==(Color, Color) = default;
};

namespace colors {
inline constexpr Color transparent{0u};
inline constexpr Color black = Color::rgb(0, 0, 0);
inline constexpr Color white = Color::rgb(255, 255, 255);
inline constexpr Color panelGrey = Color::rgb(212, 208, 200); // the face colour of boxes and panels
} // namespace colors

} // namespace vork
