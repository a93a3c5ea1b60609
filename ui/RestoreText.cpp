// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/RestoreText.h"

#include <cstdio>

namespace vork {

std::string describeRecoveredDocument(const RecoveredDocument& d) {
    std::tm local{};
    ::localtime_r(&d.keptAt, &local);
    const bool picture = d.mode == Mode::Painter;
    char line[192];
    std::snprintf(line, sizeof line,
                  "%s %d x %d: кадров %d, слоёв %d; %s %02d.%02d.%04d в %02d:%02d",
                  picture ? "Рисунок" : "Анимация", d.width, d.height, d.frames, d.layers,
                  picture ? "сохранён" : "сохранена", local.tm_mday, local.tm_mon + 1,
                  local.tm_year + 1900, local.tm_hour, local.tm_min);
    return line;
}

std::string restoreDeclineNote(const std::string& folder) {
    return "Если ответить «Нет», копии будут отложены в папке " + folder + ".";
}

} // namespace vork
