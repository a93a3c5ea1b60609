// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes small GIF files for the tests and benchmarks of the image import (Qt reads GIF but
// cannot write it), through giflib. For tests only.
#include "gfx/Color.h"

#include <gif_lib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vork::test {

struct GifFrame {
    int left = 0, top = 0, width = 0, height = 0; // the frame's rectangle on the screen
    std::vector<uint8_t> indices;                 // width x height palette indices, by rows
    int delayCentiseconds = 10;
    int transparentIndex = NO_TRANSPARENT_COLOR;
    int disposal = DISPOSE_BACKGROUND;
    std::vector<Color> localPalette; // used instead of the global one when not empty
};

// A frame covering the whole screen, every pixel the index fill(x, y).
template <class Fill> GifFrame fullFrame(int width, int height, Fill fill) {
    GifFrame f;
    f.width = width;
    f.height = height;
    f.indices.reserve(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            f.indices.push_back(uint8_t(fill(x, y)));
    return f;
}

// A giflib colour map of the palette, padded to a power of two; its alpha is ignored.
inline ColorMapObject* makeColourMap(const std::vector<Color>& palette) {
    int colours = 2;
    while (colours < int(palette.size()))
        colours *= 2;
    std::vector<GifColorType> entries(size_t(colours), GifColorType{0, 0, 0});
    for (size_t i = 0; i < palette.size(); ++i)
        entries[i] = {palette[i].r(), palette[i].g(), palette[i].b()};
    return GifMakeMapObject(colours, entries.data());
}

// giflib keeps a copy of a frame's local palette, and drops it unfreed at the next frame or at
// the close.
inline void releaseLocalPaletteCopy(GifFileType* gif) {
    if (gif->Image.ColorMap) {
        GifFreeMapObject(gif->Image.ColorMap);
        gif->Image.ColorMap = nullptr;
    }
}

// A GIF89a of the given screen size with one global palette and the frames in order. False
// when giflib reports a failure.
inline bool writeGif(const std::string& path, int width, int height,
                     const std::vector<Color>& palette, const std::vector<GifFrame>& frames) {
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    if (!gif)
        return false;
    EGifSetGifVersion(gif, true);
    ColorMapObject* map = makeColourMap(palette);
    bool ok = map && EGifPutScreenDesc(gif, width, height, 8, 0, map) == GIF_OK;
    for (const GifFrame& frame : frames) {
        GraphicsControlBlock control{frame.disposal, false, frame.delayCentiseconds,
                                     frame.transparentIndex};
        GifByteType extension[4];
        const size_t length = EGifGCBToExtension(&control, extension);
        ok = ok && EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), extension) == GIF_OK;
        releaseLocalPaletteCopy(gif);
        ColorMapObject* local =
            frame.localPalette.empty() ? nullptr : makeColourMap(frame.localPalette);
        ok = ok && EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, false,
                                    local) == GIF_OK;
        if (local)
            GifFreeMapObject(local);
        std::vector<GifPixelType> line(size_t(frame.width));
        for (int y = 0; ok && y < frame.height; ++y) {
            for (int x = 0; x < frame.width; ++x)
                line[size_t(x)] = frame.indices[size_t(y) * size_t(frame.width) + size_t(x)];
            ok = EGifPutLine(gif, line.data(), frame.width) == GIF_OK;
        }
    }
    if (map)
        GifFreeMapObject(map);
    releaseLocalPaletteCopy(gif);
    return EGifCloseFile(gif, &error) == GIF_OK && ok;
}

} // namespace vork::test
