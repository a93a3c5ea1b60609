// SPDX-License-Identifier: GPL-3.0-or-later
#include "pixels/ExportScale.h"

#include "pixels/SizeLimits.h"

#include <algorithm>
#include <cstring>

namespace vork {

bool scaledSizeFits(int64_t width, int64_t height, int scale) {
    return validExportScale(scale) && sizeInRange(width * scale, height * scale);
}

std::string scaledSizeText(int64_t width, int64_t height, int scale) {
    return std::to_string(width * scale) + " x " + std::to_string(height * scale);
}

Bitmap enlarged(const Bitmap& image, int scale) {
    if (scale == 1 || image.isNull())
        return image;
    if (!validExportScale(scale))
        return {};
    Bitmap out(image.width() * scale, image.height() * scale, image.format());
    if (out.isNull())
        return out;
    const size_t rowBytes = size_t(out.stride());
    for (int y = 0; y < image.height(); ++y) {
        const uint32_t* from = image.row(y);
        uint32_t* first = out.row(y * scale);
        for (int x = 0; x < image.width(); ++x)
            std::fill_n(first + size_t(x) * size_t(scale), scale, from[x]);
        for (int k = 1; k < scale; ++k)
            std::memcpy(out.row(y * scale + k), first, rowBytes);
    }
    return out;
}

} // namespace vork
