// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Makes a file or folder unwritable for the duration of a test, even for the superuser where
// the file system allows: root ignores permission bits but not the immutable flag.
#include <string>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vork::test {

// Sets or clears the immutable flag; false where the file system or the user cannot.
inline bool setImmutable(const std::string& path, bool on) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

// Write-protects `path` (the immutable flag as root, read-only permissions otherwise) and
// lifts the protection when it goes, so the test's folder can be removed.
class WriteProtection {
  public:
    explicit WriteProtection(std::string path) : path(std::move(path)) {
        struct ::stat st {};
        ::stat(this->path.c_str(), &st);
        oldMode = st.st_mode & 07777;
        if (::geteuid() == 0)
            active = immutable = setImmutable(this->path, true);
        else
            active = ::chmod(this->path.c_str(), oldMode & ~0222u) == 0;
    }
    ~WriteProtection() {
        if (immutable)
            setImmutable(path, false);
        else if (active)
            ::chmod(path.c_str(), oldMode);
    }
    WriteProtection(const WriteProtection&) = delete;
    WriteProtection& operator=(const WriteProtection&) = delete;

    // False where nothing could protect the path (as root on a file system without the flag).
    bool holds() const { return active; }

  private:
    std::string path;
    mode_t oldMode = 0;
    bool active = false;
    bool immutable = false;
};

} // namespace vork::test
