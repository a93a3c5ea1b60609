#pragma once
// Writing a whole file so that an existing one is replaced only by a complete new one.
#include <cstdint>
#include <span>
#include <string>

namespace vork {

struct SaveResult {
    bool ok = false;
    std::string reason; // why the write failed, for the message box; empty on success
    explicit operator bool() const { return ok; }
};

SaveResult saveFileAtomically(const std::string& path, std::span<const uint8_t> bytes);

} // namespace vork
