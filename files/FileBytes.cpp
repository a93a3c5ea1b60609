// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/FileBytes.h"

#include "files/ReadFile.h"

#include <algorithm>
#include <cstdint>
#include <new>

namespace vork {

ReadFailure readFileBytes(const std::string& path, std::vector<uint8_t>& bytes, uint64_t maxBytes,
                          std::string* why) {
    ReadResult read;
    try {
        read = readWholeFile(path, size_t(std::min<uint64_t>(maxBytes, SIZE_MAX)));
    } catch (const std::bad_alloc&) {
        return ReadFailure::TooLarge;
    }
    if (!read && why)
        *why = read.reason;
    if (!read)
        return read.tooLarge ? ReadFailure::TooLarge : ReadFailure::Unreadable;
    bytes = std::move(read.bytes);
    return ReadFailure::None;
}

} // namespace vork
