// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/FileSystemOps.h"

#include <cstdio>

#include <unistd.h>

namespace vork {

ssize_t FileSystemOps::write(int fd, const void* data, size_t size) {
    return ::write(fd, data, size);
}

int FileSystemOps::sync(int fd) {
    return ::fsync(fd);
}

int FileSystemOps::close(int fd) {
    return ::close(fd);
}

int FileSystemOps::rename(const char* from, const char* to) {
    return std::rename(from, to);
}

FileSystemOps& systemFileOps() {
    static FileSystemOps ops;
    return ops;
}

} // namespace vork
