// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The blocks the picture and animation files share: the header (four magic letters, the
// default delay, width, height), the palette block (111 entries as A, R, G, B) and the body of
// a layer record (visible, opacity, pixel runs). All integers are 32-bit little-endian.
//
// Reading is split in two passes: a scan that checks every count, size and run against what is
// left of the file and against the limits, without allocating pixels, and a build that makes
// the document from what the scan accepted.
#include "files/ByteStream.h"
#include "files/DocumentRead.h"
#include "files/FileBytes.h"
#include "files/SaveFile.h"
#include "model/Document.h"
#include "model/Limits.h"
#include "model/Palette.h"
#include "pixels/Progress.h"

#include <algorithm>
#include <cstdint>

#include <new>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vork {

inline constexpr size_t headerBytes = 16;
inline constexpr size_t paletteBlockBytes = 4 * size_t(smallPaletteSize);
inline constexpr std::string_view pictureMagic = "trnl";
inline constexpr std::string_view animationMagic = "gelm";

// The reason a save gives when the document could not be turned into bytes.
inline constexpr const char* documentNotEncodedText =
    "Документ не удалось подготовить к записи: не хватает памяти или он повреждён.";

// A delay in milliseconds as the files store it: truncated toward zero, saturated to the
// 32-bit range, NaN as 0.
int32_t fileDelay(double milliseconds);

// What a save gives when its progress callback stopped the encoding: nothing was written.
inline SaveResult encodingStopped() {
    SaveResult r{false, "Запись прервана."};
    r.cancelled = true;
    return r;
}

// Writes the header and the palette block; missing palette entries are written transparent.
void writeHeaderAndPalette(ByteWriter& out, std::string_view magic, const Document& document,
                           const std::vector<PaletteEntry>& smallPalette);

// A document the readers would accept the size of: 1..maxDocumentSide on each side. A writer
// refuses anything else rather than write a file that cannot be opened again.
bool writableDocumentSize(const Document& document);

// Makes room in `bytes` for the largest file the document could give (a run for every pixel),
// so that encoding never moves the buffer. The room is only reserved: pages the encoder does not
// write are never touched. Without effect when that much cannot be reserved.
void reserveLargestFile(std::vector<uint8_t>& bytes, const Document& document,
                        size_t frameRecordBytes, size_t layerRecordFieldBytes);
// Gives back reserved room the encoding did not use when that is most of it.
void releaseUnusedRoom(std::vector<uint8_t>& bytes);

struct HeaderBlock {
    int32_t defaultDelay = 0;
    int width = 0, height = 0;
    std::vector<PaletteEntry> smallPalette;
};

// Counts the layers of an encode or a build for a Progress callback; once the callback asked to
// stop, every further step says so.
class LayerSteps {
  public:
    LayerSteps(const Progress& progress, int64_t total) : progress(progress), total(total) {}
    bool step() {
        ++done;
        if (!stopped && !reportProgress(progress, int(std::min<int64_t>(done, INT32_MAX)),
                                        int(std::min<int64_t>(total, INT32_MAX))))
            stopped = true;
        return !stopped;
    }
    bool wasStopped() const { return stopped; }

  private:
    const Progress& progress;
    int64_t total, done = 0;
    bool stopped = false;
};

inline int64_t documentLayerCount(const Document& document) {
    int64_t n = 0;
    for (const Frame& frame : document.frames())
        n += frame.layerCount();
    return n;
}

// Reads the header and the palette block. WrongFormat when the magic differs, Damaged for a
// side below 1, TooLarge for a side beyond the limit.
ReadFailure readHeaderAndPalette(ByteReader& in, std::string_view magic, HeaderBlock& header);

// Writes visible (1/0), opacity (clamped to 0..255) and the runs of the layer's image. False
// when the image does not have the document size, which no run list could describe.
bool writeLayerBody(ByteWriter& out, const Layer& layer, int width, int height);

struct LayerBody {
    bool visible = true;
    int opacity = 255;
    std::span<const uint8_t> runs;
};
inline constexpr size_t minLayerBodyBytes = 8 + 8; // two fields and at least one run

// Reads and checks a layer body for pixelCount pixels; an opacity outside 0..255 is Damaged.
ReadFailure scanLayerBody(ByteReader& in, int64_t pixelCount, LayerBody& body);

// Gives the layer the flags and pixels of the body. False when the layer has no image (its
// allocation failed).
bool applyLayerBody(const LayerBody& body, Layer& layer);

// A record count as read: Damaged below 1, Truncated when even the smallest records of that
// many would not fit in what is left of the file.
ReadFailure checkRecordCount(int32_t count, size_t remaining, size_t minRecordBytes);

