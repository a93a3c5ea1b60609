// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/SharedCopy.h"

namespace vork {

namespace {

// Records are made with a size of 0 x 0, so no pixels are allocated only to be replaced.
std::unique_ptr<Layer> layerCopy(const Layer& source) {
    auto layer = std::make_unique<Layer>(source.id, 0.0f, 0.0f);
    layer->image = source.image;
    layer->visible = source.visible;
    layer->opacity = source.opacity;
    return layer;
}

std::unique_ptr<Frame> frameCopy(const Frame& source) {
    auto frame = std::make_unique<Frame>(0.0f, 0.0f, source.delay);
    frame->width = source.width;
    frame->height = source.height;
    frame->number = source.number;
    frame->layerCounter = source.layerCounter;
    frame->enabled = source.enabled;
    std::vector<std::unique_ptr<Layer>> layers;
    layers.reserve(size_t(source.layerCount()));
    for (const Layer& layer : source.layers())
        layers.push_back(layerCopy(layer));
    frame->replaceLayers(std::move(layers), source.currentLayerIndex());
    return frame;
}

} // namespace

std::unique_ptr<Document> sharedPixelCopy(const Document& document) {
    auto copy = std::make_unique<Document>(0, 0, document.defaultDelay);
    copy->width = document.width;
    copy->height = document.height;
    std::vector<std::unique_ptr<Frame>> frames;
    frames.reserve(size_t(document.frameCount()));
    for (const Frame& frame : document.frames())
        frames.push_back(frameCopy(frame));
    copy->replaceFrames(std::move(frames), document.currentFrameIndex());
    return copy;
}

} // namespace vork
