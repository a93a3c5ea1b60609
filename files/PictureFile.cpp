// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/PictureFile.h"

#include "files/DocumentFileBlocks.h"
#include "files/FileBytes.h"
#include "model/Limits.h"

#include <algorithm>
#include <new>

namespace vork {

namespace {

constexpr auto format = DocumentFileFormat::Picture;
constexpr size_t minLayerRecordBytes = 4 + minLayerBodyBytes; // id and the body

struct PictureLayer {
    int32_t id = 0;
    LayerRecord body;
};

struct PictureLayout {
    HeaderBlock header;
    std::string refusal;
    int32_t layerCounter = 0;
    std::vector<PictureLayer> layers;
};

ReadFailure scanLayers(DocumentInput& in, PictureLayout& layout, uint64_t maxPixelBytes) {
    const auto frameCount = in.readInt32(); // always 1; one frame record is read whatever it says
    const auto layerCounter = in.readInt32();
    const auto layerCount = in.readInt32();
    if (!frameCount || !layerCounter || !layerCount)
        return ReadFailure::Truncated;
    if (auto f = checkLayerCount(*layerCount, layout.refusal); f != ReadFailure::None)
        return f;
    PixelBudget budget(layout.header.width, layout.header.height, maxPixelBytes);
    if (!budget.takeFrames(1) || !budget.take(*layerCount))
        return ReadFailure::TooLarge;
    if (auto f = checkRecordCount(*layerCount, in.remainingSize(), minLayerRecordBytes);
        f != ReadFailure::None)
        return f;
    layout.layerCounter = *layerCounter;
    layout.layers.resize(size_t(*layerCount));
    const int64_t pixelCount = int64_t(layout.header.width) * layout.header.height;
    for (auto& layer : layout.layers) {
        const auto id = in.readInt32();
        if (!id)
            return ReadFailure::Truncated;
        layer.id = *id;
        if (auto f = scanLayerRecord(in, pixelCount, layer.body); f != ReadFailure::None)
            return f;
    }
    return in.atEnd() ? ReadFailure::None : ReadFailure::Damaged;
}

ReadFailure scanPicture(DocumentInput& in, PictureLayout& layout, uint64_t maxPixelBytes) {
    if (auto f = readHeaderAndPalette(in, pictureMagic, layout.header); f != ReadFailure::None)
        return f;
    return scanLayers(in, layout, maxPixelBytes);
}

// Null when a layer's image could not be allocated or its runs not read again.
std::unique_ptr<Document> buildPicture(const PictureLayout& layout, LayerSteps& steps,
                                       DocumentInput& in) {
    auto picture = std::make_unique<Document>(layout.header.width, layout.header.height, 0.0);
    picture->defaultDelay = layout.header.defaultDelay;
    Frame& frame = picture->current();
    int32_t largestId = layout.layerCounter;
    for (size_t k = 0; k < layout.layers.size(); ++k) {
        if (k > 0)
            frame.appendLayer(); // the new layer becomes current: the last one read stays so
        Layer& layer = frame.current();
        layer.id = layout.layers[k].id;
        // The counter is raised to the largest id read, so a layer added later never
        // repeats an id that a file from elsewhere already uses.
        largestId = std::max(largestId, layer.id);
        if (!applyLayerRecord(layout.layers[k].body, in, layer) || !steps.step())
            return nullptr;
    }
    frame.layerCounter = largestId;
    picture->renumberFrames();
    return picture;
}

} // namespace

std::vector<uint8_t> encodePicture(const Document& picture,
                                   const std::vector<PaletteEntry>& smallPalette,
                                   const Progress& progress) {
    return encodeDocument(picture, pictureMagic, smallPalette, progress, 12, 12,
                          [&](ByteWriter& out, LayerSteps& steps) {
                              const Frame& frame = picture.current();
                              out.writeInt32(1);
                              out.writeInt32(frame.layerCounter);
                              out.writeInt32(frame.layerCount());
                              for (const Layer& layer : frame.layers()) {
                                  out.writeInt32(layer.id);
                                  if (!writeLayerBody(out, layer, picture.width, picture.height) ||
                                      !steps.step())
                                      return false;
                              }
                              return true;
                          });
}

DocumentReadResult decodePicture(std::span<const uint8_t> bytes, const Progress& progress) {
    return decodePicture(bytes, maxDecodedBytes, progress);
}

DocumentReadResult decodePicture(std::span<const uint8_t> bytes, uint64_t maxPixelBytes,
                                 const Progress& progress) {
    MemoryInput in(bytes);
    return decodePicture(in, maxPixelBytes, progress);
}

DocumentReadResult decodePicture(DocumentInput& in, uint64_t maxPixelBytes,
                                 const Progress& progress) {
    return decodeDocument<PictureLayout>(
        in, maxPixelBytes, progress, format, scanPicture, buildPicture,
        [](const PictureLayout& layout) { return int64_t(layout.layers.size()); });
}

SaveResult writePictureFile(const std::string& path, const Document& picture,
                            const std::vector<PaletteEntry>& smallPalette,
                            const Progress& progress) {
    return writeDocumentFile(path, progress, [&](const Progress& steps) {
        return encodePicture(picture, smallPalette, steps);
    });
}

DocumentReadResult readPictureFile(const std::string& path, const Progress& progress) {
    return readDocumentFile(path, format, [&](DocumentInput& in) {
        return decodePicture(in, maxDecodedBytes, progress);
    });
}

} // namespace vork
