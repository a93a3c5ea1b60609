// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the restore question asked at start, in UTF-8, shared by the Qt dialog and the
// tests.
#include "ui/Platform.h"

#include <string>

namespace vork {

inline constexpr const char* restoreTitle = "Восстановление документов";
inline constexpr const char* restoreQuestionText =
    "Эти документы не были сохранены, когда программа закрылась в прошлый раз. Восстановить их?";
inline constexpr const char* restoreYes = "Да";
inline constexpr const char* restoreNo = "Нет";

// One line of the list: "Рисунок 2048 x 2048: кадров 1, слоёв 8; сохранён 08.12.2026 в 15:12",
// the time in the local time zone.
std::string describeRecoveredDocument(const RecoveredDocument& document);

// Where the copies stay when the user declines.
std::string restoreDeclineNote(const std::string& folder);

} // namespace vork
