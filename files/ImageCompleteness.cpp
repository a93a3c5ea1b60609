// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ImageCompleteness.h"

#include <cstdlib>
#include <cstring>

namespace vork {

namespace {

uint32_t littleEndian(std::span<const uint8_t> b, size_t at, size_t size) {
    uint32_t v = 0;
    for (size_t i = size; i-- > 0;)
        v = (v << 8) | b[at + i];
    return v;
}

uint32_t bigEndian(std::span<const uint8_t> b, size_t at, size_t size) {
    uint32_t v = 0;
    for (size_t i = 0; i < size; ++i)
        v = (v << 8) | b[at + i];
    return v;
}

bool startsWith(std::span<const uint8_t> b, const char* magic, size_t size) {
    return b.size() >= size && std::memcmp(b.data(), magic, size) == 0;
}

// The pixel rows of an uncompressed BMP end at the offset of the pixels plus the rows; a
// compressed one at the offset plus the size its header gives, when it gives one.
bool bmpCutShort(std::span<const uint8_t> b) {
    constexpr size_t fileHeader = 14;
    if (b.size() < fileHeader + 4)
        return true;
    const uint64_t pixelsAt = littleEndian(b, 10, 4);
    const uint32_t infoSize = littleEndian(b, 14, 4);
    if (b.size() < fileHeader + std::min<uint64_t>(infoSize, 40))
        return true;
    uint64_t width = 0, height = 0, bits = 0, compression = 0, imageSize = 0;
    if (infoSize == 12) { // the oldest header, of 16-bit sides
        width = littleEndian(b, 18, 2);
        height = littleEndian(b, 20, 2);
        bits = littleEndian(b, 24, 2);
    } else if (infoSize >= 40) {
        width = uint64_t(std::llabs(int32_t(littleEndian(b, 18, 4))));
        height = uint64_t(std::llabs(int32_t(littleEndian(b, 22, 4))));
        bits = littleEndian(b, 28, 2);
        compression = littleEndian(b, 30, 4);
        imageSize = littleEndian(b, 34, 4);
    } else {
        return false; // a header the decoder judges
    }
    if (width > 0xFFFF || height > 0xFFFF || bits > 64)
        return false; // past any size that is read; the size check refuses it

    constexpr uint32_t plain = 0, bitFields = 3, alphaBitFields = 6;
    uint64_t pixelBytes = imageSize;
    if (compression == plain || compression == bitFields || compression == alphaBitFields)
        pixelBytes = (width * bits + 31) / 32 * 4 * height;
    return pixelsAt + pixelBytes > b.size();
}

// Walks the segments to the first scan, then the entropy-coded data and the segments between
// scans, to the end-of-image marker.
bool jpegCutShort(std::span<const uint8_t> b) {
    size_t at = 2;
    bool inScan = false;
    while (at + 1 < b.size()) {
        if (inScan) {
            // In entropy-coded data a 0xFF is followed by 0 (a stuffed byte) or a restart marker.
            if (b[at] != 0xFF || b[at + 1] == 0x00 || (b[at + 1] >= 0xD0 && b[at + 1] <= 0xD7)) {
                ++at;
                continue;
            }
            inScan = false;
        }
        if (b[at] != 0xFF)
            return false; // not a marker where one must be: damage the decoder reports
        const uint8_t marker = b[at + 1];
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0xD9)
            return false;
        if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            at += 2;
            continue;
        }
        if (at + 4 > b.size())
            return true;
        at += 2 + bigEndian(b, at + 2, 2);
        inScan = marker == 0xDA;
    }
    return true;
}

// Walks the chunks to the end chunk.
bool pngCutShort(std::span<const uint8_t> b) {
    size_t at = 8;
    while (at + 8 <= b.size()) {
        const uint64_t length = bigEndian(b, at, 4);
        const bool end = std::memcmp(b.data() + at + 4, "IEND", 4) == 0;
        if (at + 12 + length > b.size())
            return true;
        if (end)
            return false;
        at += size_t(12 + length);
    }
    return true;
}

} // namespace

bool imageCutShort(std::span<const uint8_t> bytes) {
    if (startsWith(bytes, "BM", 2))
        return bmpCutShort(bytes);
    if (startsWith(bytes, "\xFF\xD8\xFF", 3))
        return jpegCutShort(bytes);
    if (startsWith(bytes, "\x89PNG\r\n\x1A\n", 8))
        return pngCutShort(bytes);
    return false;
}

} // namespace vork
