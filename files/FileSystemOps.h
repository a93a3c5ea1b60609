// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The few system calls through which a save reaches the disk. Saving goes through an object of
// this type so that a test can make any one of them fail the way a full or broken disk does;
// the program itself always uses systemFileOps(). Each call follows the POSIX convention: -1
// with errno set on failure.
#include <cstddef>

#include <sys/types.h>

namespace vork {

class FileSystemOps {
  public:
    virtual ~FileSystemOps() = default;
    // May write fewer bytes than asked, like write(2).
    virtual ssize_t write(int fd, const void* data, size_t size);
    virtual int sync(int fd);
    virtual int close(int fd);
    virtual int rename(const char* from, const char* to);
};

FileSystemOps& systemFileOps();

} // namespace vork