// A count of frames in a file, or of layers in a frame: Damaged below 1, TooLarge past the
// program's limit, with the reason that names the limit in `refusal`.
ReadFailure checkFrameCount(int32_t count, std::string& refusal);
ReadFailure checkLayerCount(int32_t count, std::string& refusal);

// Counts the layers and frames a file announces against the memory budget, before any is
// allocated: each layer's pixels and what a layer and a frame cost beyond them.
class PixelBudget {
  public:
    PixelBudget(int width, int height, uint64_t maxPixelBytes)
        : layerBytes(uint64_t(width) * uint64_t(height) * 4 + layerOverheadBytes),
          maxBytes(maxPixelBytes) {}
    // False when `layers` more would pass the budget.
    bool take(int64_t layers) { return takeBytes(layers, layerBytes); }
    // False when `frames` more, without their layers, would pass the budget.
    bool takeFrames(int64_t frames) { return takeBytes(frames, frameOverheadBytes); }

  private:
    bool takeBytes(int64_t count, uint64_t each);
    uint64_t layerBytes;
    uint64_t maxBytes;
    uint64_t usedBytes = 0;
};

// The frame both formats' readers and writers share around their own blocks.

// Decodes with the format's scan and build: a scan refusing the file, a build stopped by its
// progress callback or running out of memory, each become the failure the caller reports. A
// scan that leaves a reason in the layout's `refusal` has it told instead of the failure's own.
// `layersOf` counts the layers the scan found, for the progress.
template <typename Layout, typename Scan, typename Build, typename LayersOf>
DocumentReadResult decodeDocument(std::span<const uint8_t> bytes, uint64_t maxPixelBytes,
                                  const Progress& progress, DocumentFileFormat format, Scan scan,
                                  Build build, LayersOf layersOf) {
    try {
        Layout layout;
        if (auto f = scan(bytes, layout, maxPixelBytes); f != ReadFailure::None) {
            DocumentReadResult failed = DocumentReadResult::failed(f, format);
            if (!layout.refusal.empty())
                failed.reason = std::move(layout.refusal);
            return failed;
        }
        LayerSteps steps(progress, layersOf(layout));
        DocumentReadResult result;
        result.document = build(layout, steps);
        if (!result.document)
            return DocumentReadResult::failed(
                steps.wasStopped() ? ReadFailure::Cancelled : ReadFailure::TooLarge, format);
        result.smallPalette = std::move(layout.header.smallPalette);
        return result;
    } catch (const std::bad_alloc&) {
        return DocumentReadResult::failed(ReadFailure::TooLarge, format);
    }
}

// Encodes the header and the palette block, then the format's own records with
// `body(out, steps)`, which counts each layer written on the steps and is false when one could
// not be written or the progress stopped it. None when the document's size cannot be written,
// the body failed or memory ran out. The record sizes are those reserveLargestFile takes.
template <typename Body>
std::vector<uint8_t> encodeDocument(const Document& document, std::string_view magic,
                                    const std::vector<PaletteEntry>& smallPalette,
                                    const Progress& progress, size_t frameRecordBytes,
                                    size_t layerRecordFieldBytes, Body body) {
    std::vector<uint8_t> bytes;
    LayerSteps steps(progress, documentLayerCount(document));
    if (!writableDocumentSize(document))
        return bytes;
    try {
        reserveLargestFile(bytes, document, frameRecordBytes, layerRecordFieldBytes);
        ByteWriter out(bytes);
        writeHeaderAndPalette(out, magic, document, smallPalette);
        if (!body(out, steps))
            return {};
        out.finish();
        releaseUnusedRoom(bytes);
    } catch (const std::bad_alloc&) {
        return {};
    }
    return bytes;
}

// Encodes with `encode` (bytes, or none when it failed or its progress stopped it) and saves
// the bytes atomically.
template <typename Encode>
SaveResult writeDocumentFile(const std::string& path, const Progress& progress, Encode encode) {
    bool stopped = false;
    const std::vector<uint8_t> bytes = encode([&](int done, int total) {
        stopped = !reportProgress(progress, done, total);
        return !stopped;
    });
    if (bytes.empty())
        return stopped ? encodingStopped() : SaveResult{false, documentNotEncodedText};
    removeAbandonedTemporaries(path);
    return saveFileAtomically(path, bytes);
}

// Reads the file whole and decodes it with `decode`.
template <typename Decode>
DocumentReadResult readDocumentFile(const std::string& path, DocumentFileFormat format,
                                    Decode decode) {
    std::vector<uint8_t> bytes;
    std::string why;
    if (auto f = readFileBytes(path, bytes, maxDocumentFileBytes, &why); f != ReadFailure::None)
        return DocumentReadResult::failed(f, format, why);
    return decode(std::span<const uint8_t>(bytes));
}

} // namespace vork
