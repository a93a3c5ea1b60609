// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An animated GIF built in memory with giflib, frame by frame, looping forever.
#include "files/GifFramePlan.h"
#include "gfx/Geometry.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct GifFileType;

namespace vork {

// One stored frame, its pixels given as palette indices.
struct GifFrameRecord {
    Rect rect;                              // inside the screen, not empty
    std::span<const uint32_t> localPalette; // 0xRRGGBB, at most 256; empty: the global palette
    int transparentIndex = -1;              // the index that leaves the canvas showing; -1: none
    int delay = 0;                          // in hundredths of a second
    GifDisposal disposal = GifDisposal::Keep;
    std::span<const uint8_t> indices; // rect.w x rect.h, row by row, each within the palette
};

class GifEncoder {
  public:
    // Starts a GIF89a of the screen size, with the global palette unless it is empty, and the
    // block that has viewers loop the animation forever.
    GifEncoder(int width, int height, std::span<const uint32_t> globalPalette, int backgroundIndex);
    ~GifEncoder();
    GifEncoder(const GifEncoder&) = delete;
    GifEncoder& operator=(const GifEncoder&) = delete;

    // False once any step has failed; later calls then do nothing.
    bool addFrame(const GifFrameRecord& frame);
    // Ends the file: its bytes, or nothing when any step failed.
    std::optional<std::vector<uint8_t>> finish();
    // What went wrong first; empty while nothing did.
    const std::string& error() const { return firstError; }

    struct Output {
        std::vector<uint8_t> bytes;
        bool failed = false; // memory ran out while the bytes grew
    };

  private:
    bool check(int giflibResult);
    bool writeLoopForever();

    GifFileType* gif = nullptr;
    Output output;
    std::string firstError;
    std::vector<uint8_t> row; // giflib masks the line it is given, so it gets a copy
};

} // namespace vork
