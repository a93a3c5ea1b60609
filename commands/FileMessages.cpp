// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/FileMessages.h"

namespace vork {

namespace {
// The reason on a line of its own under the file, when there is one.
std::string withReason(std::string text, const std::string& reason) {
    if (!reason.empty())
        text += "\n" + reason;
    return text;
}
} // namespace

std::string openFailureText(const std::string& file, const std::string& reason) {
    return withReason("Не удалось открыть файл\n" + file, reason);
}

std::string saveFailureText(const std::string& file, const std::string& reason) {
    return withReason("Не удалось сохранить файл\n" + file, reason);
}

void reportOpenFailure(Editor& e, const std::string& file, const std::string& reason) {
    ModalScope modal(e);
    e.platform.messageBox(openFailureCaption, openFailureText(file, reason));
}

void reportSaveFailure(Editor& e, const std::string& file, const std::string& reason) {
    ModalScope modal(e);
    e.platform.messageBox(saveFailureCaption, saveFailureText(file, reason));
}

} // namespace vork
