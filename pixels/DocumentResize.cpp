// SPDX-License-Identifier: GPL-3.0-or-later
#include "pixels/DocumentResize.h"

#include "pixels/Resample.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

namespace vork {

namespace {

using LayerImageMaker = std::function<Bitmap(const Bitmap& old)>;

// The new image of every layer, in document order, or the reason there are none. Nothing of
// the document changes here.
EditResult makeLayerImages(const Document& document, const LayerImageMaker& make,
                           const Progress& progress, std::vector<Bitmap>& images) {
    const int total = int(layerCount(document));
    images.reserve(size_t(total));
    for (const Frame& frame : document.frames())
        for (const Layer& layer : frame.layers()) {
            Bitmap image = make(layer.image);
            if (image.isNull())
                return EditResult::TooLarge;
            images.push_back(std::move(image));
            if (!reportProgress(progress, int(images.size()), total))
                return EditResult::Cancelled;
        }
    return EditResult::Done;
}

void installLayerImages(Document& document, std::vector<Bitmap>& images, int width, int height) {
    size_t next = 0;
    for (Frame& frame : document.frames()) {
        for (Layer& layer : frame.layers())
            layer.image = std::move(images[next++]);
        frame.width = float(width);
        frame.height = float(height);
    }
    document.width = width;
    document.height = height;
}

EditResult resizeEveryLayer(Document& document, int width, int height, const LayerImageMaker& make,
                            const Progress& progress) {
    const EditResult allowed = checkDocumentSize(layerCount(document), width, height);
    if (allowed != EditResult::Done)
        return allowed;
    std::vector<Bitmap> images;
    const EditResult made = makeLayerImages(document, make, progress, images);
    if (made != EditResult::Done)
        return made;
    installLayerImages(document, images, width, height);
    return EditResult::Done;
}

// A transparent width x height image with `old` copied in at `offset`, clipped.
Bitmap placedOnCanvas(const Bitmap& old, int width, int height, Point offset) {
    Bitmap out(width, height);
    if (out.isNull())
        return {};
    const int x0 = std::max(0, offset.x), x1 = std::min(width, offset.x + old.width());
    if (x1 <= x0)
        return out;
    const int y0 = std::max(0, offset.y), y1 = std::min(height, offset.y + old.height());
    for (int y = y0; y < y1; ++y)
        std::memcpy(out.row(y) + x0, old.row(y - offset.y) + (x0 - offset.x), size_t(x1 - x0) * 4);
    return out;
}

} // namespace

EditResult rescaleDocument(Document& document, int width, int height, Interpolation interpolation,
                           const Progress& progress) {
    return resizeEveryLayer(
        document, width, height,
        [&](const Bitmap& old) { return resampled(old, width, height, interpolation); }, progress);
}

int centredOffset(int newSide, int oldSide) {
    return int(double(newSide / 2) - double(oldSide) / 2.0);
}

Point canvasOffset(Anchor anchor, int oldWidth, int oldHeight, int newWidth, int newHeight) {
    const int k = std::clamp(int(anchor), 1, 9) - 1;
    const int column = k / 3, row = k % 3;
    auto along = [](int place, int newSide, int oldSide) {
        if (place == 0)
            return 0;
        return place == 1 ? centredOffset(newSide, oldSide) : newSide - oldSide;
    };
    return {along(column, newWidth, oldWidth), along(row, newHeight, oldHeight)};
}

EditResult resizeCanvas(Document& document, int width, int height, Anchor anchor,
                        const Progress& progress) {
    const Point offset = canvasOffset(anchor, document.width, document.height, width, height);
    return resizeEveryLayer(
        document, width, height,
        [&](const Bitmap& old) { return placedOnCanvas(old, width, height, offset); }, progress);
}

} // namespace vork
