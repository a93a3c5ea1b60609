// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading a whole file into memory, safely whatever the path names.
//
// Only regular files are read. The path is checked before it is opened, opened so that the
// open itself cannot block (a FIFO without a writer would otherwise wait for ever), and the
// opened file is checked again, so a path swapped in between is refused as well. Folders,
// devices, FIFOs, sockets, missing files and files larger than the cap are unreadable, with
// the reason. Symbolic links are followed.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vork {

struct ReadResult {
    bool ok = false;
    std::vector<uint8_t> bytes; // the whole file when ok
    std::string reason;         // empty when ok; otherwise a short reason in Russian
    bool tooLarge = false;      // refused for its size alone
    bool missing = false;       // nothing at the path
    explicit operator bool() const { return ok; }
};

ReadResult readWholeFile(const std::string& path, size_t maxBytes);

} // namespace vork
