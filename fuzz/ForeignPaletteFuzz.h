// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The checks every reader of another tool's palette form must pass, whatever the bytes: no
// crash or hang; a refusal gives no colours and a reason; a palette read gives colours, and
// what it gave comes back the same from a write and a second read (alpha only where the form
// keeps it).
#include "files/ForeignPalettes.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace vork::fuzz {

inline void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "foreign palette fuzz: %s\n", what);
        std::abort();
    }
}

inline void checkForeignPalette(ForeignPalette form, const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ForeignPaletteRead read = parseForeignPalette(form, text);
    if (!read) {
        require(read.colours.empty(), "a refused palette gave colours");
        require(!read.reason.empty(), "a refusal without a reason");
        return;
    }
    require(!read.colours.empty(), "a palette read without colours");
    const ForeignPaletteRead again =
        parseForeignPalette(form, formatForeignPalette(form, read.colours));
    require(bool(again), "a written palette could not be read");
    require(again.colours.size() == read.colours.size(), "a palette changed its length");
    for (size_t i = 0; i < read.colours.size(); ++i) {
        const Color expected =
            form == ForeignPalette::PaintNet ? read.colours[i] : read.colours[i].withAlpha(255);
        require(again.colours[i] == expected, "a colour changed in a write and read");
    }
}

} // namespace vork::fuzz
