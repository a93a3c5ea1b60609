// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/DocumentRead.h"

#include "model/Limits.h"

namespace vork {

std::string readFailureText(ReadFailure failure, DocumentFileFormat format) {
    switch (failure) {
    case ReadFailure::None:
        return {};
    case ReadFailure::WrongFormat:
        return format == DocumentFileFormat::Picture ? "Это не файл формата tarnel."
                                                     : "Это не файл формата gelum.";
    case ReadFailure::Truncated:
        return "Файл обрезан: данные кончаются раньше, чем должны.";
    case ReadFailure::Damaged:
        return "Файл повреждён: в нём неверные данные.";
    case ReadFailure::TooLarge:
        return "Документ в файле слишком велик: сторона больше 5000 точек или не хватит памяти.";
    case ReadFailure::Unreadable:
        return "Файл не удаётся прочитать.";
    case ReadFailure::Cancelled:
        return "Чтение прервано.";
    }
    return "Файл не удаётся прочитать.";
}

std::string tooManyFramesText(int64_t frames) {
    return "Слишком много кадров: " + std::to_string(frames) + ", наибольшее число — " +
           std::to_string(maxFrames) + ".";
}

std::string tooManyLayersText(int64_t layers) {
    return "Слишком много слоёв в кадре: " + std::to_string(layers) + ", наибольшее число — " +
           std::to_string(maxLayersPerFrame) + ".";
}

DocumentReadResult DocumentReadResult::failed(ReadFailure failure, DocumentFileFormat format,
                                              const std::string& why) {
    DocumentReadResult result;
    result.failure = failure;
    result.reason = readFailureText(failure, format);
    if (failure == ReadFailure::Unreadable && !why.empty()) // "... прочитать." + ": why."
        result.reason = result.reason.substr(0, result.reason.size() - 1) + ": " + why + ".";
    return result;
}

void rebuildThumbnailsAfterRead(Document& document, DocumentFileFormat format) {
    for (Frame& frame : document.frames())
        for (Layer& layer : frame.layers())
            layer.rebuildThumbnail(30, 30);
    // Only the animation shows frame thumbnails (the frame strip).
    if (format == DocumentFileFormat::Animation)
        for (Frame& frame : document.frames())
            frame.rebuildThumbnail(55, 50);
}

} // namespace vork
