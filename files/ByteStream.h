// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Little-endian reading and writing of the binary document files.
//
// ByteReader walks a span of bytes and never reads past its end: a read that does not fit
// fails and leaves the position where it was. ByteWriter appends to one growing buffer.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <vector>

namespace vork {

inline uint32_t loadLittleEndian32(const uint8_t* p) {
    if constexpr (std::endian::native == std::endian::little) {
        uint32_t v;
        std::memcpy(&v, p, 4);
        return v;
    }
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline void storeLittleEndian32(uint8_t* p, uint32_t v) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(p, &v, 4);
        return;
    }
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

class ByteReader {
  public:
    explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    size_t position() const { return position_; }
    size_t remaining() const { return bytes_.size() - position_; }
    bool atEnd() const { return position_ == bytes_.size(); }
    // The bytes from `from` up to the current position.
    std::span<const uint8_t> consumedSince(size_t from) const {
        return bytes_.subspan(from, position_ - from);
    }

    std::optional<int32_t> readInt32() {
        if (remaining() < 4)
            return std::nullopt;
        const uint32_t v = loadLittleEndian32(bytes_.data() + position_);
        position_ += 4;
        return int32_t(v);
    }
    // The next n bytes, or nothing when fewer are left.
    std::optional<std::span<const uint8_t>> readBytes(size_t n) {
        if (remaining() < n)
            return std::nullopt;
        const auto s = bytes_.subspan(position_, n);
        position_ += n;
        return s;
    }

  private:
    std::span<const uint8_t> bytes_;
    size_t position_ = 0;
};

// Appends to one buffer through a cursor. The buffer is grown ahead of the cursor in steps (its
// size beyond the cursor is scratch), so a caller can reserve room for many small records at
// once and write them through a plain pointer; finish() cuts the buffer to what was written.
class ByteWriter {
  public:
    explicit ByteWriter(std::vector<uint8_t>& out) : out_(out), used_(out.size()) {}

    // Room for at least n more bytes at the cursor; valid until the next call that grows.
    uint8_t* reserve(size_t n) {
        if (out_.size() - used_ < n)
            grow(n);
        return out_.data() + used_;
    }
    // Takes n bytes written at the cursor (after reserve) as part of the output.
    void commit(size_t n) { used_ += n; }

    void writeInt32(int32_t v) {
        storeLittleEndian32(reserve(4), uint32_t(v));
        commit(4);
    }
    void writeBytes(const uint8_t* p, size_t n) {
        if (n == 0)
            return;
        std::memcpy(reserve(n), p, n);
        commit(n);
    }
    void finish() { out_.resize(used_); }

  private:
    void grow(size_t n) {
        // Steps of a fixed size keep the zeroing of new room close to the writes that follow;
        // the vector itself still grows its capacity geometrically.
        constexpr size_t step = size_t(256) << 10;
        out_.resize(used_ + (n > step ? n : step));
    }
    std::vector<uint8_t>& out_;
    size_t used_;
};

} // namespace vork
