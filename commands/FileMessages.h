// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The message boxes that tell the user a file could not be read or written: each names the
// file and says what went wrong, in the program's language.
#include "ui/Editor.h"

#include <string>

namespace vork {

// "Не удалось открыть файл" with the file and the reason.
void reportOpenFailure(Editor& e, const std::string& file, const std::string& reason);
// "Не удалось сохранить файл" with the file and the reason.
void reportSaveFailure(Editor& e, const std::string& file, const std::string& reason);

// The message texts themselves, for the command line and for tests.
std::string openFailureText(const std::string& file, const std::string& reason);
std::string saveFailureText(const std::string& file, const std::string& reason);

inline constexpr const char* openFailureCaption = "Ошибка открытия";
inline constexpr const char* saveFailureCaption = "Ошибка сохранения";

} // namespace vork
