// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ImageFailure.h"

namespace vork {

std::string reasonText(ImageFailure failure) {
    switch (failure) {
    case ImageFailure::None:
        return {};
    case ImageFailure::CannotRead:
        return "не удалось прочитать изображение";
    case ImageFailure::TooLarge:
        return "изображение слишком большое";
    case ImageFailure::Cancelled:
        return "операция отменена";
    case ImageFailure::NoPngWriter:
        return "нет модуля записи PNG";
    case ImageFailure::CannotWrite:
        return "не удалось записать файл";
    case ImageFailure::NoEnabledFrames:
        return "в анимации нет включённых кадров";
    }
    return {};
}

} // namespace vork
