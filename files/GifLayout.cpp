// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/GifLayout.h"

#include "files/FileWindow.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace vork {

namespace {

constexpr uint8_t extensionIntroducer = 0x21, imageSeparator = 0x2C, trailer = 0x3B;
constexpr uint8_t graphicControlLabel = 0xF9;

// Bytes in memory.
class SpanSource {
  public:
    explicit SpanSource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    bool read(uint8_t* out, size_t n) {
        if (n > bytes_.size() - at_)
            return false;
        std::memcpy(out, bytes_.data() + at_, n);
        at_ += n;
        return true;
    }
    bool skip(size_t n) {
        if (n > bytes_.size() - at_)
            return false;
        at_ += n;
        return true;
    }

  private:
    std::span<const uint8_t> bytes_;
    size_t at_ = 0;
};

// Follows the blocks with every step checked against the bytes that are left.
template <class Source> class BlockWalker {
  public:
    explicit BlockWalker(Source& source) : source_(source) {}

    bool skip(size_t n) { return source_.skip(n); }
    std::optional<uint8_t> byte() {
        uint8_t b;
        if (!source_.read(&b, 1))
            return std::nullopt;
        return b;
    }
    // Reads the next data sub-block (its length byte first) into `data`; its length, or
    // nothing at the end.
    std::optional<size_t> subBlock(std::array<uint8_t, 255>& data) {
        const auto length = byte();
        if (!length || !source_.read(data.data(), *length))
            return std::nullopt;
        return size_t(*length);
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
    bool skipImage() {
        if (!skip(8)) // left, top, width, height
            return false;
        const auto flags = byte();
        return flags && skipColourTable(*flags) && skip(1) /* LZW code size */ && skipSubBlocks();
    }

  private:
    Source& source_;
};

template <class Source> std::optional<GifLayout> walkGif(Source& source) {
    std::array<uint8_t, 6> signature;
    if (!source.read(signature.data(), 6) || (std::memcmp(signature.data(), "GIF87a", 6) != 0 &&
                                              std::memcmp(signature.data(), "GIF89a", 6) != 0))
        return std::nullopt;
    BlockWalker<Source> walk(source);
    GifLayout layout;
    const auto width = walk.word(), height = walk.word();
    const auto flags = walk.byte();
    if (!width || !height || !flags || !walk.skip(2) || !walk.skipColourTable(*flags))
        return layout;
    layout.screenWidth = *width;
    layout.screenHeight = *height;
    int delay = 0;
    std::array<uint8_t, 255> data;
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
                const auto length = walk.subBlock(data);
                if (!length)
                    return layout;
                if (*length >= 3)
                    delay = int(data[1]) | int(data[2]) << 8;
                if (*length == 0)
                    continue; // a zero-length block is the terminator itself
            }
            if (!walk.skipSubBlocks())
                return layout;
        } else if (*block == imageSeparator) {
            if (!walk.skipImage())
                return layout;
            ++layout.imageCount;
            layout.delays.push_back(delay);
            delay = 0; // a control block applies to the one image that follows it
        } else {
            return layout; // not a block of the format: damaged
        }
    }
}

} // namespace

std::optional<GifLayout> readGifLayout(std::span<const uint8_t> bytes) {
    SpanSource source(bytes);
    return walkGif(source);
}

GifFileLayout readGifFileLayout(const std::string& path) {
    GifFileLayout r;
    FileWindow source(size_t(256) << 10);
    if (source.open(path, UINT64_MAX, r.unreadable) == ReadFailure::None)
        r.layout = walkGif(source);
    return r;
}

} // namespace vork
