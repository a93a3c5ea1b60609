// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/GifExport.h"

#include "files/ColourQuantiser.h"
#include "files/GifDelays.h"
#include "files/GifEncoder.h"
#include "files/GifFramePlan.h"
#include "files/GifPalette.h"
#include "files/SaveFile.h"

#include <functional>
#include <optional>

namespace vork {

std::string gifExportName(const std::string& chosenName) {
    return exportBaseName(chosenName) + ".gif";
}

namespace {

struct Steps {
    const Progress& progress;
    int total;
    int done = 0;
    bool cancelled = false;
    bool step() { return !(cancelled = !reportProgress(progress, ++done, total)); }
};

// The palette every frame can share, when all their colours fit in one together. The frames
// are looked at only until their colours no longer fit.
std::optional<GifPalette> sharedPalette(const GifFrameSource& frames, int frameCount,
                                        Steps& steps) {
    ColourCollector colours;
    frames([&](const Bitmap& composite) {
        colours.addAll(cutToGifPixels(composite));
        return steps.step() && colours.fits();
    });
    if (steps.cancelled || !colours.fits()) {
        steps.done = frameCount;
        return std::nullopt;
    }
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

GifEncoding encodeGifFrames(int width, int height, std::span<const double> delaysMs,
                            const GifFrameSource& frames, const Progress& progress) {
    if (delaysMs.empty())
        return failedEncoding(ImageFailure::NoEnabledFrames);
    const std::vector<int> delays = gifDelays(delaysMs);
    const int frameCount = int(delaysMs.size());

    Steps steps{progress, 2 * frameCount};
    const std::optional<GifPalette> shared = sharedPalette(frames, frameCount, steps);
    if (steps.cancelled)
        return failedEncoding(ImageFailure::Cancelled);

    GifEncoding report;
    report.globalPalette = shared.has_value();
    GifEncoder encoder(width, height,
                       shared ? std::span<const uint32_t>(shared->colours)
                              : std::span<const uint32_t>(),
                       shared ? shared->transparentIndex : 0);
    GifFramePlanner planner(width, height, FrameWriter(encoder, shared, delays, report));
    int handed = 0;
    const bool going = frames([&](const Bitmap& composite) {
        return ++handed <= frameCount && planner.add(cutToGifPixels(composite)) && steps.step();
    });
    if (steps.cancelled)
        return failedEncoding(ImageFailure::Cancelled);
    std::optional<std::vector<uint8_t>> bytes;
    if (going && handed == frameCount && planner.finish())
        bytes = encoder.finish();
    if (!bytes) {
        const std::string detail = report.detail.empty() ? encoder.error() : report.detail;
        return failedEncoding(ImageFailure::CannotWrite, "GIF: " + detail);
    }
    report.bytes = std::move(*bytes);
    return report;
}

GifEncoding encodeAnimationGif(const Document& animation, SingleLayerView view,
                               const Progress& progress, int scale) {
    return encodeExportedFrames<GifEncoding>(animation, view, progress, scale, encodeGifFrames);
}

ExportResult writeGifEncoding(const GifEncoding& encoded, const std::string& chosenName) {
    return writeEncodedExport(gifExportName(chosenName), encoded);
}

ExportResult exportAnimationGif(const Document& animation, const std::string& chosenName,
                                SingleLayerView view, const Progress& progress, int scale) {
    return writeGifEncoding(encodeAnimationGif(animation, view, progress, scale), chosenName);
}

} // namespace vork
