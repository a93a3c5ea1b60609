// SPDX-License-Identifier: GPL-3.0-or-later
#include "pixels/MergeAnimation.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace vork {

namespace {

// Copies `source` into `target` with its top-left pixel at `offset`, clipped to the target.
void copyPlaced(const Bitmap& source, Bitmap& target, Point offset) {
    const int x0 = std::max(0, offset.x), x1 = std::min(target.width(), offset.x + source.width());
    const int y0 = std::max(0, offset.y),
              y1 = std::min(target.height(), offset.y + source.height());
    if (x1 <= x0)
        return;
    for (int y = y0; y < y1; ++y)
        std::memcpy(target.row(y) + x0, source.row(y - offset.y) + (x0 - offset.x),
                    size_t(x1 - x0) * 4);
}

// A frame of the animation's size holding a copy of `source`; null when a layer image could
// not be allocated.
std::unique_ptr<Frame> mergedFrame(const Document& animation, const Frame& source, Point offset) {
    auto frame = std::make_unique<Frame>(float(animation.width), float(animation.height),
                                         animation.defaultDelay);
    frame->delay = source.delay;
    for (int i = 0; i < source.layerCount(); ++i) {
        if (i > 0)
            frame->appendLayer();
        Layer& layer = frame->current();
        if (layer.image.isNull())
            return nullptr;
        const Layer& from = source.layer(i);
        layer.visible = from.visible;
        layer.opacity = from.opacity;
        copyPlaced(from.image, layer.image, offset);
        layer.rebuildThumbnail();
    }
    frame->enabled = source.enabled; // after appendLayer, which switches the frame on
    frame->rebuildThumbnail();
    return frame;
}

} // namespace

int mergePosition(MergePlace place, int frameNumber, int frameCount) {
    switch (place) {
    case MergePlace::AtBeginning:
        return 0;
    case MergePlace::AtEnd:
        return frameCount;
    case MergePlace::AfterFrame:
        return std::clamp(frameNumber, 0, frameCount);
    }
    return frameCount;
}

Point mergeOffset(int width, int height, int mergedWidth, int mergedHeight) {
    return {int(double(width) / 2.0 - double(mergedWidth / 2)),
            int(double(height) / 2.0 - double(mergedHeight / 2))};
}

EditResult mergeAnimation(Document& animation, const Document& merged, int position) {
    const EditResult allowed = checkDocumentSize(layerCount(animation) + layerCount(merged),
                                                 animation.width, animation.height);
    if (allowed != EditResult::Done)
        return allowed;
    const Point offset =
        mergeOffset(animation.width, animation.height, merged.width, merged.height);
    std::vector<std::unique_ptr<Frame>> frames;
    frames.reserve(size_t(merged.frameCount()));
    for (const Frame& source : merged.frames()) {
        auto frame = mergedFrame(animation, source, offset);
        if (!frame)
            return EditResult::TooLarge;
        frames.push_back(std::move(frame));
    }
    animation.insertFrames(position, std::move(frames));
    animation.renumberFrames();
    return EditResult::Done;
}

} // namespace vork
