// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ImageExport.h"

#include "files/SaveFile.h"
#include "files/SaveQueue.h"
#include "gfx/ImageCodec.h"

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

ExportResult exportPicturePng(const Bitmap& composite, const std::string& chosenName) {
    const std::string file = pictureExportName(chosenName);
    if (!canEncodePng())
        return {FileOutcome::failed(ImageFailure::NoPngWriter, file), {}};
    const SaveResult saved = savePng(composite, file);
    if (!saved)
        return {FileOutcome::failed(ImageFailure::CannotWrite, file, saved.reason), {}};
    return {FileOutcome::success(file), {file}};
}

ExportResult exportFramesPng(const Document& animation, const std::string& chosenName,
                             SingleLayerView view, const Progress& progress) {
    const std::string base = exportBaseName(chosenName);
    ExportResult result;
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
    const int64_t frameBytes = int64_t(animation.width) * animation.height * 4;
    SaveQueue queue(progress, total, SaveQueue::underWayFor(frameBytes));
    int number = 0;
    for (const Frame* source : frames) {
        std::string file = frameExportName(base, ++number);
        // Runs on a worker thread: it only reads the frame, which nothing changes meanwhile.
        auto write = [&animation, source, view, file] {
            const Bitmap image = composeLayers(*source, animation.width, animation.height, view,
                                               source->currentLayerIndex());
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
