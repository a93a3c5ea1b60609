#pragma once
// Writing a whole file so that an existing file is replaced only by a complete new one.
#include <cstdint>
#include <span>
#include <string>

namespace vork {

struct SaveResult {
    bool ok = false;
    std::string reason; // what went wrong, for a message naming the file
    explicit operator bool() const { return ok; }
};

SaveResult saveFileAtomically(const std::string& path, std::span<const uint8_t> bytes);

} // namespace vork
