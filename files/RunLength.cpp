// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/RunLength.h"

#include <algorithm>

namespace vork {

namespace {

inline uint8_t* putRun(uint8_t* p, int64_t end, uint32_t argb) {
    storeLittleEndian32(p, uint32_t(end));
    storeLittleEndian32(p + 4, argb); // 0xAARRGGBB little-endian is B, G, R, A
    return p + runBytes;
}

} // namespace

void appendRuns(ByteWriter& out, const Bitmap& image) {
    const int width = image.width(), height = image.height();
    if (image.isNull() || width <= 0 || height <= 0)
        return;
    uint32_t current = image.row(0)[0];
    for (int y = 0; y < height; ++y) {
        // A row can start at most one run per pixel; room for them is made once per row, so
        // the loop over the pixels only compares and stores.
        uint8_t* const start = out.reserve(runBytes * size_t(width));
        uint8_t* p = start;
        const uint32_t* row = image.row(y);
        const int64_t rowStart = int64_t(y) * width;
        for (int x = 0; x < width; ++x) {
            if (row[x] != current) {
                p = putRun(p, rowStart + x, current);
                current = row[x];
            }
        }
        out.commit(size_t(p - start));
    }
    putRun(out.reserve(runBytes), int64_t(width) * height, current);
    out.commit(runBytes);
}

RunCheck skipRuns(ByteReader& in, int64_t pixelCount) {
    int64_t position = 0;
    while (position < pixelCount) {
        const auto run = in.readBytes(runBytes);
        if (!run)
            return RunCheck::Truncated;
        const int64_t end = int32_t(loadLittleEndian32(run->data()));
        if (end <= position || end > pixelCount)
            return RunCheck::Damaged;
        position = end;
    }
    return RunCheck::Complete;
}

RunCheck walkRuns(std::span<const uint8_t> runs, int64_t& position, int64_t pixelCount,
                  uint32_t* pixels, size_t& consumed) {
    consumed = 0;
    while (position < pixelCount) {
        if (runs.size() - consumed < runBytes)
            return RunCheck::Truncated;
        const uint8_t* run = runs.data() + consumed;
        const int64_t end = int32_t(loadLittleEndian32(run));
        if (end <= position || end > pixelCount)
            return RunCheck::Damaged;
        if (pixels)
            std::fill(pixels + position, pixels + end, loadLittleEndian32(run + 4));
        position = end;
        consumed += runBytes;
    }
    return RunCheck::Complete;
}

void decodeRuns(std::span<const uint8_t> runs, Bitmap& image) {
    if (image.isNull())
        return;
    // The rows of a bitmap follow each other without gaps (stride = 4 x width), so the pixels
    // are one array in the order the runs number them.
    uint32_t* const pixels = image.row(0);
    const int64_t pixelCount = int64_t(image.width()) * image.height();
    int64_t position = 0;
    for (size_t at = 0; at + runBytes <= runs.size() && position < pixelCount; at += runBytes) {
        const uint8_t* run = runs.data() + at;
        const int64_t end = std::min<int64_t>(int32_t(loadLittleEndian32(run)), pixelCount);
        if (end <= position)
            continue;
        std::fill(pixels + position, pixels + end, loadLittleEndian32(run + 4));
        position = end;
    }
}

} // namespace vork
