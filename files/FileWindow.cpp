// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/FileWindow.h"

#include "files/ByteStream.h"
#include "files/FileErrors.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vork {

FileWindow::~FileWindow() {
    if (fd_ >= 0)
        ::close(fd_);
}

ReadFailure FileWindow::open(const std::string& path, uint64_t maxBytes, std::string& why) {
    // Without O_NONBLOCK a FIFO would wait here for a writer; it is refused below instead.
    fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct ::stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) {
        why = errno == ENOENT ? "файл не найден" : reasonForErrno(errno, FileAccess::Reading);
        return ReadFailure::Unreadable;
    }
    if (!S_ISREG(st.st_mode)) {
        why = reasonForFileType(st.st_mode);
        return ReadFailure::Unreadable;
    }
    if (uint64_t(st.st_size) > maxBytes)
        return ReadFailure::TooLarge;
    size_ = uint64_t(st.st_size);
    return ReadFailure::None;
}

bool FileWindow::take(uint8_t* out, size_t n) {
    if (n > remaining())
        return false;
    while (n > 0) {
        if (at_ == filled_ && !refill())
            return false;
        const size_t step = std::min(n, filled_ - at_);
        if (out) {
            std::memcpy(out, buffer_.data() + at_, step);
            out += step;
        }
        at_ += step;
        n -= step;
        position_ += step;
    }
    return true;
}

bool FileWindow::read(uint8_t* out, size_t n) {
    return take(out, n);
}

bool FileWindow::skip(size_t n) {
    return take(nullptr, n);
}

const uint8_t* FileWindow::next(size_t n, uint8_t* scratch) {
    if (filled_ - at_ >= n) {
        const uint8_t* p = buffer_.data() + at_;
        at_ += n;
        position_ += n;
        return p;
    }
    return read(scratch, n) ? scratch : nullptr;
}

std::optional<int32_t> FileWindow::readInt32() {
    uint8_t b[4];
    if (!read(b, 4))
        return std::nullopt;
    return int32_t(loadLittleEndian32(b));
}

std::span<const uint8_t> FileWindow::buffered() {
    if (at_ == filled_ && (atEnd() || !refill()))
        return {};
    const size_t n = size_t(std::min<uint64_t>(filled_ - at_, remaining()));
    return {buffer_.data() + at_, n};
}

void FileWindow::advance(size_t n) {
    n = std::min(n, filled_ - at_);
    at_ += n;
    position_ += n;
}

bool FileWindow::readAt(uint64_t offset, uint8_t* out, size_t n) {
    if (offset > size_ || n > size_ - offset)
        return false;
    while (n > 0) {
        const ssize_t got = ::pread(fd_, out, n, off_t(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            readError_ = reasonForErrno(errno, FileAccess::Reading);
        if (got <= 0)
            return false;
        out += got;
        offset += uint64_t(got);
        n -= size_t(got);
    }
    return true;
}

bool FileWindow::refill() {
    at_ = filled_ = 0;
    for (;;) {
        const ssize_t n = ::read(fd_, buffer_.data(), buffer_.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            readError_ = reasonForErrno(errno, FileAccess::Reading);
        if (n <= 0)
            return false;
        filled_ = size_t(n);
        return true;
    }
}

} // namespace vork
