#include "files/ImageExport.h"

#include "files/SaveFile.h"

#include <QBuffer>
#include <QImageWriter>
#include <cstdio>

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

bool canWritePng() {
    return QImageWriter::supportedImageFormats().contains("png");
}

std::optional<std::vector<uint8_t>> encodePng(const Bitmap& image) {
    if (image.isNull())
        return std::nullopt;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image.qimage()))
        return std::nullopt;
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

namespace {

// Encodes and writes one image; the failure names the file.
FileOutcome writePng(const Bitmap& image, const std::string& file) {
    const std::optional<std::vector<uint8_t>> bytes = encodePng(image);
    if (!bytes)
        return FileOutcome::failed(ImageFailure::CannotWrite, file);
    const SaveResult saved = saveFileAtomically(file, *bytes);
    if (!saved)
        return FileOutcome::failed(ImageFailure::CannotWrite, file, saved.reason);
    return FileOutcome::success(file);
}

int enabledFrames(const Document& animation) {
    int n = 0;
    for (const auto& frame : animation.frames)
        n += frame->enabled;
    return n;
}

} // namespace

ExportResult exportPicturePng(const Bitmap& composite, const std::string& chosenName) {
    const std::string file = pictureExportName(chosenName);
    if (!canWritePng())
        return {FileOutcome::failed(ImageFailure::NoPngWriter, file), {}};
    ExportResult result{writePng(composite, file), {}};
    if (result.outcome.ok())
        result.written.push_back(file);
    return result;
}

ExportResult exportFramesPng(const Document& animation, const std::string& chosenName,
                             SingleLayerView view, const Progress& progress) {
    const std::string base = exportBaseName(chosenName);
    ExportResult result;
    if (!canWritePng()) {
        result.outcome = FileOutcome::failed(ImageFailure::NoPngWriter, frameExportName(base, 1));
        return result;
    }
    const int total = enabledFrames(animation);
    if (total == 0) {
        result.outcome = FileOutcome::failed(ImageFailure::NoEnabledFrames, chosenName);
        return result;
    }
    for (const auto& frame : animation.frames) {
        if (!frame->enabled)
            continue;
        const std::string file = frameExportName(base, int(result.written.size()) + 1);
        const Bitmap image =
            composeLayers(*frame, animation.width, animation.height, view, frame->currentLayer);
        result.outcome = writePng(image, file);
        if (!result.outcome.ok())
            return result;
        result.written.push_back(file);
        if (!reportProgress(progress, int(result.written.size()), total) &&
            int(result.written.size()) < total) {
            result.outcome = FileOutcome::failed(ImageFailure::Cancelled, file);
            return result;
        }
    }
    return result;
}

} // namespace vork
