// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ImageExport.h"

#include "files/SaveFile.h"
#include "files/SaveQueue.h"
#include "gfx/ImageCodec.h"
#include "model/Limits.h"
#include "pixels/ExportScale.h"

#include <cstdio>
#include <optional>

namespace vork {

std::string exportBaseName(const std::string& chosenName) {
    const size_t nameStart = chosenName.find_last_of('/') + 1; // npos + 1 is 0
    const size_t dot = chosenName.rfind('.');
    if (dot == std::string::npos || dot < nameStart)
        return chosenName;
    return chosenName.substr(0, dot);
}

std::string pictureExportName(const std::string& chosenName) {
    return exportBaseName(chosenName) + ".png";
}

std::string frameExportName(const std::string& baseName, int number) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%03d", number);
    return baseName + digits + ".png";
}

namespace {

enum class Saving { OneFile, InSeries };

SaveResult savePng(const Bitmap& image, const std::string& file, Saving saving = Saving::OneFile) {
    const std::optional<std::vector<uint8_t>> bytes = encodePng(image);
    if (!bytes)
        return {false, "PNG encoding failed"};
    return saving == Saving::InSeries ? saveFileInSeries(file, *bytes)
                                      : saveFileAtomically(file, *bytes);
}

} // namespace

std::string scaledTooLargeText(int64_t width, int64_t height, int scale) {
    return "изображение " + scaledSizeText(width, height, scale) +
           " пикселей, наибольшая сторона " + std::to_string(maxDocumentSide);
}

Bitmap exportedFrame(const Document& animation, const Frame& frame, SingleLayerView view,
                     int scale) {
    return enlarged(
        composeLayers(frame, animation.width, animation.height, view, frame.currentLayerIndex()),
        scale);
}

ExportedFrames exportedFrames(const Document& animation, SingleLayerView view, int scale) {
    ExportedFrames out;
    out.width = animation.width * scale;
    out.height = animation.height * scale;
    std::vector<const Frame*> frames = animation.enabledFrames();
    for (const Frame* frame : frames)
        out.delaysMs.push_back(frame->delay);
    out.frames = [&animation, frames = std::move(frames), view,
                  scale](const std::function<bool(const Bitmap&)>& take) {
        for (const Frame* frame : frames)
            if (!take(exportedFrame(animation, *frame, view, scale)))
                return false;
        return true;
    };
    return out;
}

ExportResult writeEncodedExport(const std::string& file, const EncodedFile& encoded) {
    if (!encoded)
        return {FileOutcome::failed(encoded.failure, file, encoded.detail), {}};
    removeAbandonedTemporaries(file);
    const SaveResult saved = saveFileAtomically(file, encoded.bytes);
    if (!saved)
        return {FileOutcome::failed(ImageFailure::CannotWrite, file, saved.reason), {}};
    return {FileOutcome::success(file), {file}};
}

ExportResult exportPicturePng(const Bitmap& composite, const std::string& chosenName, int scale) {
    const std::string file = pictureExportName(chosenName);
    if (!scaledSizeFits(composite.width(), composite.height(), scale))
        return {
            FileOutcome::failed(ImageFailure::TooLarge, file,
                                scaledTooLargeText(composite.width(), composite.height(), scale)),
            {}};
    if (!canEncodePng())
        return {FileOutcome::failed(ImageFailure::NoPngWriter, file), {}};
    const Bitmap image = enlarged(composite, scale);
    if (image.isNull())
        return {
            FileOutcome::failed(ImageFailure::TooLarge, file,
                                scaledTooLargeText(composite.width(), composite.height(), scale)),
            {}};
    const SaveResult saved = savePng(image, file);
    if (!saved)
        return {FileOutcome::failed(ImageFailure::CannotWrite, file, saved.reason), {}};
    return {FileOutcome::success(file), {file}};
}

ExportResult exportFramesPng(const Document& animation, const std::string& chosenName,
                             SingleLayerView view, const Progress& progress, int scale) {
    const std::string base = exportBaseName(chosenName);
    ExportResult result;
    if (!scaledSizeFits(animation.width, animation.height, scale)) {
        result.outcome =
            FileOutcome::failed(ImageFailure::TooLarge, frameExportName(base, 1),
                                scaledTooLargeText(animation.width, animation.height, scale));
        return result;
    }
    if (!canEncodePng()) {
        result.outcome = FileOutcome::failed(ImageFailure::NoPngWriter, frameExportName(base, 1));
        return result;
    }
    const std::vector<const Frame*> frames = animation.enabledFrames();
    const int total = int(frames.size());
    if (total == 0) {
        result.outcome = FileOutcome::failed(ImageFailure::NoEnabledFrames, chosenName);
        return result;
    }
    const int64_t frameBytes = int64_t(animation.width) * animation.height * 4 * scale * scale;
    SaveQueue queue(progress, total, SaveQueue::underWayFor(frameBytes));
    int number = 0;
    for (const Frame* source : frames) {
        std::string file = frameExportName(base, ++number);
        // Runs on a worker thread: it only reads the frame, which nothing changes meanwhile.
        auto write = [&animation, source, view, file, scale] {
            const Bitmap image = exportedFrame(animation, *source, view, scale);
            if (image.isNull())
                return SaveResult{false, "не хватает памяти"};
            return savePng(image, file, Saving::InSeries);
        };
        if (!queue.add(std::move(file), write))
            break;
    }
    ExportResult exported = queue.finish();
    // Every file was synced before its rename; one sync of the folder makes all the renames
    // durable.
    if (!exported.written.empty())
        syncFolderOf(exported.written.front());
    return exported;
}

} // namespace vork
