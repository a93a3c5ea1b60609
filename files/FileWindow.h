// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A regular file read front to back through a buffer of its own, never more than the buffer at
// a time: for the readers that walk a large file's structure without holding the file.
#include "files/DocumentRead.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vork {

class FileWindow {
  public:
    explicit FileWindow(size_t bufferBytes = size_t(1) << 20) : buffer_(bufferBytes) {}
    ~FileWindow();
    FileWindow(const FileWindow&) = delete;
    FileWindow& operator=(const FileWindow&) = delete;

    // Opens a regular file of at most maxBytes. Otherwise Unreadable, with why in `why` (no
    // such file, not a regular file, no right to read, ...), or TooLarge.
    ReadFailure open(const std::string& path, uint64_t maxBytes, std::string& why);

    uint64_t position() const { return position_; }
    uint64_t remaining() const { return size_ - position_; }
    bool atEnd() const { return position_ == size_; }
    // Copies the next n bytes; false when the file has fewer left or a read fails.
    bool read(uint8_t* out, size_t n);
    // Passes over the next n bytes; false when the file has fewer left or a read fails.
    bool skip(size_t n);
    // The next n bytes (n at most the buffer's size), valid until the next read: in the buffer
    // itself when they are there whole, else copied into `scratch`. Null when the file has
    // fewer left.
    const uint8_t* next(size_t n, uint8_t* scratch);
    std::optional<int32_t> readInt32(); // little-endian
    // The bytes read ahead into the buffer and not yet taken, at most remaining(); refills the
    // buffer first when it is empty. Empty at the end of the file or when a read fails. Valid
    // until the next call; advance() takes some of them.
    std::span<const uint8_t> buffered();
    void advance(size_t n);
    // Copies n bytes from `offset` of the file without moving the position; false when the
    // file has fewer there or a read fails.
    bool readAt(uint64_t offset, uint8_t* out, size_t n);
    // What the system said of the last read that failed ("ошибка ввода-вывода"); empty while
    // none has failed. A file that ends early is no failure: the readers call it truncated.
    const std::string& readError() const { return readError_; }

  private:
    // Consumes up to n bytes, copying them to out when it is not null.
    bool take(uint8_t* out, size_t n);
    bool refill();

    int fd_ = -1;
    uint64_t size_ = 0, position_ = 0;
    std::vector<uint8_t> buffer_;
    size_t at_ = 0, filled_ = 0;
    std::string readError_;
};

} // namespace vork
