#include "files/FileBytes.h"

#include <filesystem>
#include <fstream>
#include <new>

namespace vork {

ReadFailure readFileBytes(const std::string& path, std::vector<uint8_t>& bytes, uint64_t maxBytes) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return ReadFailure::Unreadable;
    const auto size = std::filesystem::file_size(path, error);
    if (error)
        return ReadFailure::Unreadable;
    if (size > maxBytes)
        return ReadFailure::TooLarge;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return ReadFailure::Unreadable;
    try {
        bytes.resize(size_t(size));
    } catch (const std::bad_alloc&) {
        return ReadFailure::TooLarge;
    }
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(size));
    // A file that shrank while it was read is as unreadable as one that could not be opened.
    if (uint64_t(in.gcount()) != size)
        return ReadFailure::Unreadable;
    return ReadFailure::None;
}

} // namespace vork
