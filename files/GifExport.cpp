// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/GifExport.h"

#include "files/ColourQuantiser.h"
#include "files/GifDelays.h"
#include "files/GifEncoder.h"
#include "files/GifFramePlan.h"
#include "files/GifPalette.h"
#include "files/SaveFile.h"

#include <optional>

namespace vork {

std::string gifExportName(const std::string& chosenName) {
    return exportBaseName(chosenName) + ".gif";
}

namespace {

GifFramePixels composeForGif(const Document& animation, const Frame& frame, SingleLayerView view) {
    return cutToGifPixels(
        composeLayers(frame, animation.width, animation.height, view, frame.currentLayerIndex()));
}

struct Steps {
    const Progress& progress;
    int total;
    int done = 0;
    bool cancelled = false;
    bool step() { return !(cancelled = !reportProgress(progress, ++done, total)); }
};

// The palette every frame can share, when all their colours fit in one together.
std::optional<GifPalette> sharedPalette(const Document& animation,
                                        const std::vector<const Frame*>& frames,
                                        SingleLayerView view, Steps& steps) {
    ColourCollector colours;
    for (const Frame* frame : frames) {
        if (colours.fits())
            colours.addAll(composeForGif(animation, *frame, view));
        if (!steps.step())
            return std::nullopt;
    }
    if (!colours.fits())
        return std::nullopt;
    return colours.palette();
}

// The stored pixels of the frame's rectangle, the others without colour.
std::vector<uint32_t> storedPixels(const PlannedGifFrame& frame) {
    const Rect r = frame.rect;
    std::vector<uint32_t> out;
    out.reserve(size_t(r.w) * size_t(r.h));
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x)
            out.push_back(frame.stored(x, y) ? frame.target->at(x, y) : gifTransparent);
    return out;
}

// Gives each planned frame its palette and indices and hands it to the encoder.
class FrameWriter {
  public:
    FrameWriter(GifEncoder& encoder, const std::optional<GifPalette>& shared,
                const std::vector<int>& delays, GifEncoding& report)
        : encoder(encoder), shared(shared), delays(delays), report(report) {}

    bool operator()(const PlannedGifFrame& frame) {
        GifFrameRecord record;
        record.rect = frame.rect;
        record.delay = delays[size_t(frame.index)];
        record.disposal = frame.disposal;
        GifPalette local;
        std::vector<uint8_t> indices;
        if (shared) {
            indices = indexExactly(frame, *shared);
            record.transparentIndex = shared->transparentIndex;
        } else {
            if (!indexLocally(frame, local, indices))
                return false;
            record.localPalette = local.colours;
            record.transparentIndex = local.transparentIndex;
        }
        record.indices = indices;
        ++report.framesWritten;
        return encoder.addFrame(record);
    }

  private:
    bool indexLocally(const PlannedGifFrame& frame, GifPalette& palette,
                      std::vector<uint8_t>& indices) {
        ColourCollector colours;
        colours.addStored(frame);
        if (colours.fits()) {
            palette = colours.palette();
            indices = indexExactly(frame, palette);
            return true;
        }
        std::optional<QuantisedImage> reduced = quantiseColours(
            storedPixels(frame), frame.rect.w, frame.rect.h, int(maxExactGifColours));
        if (!reduced) {
            report.detail = "не удалось сократить число цветов кадра";
            return false;
        }
        ++report.framesQuantised;
        palette.colours = std::move(reduced->palette);
        palette.transparentIndex = int(palette.colours.size());
        palette.colours.push_back(0);
        indices = std::move(reduced->indices);
        return true;
    }

    GifEncoder& encoder;
    const std::optional<GifPalette>& shared;
    const std::vector<int>& delays;
    GifEncoding& report;
};

GifEncoding failedEncoding(ImageFailure failure, std::string detail = {}) {
    GifEncoding out;
    out.failure = failure;
    out.detail = std::move(detail);
    return out;
}

} // namespace

GifEncoding encodeAnimationGif(const Document& animation, SingleLayerView view,
                               const Progress& progress) {
    const std::vector<const Frame*> frames = animation.enabledFrames();
    if (frames.empty())
        return failedEncoding(ImageFailure::NoEnabledFrames);
    std::vector<double> delaysMs;
    for (const Frame* frame : frames)
        delaysMs.push_back(frame->delay);
    const std::vector<int> delays = gifDelays(delaysMs);

    Steps steps{progress, 2 * int(frames.size())};
    const std::optional<GifPalette> shared = sharedPalette(animation, frames, view, steps);
    if (steps.cancelled)
        return failedEncoding(ImageFailure::Cancelled);

    GifEncoding report;
    report.globalPalette = shared.has_value();
    GifEncoder encoder(animation.width, animation.height,
                       shared ? std::span<const uint32_t>(shared->colours)
                              : std::span<const uint32_t>(),
                       shared ? shared->transparentIndex : 0);
    GifFramePlanner planner(animation.width, animation.height,
                            FrameWriter(encoder, shared, delays, report));
    bool going = true;
    for (const Frame* frame : frames) {
        going = planner.add(composeForGif(animation, *frame, view)) && steps.step();
        if (!going)
            break;
    }
    if (steps.cancelled)
        return failedEncoding(ImageFailure::Cancelled);
    std::optional<std::vector<uint8_t>> bytes;
    if (going && planner.finish())
        bytes = encoder.finish();
    if (!bytes) {
        const std::string detail = report.detail.empty() ? encoder.error() : report.detail;
        return failedEncoding(ImageFailure::CannotWrite, "GIF: " + detail);
    }
    report.bytes = std::move(*bytes);
    return report;
}

ExportResult exportAnimationGif(const Document& animation, const std::string& chosenName,
                                SingleLayerView view, const Progress& progress) {
    const std::string file = gifExportName(chosenName);
    const GifEncoding encoded = encodeAnimationGif(animation, view, progress);
    if (!encoded)
        return {FileOutcome::failed(encoded.failure, file, encoded.detail), {}};
    removeAbandonedTemporaries(file);
    const SaveResult saved = saveFileAtomically(file, encoded.bytes);
    if (!saved)
        return {FileOutcome::failed(ImageFailure::CannotWrite, file, saved.reason), {}};
    return {FileOutcome::success(file), {file}};
}

} // namespace vork
