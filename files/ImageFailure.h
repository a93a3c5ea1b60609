// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How an image import or export ended, with the short Russian text a message box shows under
// the name of the file.
#include <string>

namespace vork {

enum class ImageFailure {
    None,
    CannotRead, // "не удалось прочитать изображение": no decoder took it, or it is damaged
    TooLarge, // "изображение слишком большое": a side past the limit, or past the budget
    Cancelled,       // "операция отменена"
    NoPngWriter,     // "нет модуля записи PNG": the image library cannot write PNG
    CannotWrite,     // "не удалось записать файл"
    NoEnabledFrames, // "в анимации нет включённых кадров": a frames export with nothing to write
};

// The text of a failure; empty for None.
std::string reasonText(ImageFailure failure);

struct FileOutcome {
    ImageFailure failure = ImageFailure::None;
    std::string file;   // the file it concerns; for a failed series, the file that failed
    std::string reason; // reasonText(failure)
    std::string detail; // what the system said of a failed write, when it said anything

    bool ok() const { return failure == ImageFailure::None; }
    // What a message shows: the failure's text, then what was found, when anything was.
    std::string shown() const { return detail.empty() ? reason : reason + ": " + detail; }
    static FileOutcome success(const std::string& file) {
        return {ImageFailure::None, file, {}, {}};
    }
    static FileOutcome failed(ImageFailure failure, const std::string& file,
                              const std::string& detail = {}) {
        return {failure, file, reasonText(failure), detail};
    }
};

} // namespace vork
