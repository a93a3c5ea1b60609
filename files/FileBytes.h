// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads a whole document file into memory, refusing anything but a regular file of a sane size.
#include "files/DocumentRead.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vork {

// The largest document file read: far beyond any file the program writes for documents within
// the decoded-pixel budget except ones of noise, and small enough to hold in memory.
inline constexpr uint64_t maxDocumentFileBytes = uint64_t(2) << 30; // 2 GiB

// Fills `bytes` with the file's content. Unreadable when the path is not a regular file or the
// read fails (`why`, when given, then says which: no such file, a folder, no right to read...),
// TooLarge beyond maxBytes.
ReadFailure readFileBytes(const std::string& path, std::vector<uint8_t>& bytes,
                          uint64_t maxBytes = maxDocumentFileBytes, std::string* why = nullptr);

} // namespace vork
