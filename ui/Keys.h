// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The character shortcuts. Each is matched on the typed character (code page 1251) by four
// codes: the Latin lower- and upper-case letter and the two Cyrillic letters the same key
// gives on a Russian layout, so the shortcuts work with either layout.
#include "ui/Editor.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace vork {

using KeyCodes = std::array<uint8_t, 4>;

namespace key {
inline constexpr KeyCodes g{'g', 'G', 0xEF, 0xCF};    // switch Painter / Animator
inline constexpr KeyCodes w{'w', 'W', 0xF6, 0xD6};    // onion skin on / off
inline constexpr KeyCodes e{'e', 'E', 0xF3, 0xD3};    // onion skin grey on / off
inline constexpr KeyCodes z{'z', 'Z', 0xFF, 0xDF};    // previous enabled frame
inline constexpr KeyCodes x{'x', 'X', 0xF7, 0xD7};    // next enabled frame
inline constexpr KeyCodes r{'r', 'R', 0xEA, 0xCA};    // current layer visible / hidden
inline constexpr KeyCodes undo{'<', ',', 0xE1, 0xC1}; // the comma key
inline constexpr KeyCodes redo{'>', '.', 0xFE, 0xDE}; // the full-stop key
inline constexpr KeyCodes a{'a', 'A', 0xF4, 0xD4};    // select the whole layer
inline constexpr KeyCodes c{'c', 'C', 0xF1, 0xD1};    // copy the selection
inline constexpr KeyCodes v{'v', 'V', 0xEC, 0xCC};    // paste
inline constexpr KeyCodes f{'f', 'F', 0xE0, 0xC0};    // fit the picture to the canvas
inline constexpr KeyCodes q{'q', 'Q', 0xE9, 0xC9};    // pixel grid on / off

// The letters of the Control shortcuts, by the same four codes. With Control held, a Latin
// layout types the letter's control code instead (Control+S types 0x13); controlCode gives it.
inline constexpr KeyCodes s{'s', 'S', 0xFB, 0xDB}; // save in place; with Shift, save as
inline constexpr KeyCodes o{'o', 'O', 0xF9, 0xD9}; // open
inline constexpr KeyCodes n{'n', 'N', 0xF2, 0xD2}; // new document
inline constexpr KeyCodes y{'y', 'Y', 0xED, 0xCD}; // redo
inline constexpr uint8_t controlCode(const KeyCodes& k) {
    return uint8_t(k[0] - 'a' + 1);
}
} // namespace key

// Whether this frame's typed character is the key.
inline bool typed(const InputState& in, const KeyCodes& k) {
    return in.lastChar != 0 && std::find(k.begin(), k.end(), in.lastChar) != k.end();
}

} // namespace vork
