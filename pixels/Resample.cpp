// SPDX-License-Identifier: GPL-3.0-or-later
#include "pixels/Resample.h"

#include <stb_image_resize.h>

#include <algorithm>
#include <vector>

namespace vork {

namespace {

// The source index under the centre of each of n new pixels spread over `sourceSize`.
std::vector<int> nearestIndices(int n, int sourceSize) {
    std::vector<int> index(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        index[size_t(i)] =
            std::min(sourceSize - 1, int((int64_t(2 * i + 1) * sourceSize) / (2 * int64_t(n))));
    return index;
}

Bitmap scaledNearest(const Bitmap& source, int width, int height) {
    Bitmap out(width, height);
    if (out.isNull())
        return {};
    const std::vector<int> columns = nearestIndices(width, source.width());
    const std::vector<int> rows = nearestIndices(height, source.height());
    for (int y = 0; y < height; ++y) {
        const uint32_t* in = source.row(rows[size_t(y)]);
        uint32_t* row = out.row(y);
        for (int x = 0; x < width; ++x)
            row[x] = in[columns[size_t(x)]];
    }
    return out;
}

// The resampler divides by the new alpha; where that rounds to 0 colour may remain, and such
// pixels become transparent black.
void clearInvisibleColour(Bitmap& image) {
    for (int y = 0; y < image.height(); ++y) {
        uint32_t* row = image.row(y);
        for (int x = 0; x < image.width(); ++x)
            if ((row[x] >> 24) == 0)
                row[x] = 0;
    }
}

Bitmap scaledFiltered(const Bitmap& source, int width, int height, stbir_filter filter) {
    Bitmap out(width, height);
    if (out.isNull())
        return {};
    // Bytes B, G, R, A: alpha is channel 3. Without the premultiplied flag the resampler
    // weights every colour by its alpha before filtering and divides afterwards.
    constexpr int channels = 4, alphaChannel = 3, flags = 0;
    const int done = stbir_resize_uint8_generic(
        source.bytes(), source.width(), source.height(), source.stride(), out.bytes(), width,
        height, out.stride(), channels, alphaChannel, flags, STBIR_EDGE_CLAMP, filter,
        STBIR_COLORSPACE_LINEAR, nullptr);
    if (!done)
        return {};
    clearInvisibleColour(out);
    return out;
}

} // namespace

Bitmap resampled(const Bitmap& source, int width, int height, Interpolation interpolation) {
    if (source.isNull() || width <= 0 || height <= 0)
        return {};
    switch (interpolation) {
    case Interpolation::NearestNeighbor:
        return scaledNearest(source, width, height);
    case Interpolation::Bilinear:
        return scaledFiltered(source, width, height, STBIR_FILTER_TRIANGLE);
    case Interpolation::Bicubic:
        return scaledFiltered(source, width, height, STBIR_FILTER_CATMULLROM);
    }
    return {};
}

} // namespace vork
