// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Batch.h"

#include "files/AnimationFile.h"
#include "files/DataFolder.h"
#include "files/GifExport.h"
#include "files/ImageExport.h"
#include "files/ImageImport.h"
#include "files/PaletteFiles.h"
#include "files/PictureFile.h"
#include "files/SpriteSheet.h"

#include <algorithm>
#include <cctype>

namespace vork {

namespace {

constexpr int failedStatus = 1, refusedStatus = 2;

enum class FileKind { Picture, Animation, Image };

std::string lowerExtension(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string ext = path.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return ext;
}

FileKind kindOf(const std::string& path) {
    const std::string ext = lowerExtension(path);
    if (ext == ".trnl")
        return FileKind::Picture;
    if (ext == ".gelm")
        return FileKind::Animation;
    return FileKind::Image;
}

// A document read or imported from a file, with the palette colours its file holds (none for
// an image), or the reason it could not be had.
struct Loaded {
    std::unique_ptr<Document> document;
    std::vector<PaletteEntry> palette;
    std::string reason;
};

Loaded load(const std::string& path, FileKind kind, const Progress& progress) {
    Loaded l;
    if (kind == FileKind::Image) {
        ImportedDocument imported = importGif(path, progress);
        l.document = std::move(imported.document);
        l.reason = imported.outcome.reason;
        return l;
    }
    DocumentReadResult read = kind == FileKind::Picture ? readPictureFile(path, progress)
                                                        : readAnimationFile(path, progress);
    l.document = std::move(read.document);
    l.palette = std::move(read.smallPalette);
    l.reason = read.reason;
    return l;
}

int failed(std::ostream& err, const std::string& file, const std::string& reason) {
    err << "vork: " << file << ": " << reason << "\n";
    return failedStatus;
}

int refused(std::ostream& err, const std::string& why) {
    err << "vork: " << why << "\n";
    return refusedStatus;
}

void printLayers(const Frame& frame, FileKind kind, std::ostream& out) {
    for (int k = 0; k < frame.layerCount(); ++k) {
        const Layer& layer = frame.layer(k);
        out << "  layer " << k + 1;
        if (kind == FileKind::Picture)
            out << " (id " << layer.id << ")";
        out << ": " << (layer.visible ? "visible" : "hidden") << ", opacity " << layer.opacity
            << "\n";
    }
}

// The small palette for a file that has none of its own: the default palette of the data
// folder where there is one, otherwise a blank palette with its three fixed colours.
std::vector<PaletteEntry> defaultSmallPalette() {
    Palettes palettes;
    palettes.fixSmallPaletteEntries();
    readSmallPalette(DataFolder{}.smallPalette(), palettes);
    return palettes.small;
}

// Keeps only the given frame (1-based) of the document, as a picture's one frame.
void keepOneFrame(Document& d, int number) {
    d.keepOnlyFrame(number - 1);
    d.renumberFrames();
}

int written(std::ostream& out, const std::string& file) {
    out << file << "\n";
    return 0;
}

int writeSaveResult(std::ostream& out, std::ostream& err, const std::string& file,
                    const SaveResult& saved) {
    return saved ? written(out, file) : failed(err, file, saved.reason);
}

int writeExport(std::ostream& out, std::ostream& err, const ExportResult& result) {
    for (const std::string& file : result.written)
        out << file << "\n";
    if (!result)
        return failed(err, result.outcome.file,
                      result.outcome.detail.empty()
                          ? result.outcome.reason
                          : result.outcome.reason + ": " + result.outcome.detail);
    return 0;
}

} // namespace

int printFileInfo(const std::string& file, std::ostream& out, std::ostream& err) {
    const FileKind kind = kindOf(file);
    const Loaded l = load(file, kind, {});
    if (!l.document)
        return failed(err, file, l.reason);
    const Document& d = *l.document;
    static constexpr const char* kindNames[] = {"picture", "animation", "image"};
    out << "file: " << file << "\n"
        << "kind: " << kindNames[int(kind)] << "\n"
        << "size: " << d.width << " x " << d.height << "\n";
    if (kind != FileKind::Image)
        out << "default delay: " << d.defaultDelay << " ms\n";
    out << "frames: " << d.frameCount() << "\n";
    for (int j = 0; j < d.frameCount(); ++j) {
        const Frame& f = d.frame(j);
        out << "frame " << j + 1 << ": delay " << f.delay << " ms, "
            << (f.enabled ? "enabled" : "disabled") << ", " << f.layerCount()
            << (f.layerCount() == 1 ? " layer" : " layers") << "\n";
        printLayers(f, kind, out);
    }
    return 0;
}

int convertFile(const std::string& input, const std::string& output, const ConvertOptions& options,
                std::ostream& out, std::ostream& err, const Progress& progress) {
    const std::optional<int> frame = options.frame;
    const FileKind from = kindOf(input);
    const std::string to = lowerExtension(output);
    if (to != ".trnl" && to != ".gelm" && to != ".png" && to != ".gif")
        return refused(err,
                       "\"" + output + "\": the output must end in .trnl, .gelm, .png or .gif");
    if (options.sheetColumns && (to != ".png" || frame))
        return refused(err, "--sheet makes one PNG sheet of all the enabled frames");
    if (to == ".gif" && frame)
        return refused(err, "--frame makes a picture or a PNG, not a GIF");
    if (frame && from != FileKind::Animation)
        return refused(err, "--frame picks a frame of a .gelm animation");
    if (from == FileKind::Animation && to == ".trnl" && !frame)
        return refused(err, "an animation becomes a picture one frame at a time: add --frame N");
    if (from == FileKind::Animation && to == ".gelm" && frame)
        return refused(err, "--frame makes a picture or a PNG, not an animation");

    Loaded l = load(input, from, progress);
    if (!l.document)
        return failed(err, input, l.reason);
    Document& d = *l.document;
    if (frame && (*frame < 1 || *frame > d.frameCount()))
        return failed(err, input,
                      "there is no frame " + std::to_string(*frame) + " (the animation has " +
                          std::to_string(d.frameCount()) + ")");
    if (frame)
        keepOneFrame(d, *frame);
    if (l.palette.empty())
        l.palette = defaultSmallPalette();

    if (to == ".gif")
        return writeExport(out, err, exportAnimationGif(d, output, SingleLayerView::Off, progress));
    if (options.sheetColumns)
        return writeExport(
            out, err,
            exportSpriteSheet(d, output, SingleLayerView::Off, *options.sheetColumns, progress));
    if (to == ".png") {
        // An animation without --frame gives its enabled frames as numbered files; anything
        // else one composite picture, layers as the editor shows them with single-layer view off.
        if (from == FileKind::Animation && !frame)
            return writeExport(out, err,
                               exportFramesPng(d, output, SingleLayerView::Off, progress));
        return writeExport(
            out, err,
            exportPicturePng(composeLayers(d.frame(0), d.width, d.height, SingleLayerView::Off, 0),
                             output));
    }
    if (to == ".trnl") {
        if (from == FileKind::Image && d.frameCount() > 1)
            keepOneFrame(d, 1); // a picture of the first image, as the editor opens it
        d.defaultDelay = 0;
        return writeSaveResult(out, err, output, writePictureFile(output, d, l.palette, progress));
    }
    // A picture becomes a one-frame animation whose frame lasts as long as a new animation's.
    if (from == FileKind::Picture) {
        d.defaultDelay = 100;
        d.frame(0).delay = 100;
    }
    return writeSaveResult(out, err, output, writeAnimationFile(output, d, l.palette, progress));
}

} // namespace vork
