// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A fresh working folder for a test, removed afterwards; the previous working folder is
// restored when the test ends.
#include "support/TempDir.h"

namespace vork::test {

class TempWorkingFolder {
  public:
    TempWorkingFolder() : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir_.path);
    }
    ~TempWorkingFolder() {
        std::error_code ec;
        std::filesystem::current_path(previous_, ec);
    }
    TempWorkingFolder(const TempWorkingFolder&) = delete;
    TempWorkingFolder& operator=(const TempWorkingFolder&) = delete;

    const std::filesystem::path& path() const { return dir_.path; }

    // Copies the shipped data folder of the source tree here.
    void copyDefaultData() const {
        std::filesystem::copy(std::filesystem::path(VORK_SOURCE_DIR) / "data", dir_.path / "data",
                              std::filesystem::copy_options::recursive);
    }

  private:
    TempDir dir_; // removed after the working folder has been restored
    std::filesystem::path previous_;
};

} // namespace vork::test
