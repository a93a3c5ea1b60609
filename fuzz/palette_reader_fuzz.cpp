// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the palette and settings readers. Whatever the bytes, a reader must
// not crash or hang, must leave everything unchanged when it reports failure, must keep the
// palettes' shape and ids, and what it read must survive a write and a second read unchanged.
// The files go to the temporary folder ($TMPDIR): fuzz/run.sh points it at memory.
#include "files/PaletteFiles.h"
#include "files/SettingsFile.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace vork;

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "palette reader fuzz: %s\n", what);
        std::abort();
    }
}

void requireSaved(const SaveResult& saved, const char* what) {
    if (!saved) {
        std::fprintf(stderr, "palette reader fuzz: %s: %s\n", what, saved.reason.c_str());
        std::abort();
    }
}

std::string tempPath(const char* name) {
    return (std::filesystem::temp_directory_path() /
            ("vork_palette_fuzz_" + std::to_string(::getpid()) + "_" + name))
        .string();
}

bool sameColours(const std::vector<PaletteEntry>& a, const std::vector<PaletteEntry>& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].color != b[i].color || a[i].id != b[i].id)
            return false;
    return true;
}

bool wellShaped(const std::vector<PaletteEntry>& p, int size) {
    if (p.size() != size_t(size))
        return false;
    for (int i = 0; i < size; ++i)
        if (p[size_t(i)].id != i)
            return false;
    return true;
}

Palettes markedPalettes() {
    Palettes p;
    for (auto* list : {&p.small, &p.replacement, &p.big})
        for (auto& e : *list)
            e.color = Color::fromArgb(1, 2, 3, e.id);
    return p;
}

void checkPalettes(const std::string& input, const std::string& copy) {
    const Palettes before = markedPalettes();
    Palettes p = before;
    const bool smallRead = readSmallPalette(input, p);
    const bool bigRead = readBigPalette(input, p);
    require(wellShaped(p.small, smallPaletteSize) &&
                wellShaped(p.replacement, replacementPaletteSize) &&
                wellShaped(p.big, bigPaletteSize),
            "a reader changed the shape of a palette");
    if (!smallRead)
        require(sameColours(p.small, before.small) &&
                    sameColours(p.replacement, before.replacement),
                "a failed small-palette read changed entries");
    if (!bigRead)
        require(sameColours(p.big, before.big), "a failed big-palette read changed entries");
    else
        require(p.big[0].color == colors::transparent, "big palette entry 0 is not transparent");

    // What a reader took from the input must come back unchanged from a save and a second read.
    Palettes again;
    if (smallRead) {
        requireSaved(writeSmallPalette(copy, p), "writing the small palette failed");
        require(readSmallPalette(copy, again), "reading a written small palette failed");
        require(sameColours(again.small, p.small) && sameColours(again.replacement, p.replacement),
                "small palette changed in a write and read");
    }
    if (bigRead) {
        requireSaved(writeBigPalette(copy, p), "writing the big palette failed");
        require(readBigPalette(copy, again), "reading a written big palette failed");
        require(sameColours(again.big, p.big), "big palette changed in a write and read");
    }
}

bool sizeKeptOrValid(float size, float old) {
    return size == old || (size >= 1 && size <= float(maxSettingsSide) && size == float(int(size)));
}

bool sameSizes(const DocumentSizes& a, const DocumentSizes& b) {
    return a.pictureWidth == b.pictureWidth && a.pictureHeight == b.pictureHeight &&
           a.animationWidth == b.animationWidth && a.animationHeight == b.animationHeight;
}

void checkSettings(const std::string& input, const std::string& copy) {
    const DocumentSizes before{7, 8, 9, 10};
    DocumentSizes s = before;
    if (!readSettings(input, s)) {
        require(sameSizes(s, before), "a failed settings read changed sizes");
        return;
    }
    require(sizeKeptOrValid(s.pictureWidth, 7) && sizeKeptOrValid(s.pictureHeight, 8) &&
                sizeKeptOrValid(s.animationWidth, 9) && sizeKeptOrValid(s.animationHeight, 10),
            "settings gave a size the program cannot use");

    requireSaved(writeSettings(copy, s), "writing the settings failed");
    DocumentSizes again{1, 2, 3, 4};
    require(readSettings(copy, again), "reading written settings failed");
    require(sameSizes(again, s), "settings changed in a write and read");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string input = tempPath("input");
    static const std::string copy = tempPath("copy");
    {
        std::ofstream out(input, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    checkPalettes(input, copy);
    checkSettings(input, copy);
    std::remove(input.c_str());
    std::remove(copy.c_str());
    return 0;
}
