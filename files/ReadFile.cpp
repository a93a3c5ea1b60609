// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ReadFile.h"

#include "files/FileErrors.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vork {

namespace {

ReadResult failure(std::string reason) {
    ReadResult r;
    r.reason = std::move(reason);
    return r;
}

ReadResult failureFromErrno(int error) {
    if (error == ENOENT) {
        ReadResult r = failure("файл не найден");
        r.missing = true;
        return r;
    }
    return failure(reasonForErrno(error, FileAccess::Reading));
}

const char* const tooBig = "файл слишком большой";

ReadResult failure(const std::string& reason, bool tooLarge) {
    ReadResult r = failure(reason);
    r.tooLarge = tooLarge;
    return r;
}

// Checks what a path or an open file is; the reason is empty when it may be read.
std::string refusalFor(const struct ::stat& st, size_t maxBytes) {
    if (!S_ISREG(st.st_mode))
        return reasonForFileType(st.st_mode);
    if (st.st_size < 0 || uint64_t(st.st_size) > maxBytes)
        return tooBig;
    return {};
}

// Reads to the end of the file, but never more than maxBytes + 1 bytes, so a file that grew
// after it was checked is still caught as too big.
ReadResult readOpenFile(int fd, size_t sizeHint, size_t maxBytes) {
    ReadResult r;
    r.bytes.resize(std::min(sizeHint, maxBytes) + 1);
    size_t filled = 0;
    for (;;) {
        if (filled == r.bytes.size()) {
            if (filled > maxBytes)
                return failure(tooBig, true);
            r.bytes.resize(std::min(maxBytes + 1, filled * 2 + 4096));
        }
        const ssize_t n = ::read(fd, r.bytes.data() + filled, r.bytes.size() - filled);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failureFromErrno(errno);
        if (n == 0)
            break;
        filled += size_t(n);
    }
    if (filled > maxBytes)
        return failure(tooBig, true);
    r.bytes.resize(filled);
    r.ok = true;
    return r;
}

} // namespace

ReadResult readWholeFile(const std::string& path, size_t maxBytes) {
    maxBytes = std::min(maxBytes, size_t(PTRDIFF_MAX) - 1);
    struct ::stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return failureFromErrno(errno);
    if (auto refusal = refusalFor(st, maxBytes); !refusal.empty())
        return failure(refusal, refusal == tooBig);

    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return failureFromErrno(errno);
    ReadResult r;
    if (::fstat(fd, &st) != 0)
        r = failureFromErrno(errno);
    else if (auto refusal = refusalFor(st, maxBytes); !refusal.empty())
        r = failure(refusal, refusal == tooBig);
    else
        r = readOpenFile(fd, size_t(st.st_size), maxBytes);
    ::close(fd);
    return r;
}

} // namespace vork
