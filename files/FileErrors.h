// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Short Russian reasons for failed file operations, worded to follow a file name in a message
// ("Файл ... не сохранен: диск заполнен").
#include <string>

#include <sys/types.h>

namespace vork {

enum class FileAccess { Reading, Writing };

// The reason for a failed system call, from its errno value; `access` says which right a
// refusal of permission concerns.
std::string reasonForErrno(int error, FileAccess access);

// Why a path of this type (st_mode) is neither read nor written: only regular files are.
std::string reasonForFileType(mode_t mode);

} // namespace vork
