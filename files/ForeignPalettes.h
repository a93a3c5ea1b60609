// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Palettes in the forms other drawing tools and palette sites use, told apart by extension:
// GIMP palettes (".gpl"), JASC palettes (".pal"), plain hex lists (".hex", one "rrggbb" a line)
// and Paint.NET palettes (".txt", one "aarrggbb" a line after ";" comments).
//
// Every reader is strict: a file that is not wholly in its form gives no colours and a reason
// (in Russian, naming the line), so a damaged file changes nothing. Only Paint.NET palettes
// carry alpha; the other forms read as opaque and are written without it.
#include "files/SaveFile.h"
#include "gfx/Color.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vork {

enum class ForeignPalette { Gimp, Jasc, Hex, PaintNet };

// The form a file name's extension names (any letter case), or none.
std::optional<ForeignPalette> foreignPaletteOf(const std::string& path);

// The chooser filters of the four forms, (description, "*.ext"), in the order of
// foreignPaletteForms, and each form's extension with its dot.
std::vector<std::pair<std::string, std::string>> foreignPaletteFilters();
std::vector<ForeignPalette> foreignPaletteForms();
std::string foreignPaletteExtension(ForeignPalette form);

struct ForeignPaletteRead {
    std::vector<Color> colours; // in file order; empty on failure
    std::string reason;         // empty on success
    explicit operator bool() const { return reason.empty(); }
};

// Reads the bytes of a file in the given form. A file without a single colour fails too.
ForeignPaletteRead parseForeignPalette(ForeignPalette form, std::string_view text);
// Reads a file whole (a regular file of at most a few megabytes) and parses it.
ForeignPaletteRead readForeignPalette(const std::string& path, ForeignPalette form);

// The colours in the given form, as writeForeignPalette writes them.
std::string formatForeignPalette(ForeignPalette form, const std::vector<Color>& colours);
SaveResult writeForeignPalette(const std::string& path, ForeignPalette form,
                               const std::vector<Color>& colours);

} // namespace vork
