// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/AnimationFile.h"

#include "files/DocumentFileBlocks.h"
#include "files/FileBytes.h"
#include "model/Limits.h"

#include <new>

namespace vork {

namespace {

constexpr auto format = DocumentFileFormat::Animation;
constexpr double newAnimationDelay = 100; // the default delay of a new animation
constexpr size_t minFrameRecordBytes = 12 + minLayerBodyBytes; // three fields and one layer

struct AnimationFrame {
    int32_t delay = 0;
    bool enabled = true;
    std::vector<LayerRecord> layers;
};

struct AnimationLayout {
    HeaderBlock header;
    std::string refusal;
    std::vector<AnimationFrame> frames;
};

ReadFailure scanFrame(DocumentInput& in, int64_t pixelCount, PixelBudget& budget,
                      AnimationFrame& frame, std::string& refusal) {
    const auto delay = in.readInt32();
    const auto enabled = in.readInt32();
    const auto layerCount = in.readInt32();
    if (!delay || !enabled || !layerCount)
        return ReadFailure::Truncated;
    if (auto f = checkLayerCount(*layerCount, refusal); f != ReadFailure::None)
        return f;
    if (!budget.take(*layerCount - 1)) // the first layer was counted with the frames
        return ReadFailure::TooLarge;
    if (auto f = checkRecordCount(*layerCount, in.remainingSize(), minLayerBodyBytes);
        f != ReadFailure::None)
        return f;
    frame.delay = *delay;
    frame.enabled = *enabled != 0;
    frame.layers.resize(size_t(*layerCount));
    for (auto& layer : frame.layers)
        if (auto f = scanLayerRecord(in, pixelCount, layer); f != ReadFailure::None)
            return f;
    return ReadFailure::None;
}

ReadFailure scanAnimation(DocumentInput& in, AnimationLayout& layout, uint64_t maxPixelBytes) {
    if (auto f = readHeaderAndPalette(in, animationMagic, layout.header); f != ReadFailure::None)
        return f;
    const auto frameCount = in.readInt32();
    if (!frameCount)
        return ReadFailure::Truncated;
    if (auto f = checkFrameCount(*frameCount, layout.refusal); f != ReadFailure::None)
        return f;
    PixelBudget budget(layout.header.width, layout.header.height, maxPixelBytes);
    // Every frame has at least one layer.
    if (!budget.takeFrames(*frameCount) || !budget.take(*frameCount))
        return ReadFailure::TooLarge;
    if (auto f = checkRecordCount(*frameCount, in.remainingSize(), minFrameRecordBytes);
        f != ReadFailure::None)
        return f;
    layout.frames.resize(size_t(*frameCount));
    const int64_t pixelCount = int64_t(layout.header.width) * layout.header.height;
    for (auto& frame : layout.frames)
        if (auto f = scanFrame(in, pixelCount, budget, frame, layout.refusal);
            f != ReadFailure::None)
            return f;
    return in.atEnd() ? ReadFailure::None : ReadFailure::Damaged;
}

// Null when a layer's image could not be allocated or its runs not read again.
std::unique_ptr<Document> buildAnimation(const AnimationLayout& layout, LayerSteps& steps,
                                         DocumentInput& in) {
    auto animation =
        std::make_unique<Document>(layout.header.width, layout.header.height, newAnimationDelay);
    animation->defaultDelay = layout.header.defaultDelay;
    for (size_t j = 0; j < layout.frames.size(); ++j) {
        if (j > 0) // the new frame becomes current: the last one read stays so
            animation->insertFrameAfter(animation->currentFrameIndex());
        Frame& frame = animation->current();
        const AnimationFrame& record = layout.frames[j];
        frame.delay = record.delay;
        for (size_t k = 0; k < record.layers.size(); ++k) {
            if (k > 0)
                frame.appendLayer(); // issues ids 2..N and makes the last layer current
            if (!applyLayerRecord(record.layers[k], in, frame.current()) || !steps.step())
                return nullptr;
        }
        frame.enabled = record.enabled; // appendLayer switched the frame on
    }
    animation->renumberFrames();
    return animation;
}

} // namespace

std::vector<uint8_t> encodeAnimation(const Document& animation,
                                     const std::vector<PaletteEntry>& smallPalette,
                                     const Progress& progress) {
    return encodeDocument(
        animation, animationMagic, smallPalette, progress, 12, 8,
        [&](ByteWriter& out, LayerSteps& steps) {
            out.writeInt32(animation.frameCount());
            for (const Frame& frame : animation.frames()) {
                out.writeInt32(fileDelay(frame.delay));
                out.writeInt32(frame.enabled ? 1 : 0);
                out.writeInt32(frame.layerCount());
                for (const Layer& layer : frame.layers())
                    if (!writeLayerBody(out, layer, animation.width, animation.height) ||
                        !steps.step())
                        return false;
            }
            return true;
        });
}

DocumentReadResult decodeAnimation(std::span<const uint8_t> bytes, const Progress& progress) {
    return decodeAnimation(bytes, maxDecodedBytes, progress);
}

DocumentReadResult decodeAnimation(std::span<const uint8_t> bytes, uint64_t maxPixelBytes,
                                   const Progress& progress) {
    MemoryInput in(bytes);
    return decodeAnimation(in, maxPixelBytes, progress);
}

DocumentReadResult decodeAnimation(DocumentInput& in, uint64_t maxPixelBytes,
                                   const Progress& progress) {
    return decodeDocument<AnimationLayout>(in, maxPixelBytes, progress, format, scanAnimation,
                                           buildAnimation, [](const AnimationLayout& layout) {
                                               int64_t layers = 0;
                                               for (const auto& frame : layout.frames)
                                                   layers += int64_t(frame.layers.size());
                                               return layers;
                                           });
}

SaveResult writeAnimationFile(const std::string& path, const Document& animation,
                              const std::vector<PaletteEntry>& smallPalette,
                              const Progress& progress) {
    return writeDocumentFile(path, progress, [&](const Progress& steps) {
        return encodeAnimation(animation, smallPalette, steps);
    });
}

DocumentReadResult readAnimationFile(const std::string& path, const Progress& progress) {
    return readDocumentFile(path, format, [&](DocumentInput& in) {
        return decodeAnimation(in, maxDecodedBytes, progress);
    });
}

} // namespace vork
