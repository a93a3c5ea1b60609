#pragma once
// A fresh working folder for a test, removed afterwards; the previous working folder is
// restored when the test ends.
#include <filesystem>
#include <random>
#include <string>

namespace vork::test {

class TempWorkingFolder {
public:
    TempWorkingFolder() : previous_(std::filesystem::current_path()) {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("vork-test-" + std::to_string(rd()) + "-" + std::to_string(rd()));
        std::filesystem::create_directories(path_);
        std::filesystem::current_path(path_);
    }
    ~TempWorkingFolder() {
        std::error_code ec;
        std::filesystem::current_path(previous_, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempWorkingFolder(const TempWorkingFolder&) = delete;
    TempWorkingFolder& operator=(const TempWorkingFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Copies the shipped data folder of the source tree here.
    void copyDefaultData() const {
        std::filesystem::copy(std::filesystem::path(VORK_SOURCE_DIR) / "data", path_ / "data",
                              std::filesystem::copy_options::recursive);
    }

private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

} // namespace vork::test
