// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/FileErrors.h"

#include <cerrno>

#include <sys/stat.h>

namespace vork {

std::string reasonForErrno(int error, FileAccess access) {
    switch (error) {
    case ENOSPC:
        return "диск заполнен";
    case EDQUOT:
        return "превышена дисковая квота";
    case EACCES:
    case EPERM:
        return access == FileAccess::Reading ? "нет прав на чтение" : "нет прав на запись";
    case EROFS:
        return "диск доступен только для чтения";
    case ENOENT:
    case ENOTDIR:
        return "папка или файл не найдены";
    case EISDIR:
        return "это папка";
    case ENAMETOOLONG:
        return "слишком длинное имя файла";
    case ELOOP:
        return "слишком много символических ссылок";
    case EIO:
        return "ошибка ввода-вывода";
    case EMFILE:
    case ENFILE:
        return "открыто слишком много файлов";
    case EFBIG:
        return "файл слишком большой";
    default:
        return "системная ошибка " + std::to_string(error);
    }
}

std::string reasonForFileType(mode_t mode) {
    if (S_ISDIR(mode))
        return "это папка";
    return "это не обычный файл";
}

} // namespace vork
