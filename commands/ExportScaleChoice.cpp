// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/ExportScaleChoice.h"

#include <algorithm>

namespace vork {

std::optional<ExportScaling> askExportScale(Editor& e, int width, int height, bool sheet) {
    ViewSettings& remembered = e.view;
    const ExportScaleAnswer a = e.platform.exportScaleDialog(
        width, height, remembered.exportScale,
        sheet ? std::optional<int>(remembered.sheetPadding) : std::nullopt);
    if (!a.accepted)
        return std::nullopt;
    ExportScaling chosen{std::clamp(a.scale, minExportScale, maxExportScale),
                         sheet ? std::clamp(a.padding, 0, maxSheetPadding) : 0};
    remembered.exportScale = chosen.scale;
    if (sheet)
        remembered.sheetPadding = chosen.padding;
    return chosen;
}

} // namespace vork
