// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A file system that really fills up: a small tmpfs mounted on a fresh folder for one test.
// Mounting needs root; elsewhere `mounted` stays false and `whyNot` says why.
#include "support/TempDir.h"

#include <cerrno>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace vork::test {

// Unmounted when the test ends however it ends.
class SmallTmpfs {
  public:
    explicit SmallTmpfs(const char* size) {
        const std::string options = std::string("size=") + size;
        if (::geteuid() != 0)
            whyNot = "mounting needs root";
        else if (::mount("tmpfs", dir.path.c_str(), "tmpfs", MS_NOSUID | MS_NODEV,
                         options.c_str()) != 0)
            whyNot = std::string("mount failed: ") + std::strerror(errno);
        else
            mounted = true;
    }
    ~SmallTmpfs() {
        if (mounted)
            ::umount2(dir.path.c_str(), MNT_DETACH);
    }
    SmallTmpfs(const SmallTmpfs&) = delete;
    SmallTmpfs& operator=(const SmallTmpfs&) = delete;

    std::string file(const std::string& name) const { return dir.file(name); }

    TempDir dir; // outlives the mount
    bool mounted = false;
    std::string whyNot;
};

// Writes into a new file until the file system refuses; returns the errno it refused with.
inline int fillUp(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return errno;
    const std::string block(512, 'z');
    int error = 0;
    while (error == 0) {
        if (::write(fd, block.data(), block.size()) < 0)
            error = errno;
    }
    ::close(fd);
    return error;
}

} // namespace vork::test
