// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/GifLayout.h"

#include <cstring>

namespace vork {

namespace {

constexpr uint8_t extensionIntroducer = 0x21, imageSeparator = 0x2C, trailer = 0x3B;
constexpr uint8_t graphicControlLabel = 0xF9;

// Follows the blocks with every step checked against the bytes that are left.
class BlockWalker {
  public:
    explicit BlockWalker(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    bool skip(size_t n) {
        if (n > bytes_.size() - at_)
            return false;
        at_ += n;
        return true;
    }
    std::optional<uint8_t> byte() {
        if (at_ >= bytes_.size())
            return std::nullopt;
        return bytes_[at_++];
    }
    // The bytes of the next data sub-block (its length byte read), or nothing at the end.
    std::optional<std::span<const uint8_t>> subBlock() {
        const auto length = byte();
        if (!length || *length > bytes_.size() - at_)
            return std::nullopt;
        at_ += *length;
        return bytes_.subspan(at_ - *length, *length);
    }
    std::optional<int> word() {
        const auto low = byte(), high = byte();
        if (!low || !high)
            return std::nullopt;
        return int(*low) | int(*high) << 8;
    }
    // A colour table of 2^(size + 1) RGB entries when the flags' top bit says there is one.
    bool skipColourTable(uint8_t flags) {
        return (flags & 0x80) == 0 || skip(3u << ((flags & 7) + 1));
    }
    // Data sub-blocks: a length byte and that many bytes, up to a zero length.
    bool skipSubBlocks() {
        for (;;) {
            const auto length = byte();
            if (!length)
                return false;
            if (*length == 0)
                return true;
            if (!skip(*length))
                return false;
        }
    }

  private:
    std::span<const uint8_t> bytes_;
    size_t at_ = 0;
};

bool skipImage(BlockWalker& walk) {
    if (!walk.skip(8)) // left, top, width, height
        return false;
    const auto flags = walk.byte();
    return flags && walk.skipColourTable(*flags) && walk.skip(1) /* LZW code size */ &&
           walk.skipSubBlocks();
}

} // namespace

std::optional<GifLayout> readGifLayout(std::span<const uint8_t> bytes) {
    if (bytes.size() < 6 || (std::memcmp(bytes.data(), "GIF87a", 6) != 0 &&
                             std::memcmp(bytes.data(), "GIF89a", 6) != 0))
        return std::nullopt;
    BlockWalker walk(bytes);
    walk.skip(6);
    GifLayout layout;
    const auto width = walk.word(), height = walk.word();
    const auto flags = walk.byte();
    if (!width || !height || !flags || !walk.skip(2) || !walk.skipColourTable(*flags))
        return layout;
    layout.screenWidth = *width;
    layout.screenHeight = *height;
    int delay = 0;
    for (;;) {
        const auto block = walk.byte();
        if (!block)
            return layout;
        if (*block == trailer) {
            layout.complete = true;
            return layout;
        }
        if (*block == extensionIntroducer) {
            const auto label = walk.byte();
            if (!label)
                return layout;
            if (*label == graphicControlLabel) {
                // flags, delay (two bytes, low first), transparent index; then the terminator
                const auto data = walk.subBlock();
                if (!data)
                    return layout;
                if (data->size() >= 3)
                    delay = int((*data)[1]) | int((*data)[2]) << 8;
                if (data->empty())
                    continue; // a zero-length block is the terminator itself
            }
            if (!walk.skipSubBlocks())
                return layout;
        } else if (*block == imageSeparator) {
            if (!skipImage(walk))
                return layout;
            ++layout.imageCount;
            layout.delays.push_back(delay);
            delay = 0; // a control block applies to the one image that follows it
        } else {
            return layout; // not a block of the format: damaged
        }
    }
}

} // namespace vork
