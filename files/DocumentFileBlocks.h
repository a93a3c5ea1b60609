// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The blocks the picture and animation files share: the header (four magic letters, the
// default delay, width, height), the palette block (111 entries as A, R, G, B) and the body of
// a layer record (visible, opacity, pixel runs). All integers are 32-bit little-endian.
//
// Reading is split in two passes: a scan that checks every count, size and run against what is
// left of the file and against the limits, without allocating pixels, and a build that makes
// the document from what the scan accepted, taking each layer's runs again from where the scan
// found them. A file is read through a window of bounded size in both passes, so that reading
// never holds the file beside the pixels it decodes to.
#include "files/ByteStream.h"
#include "files/DocumentRead.h"
#include "files/FileBytes.h"
#include "files/FileWindow.h"
#include "files/RunLength.h"
#include "files/SaveFile.h"
#include "model/Document.h"
#include "model/Limits.h"
#include "model/Palette.h"
#include "pixels/Progress.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <new>
#include <optional>
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

// Where the readers take a document file's bytes from: the file's content in memory, or a
// regular file read through a window. The scan walks it front to back; the build then asks for
// each layer's runs by where the scan found them.
class DocumentInput {
  public:
    virtual ~DocumentInput() = default;
    virtual uint64_t remaining() const = 0;
    bool atEnd() const { return remaining() == 0; }
    // What is left as a byte count the record counts are checked against.
    size_t remainingSize() const {
        return size_t(std::min<uint64_t>(remaining(), std::numeric_limits<size_t>::max()));
    }
    // Copies the next n bytes; false when fewer are left or a read failed.
    virtual bool read(uint8_t* out, size_t n) = 0;
    std::optional<int32_t> readInt32();
    // Checks the runs of a layer of pixelCount pixels as skipRuns does and passes over them;
    // on Complete, `at` and `bytes` say where they lie.
    virtual RunCheck skipRuns(int64_t pixelCount, uint64_t& at, uint64_t& bytes) = 0;
    // Fills `image` (not null) from the runs skipRuns found at `at`. False when they are no
    // longer such runs, because the file changed since the scan, or when a read failed.
    virtual bool decodeRuns(uint64_t at, uint64_t bytes, Bitmap& image) = 0;
    // What the system said of a read that failed; empty when none did.
    virtual std::string readError() const { return {}; }
    // True once decodeRuns met runs other than those the scan accepted.
    bool changed() const { return changed_; }

  protected:
    bool changed_ = false;
};

// A file's content held in memory.
class MemoryInput final : public DocumentInput {
  public:
    explicit MemoryInput(std::span<const uint8_t> bytes) : bytes_(bytes), in_(bytes) {}
    uint64_t remaining() const override { return in_.remaining(); }
    bool read(uint8_t* out, size_t n) override;
    RunCheck skipRuns(int64_t pixelCount, uint64_t& at, uint64_t& bytes) override;
    bool decodeRuns(uint64_t at, uint64_t bytes, Bitmap& image) override;

  private:
    std::span<const uint8_t> bytes_;
    ByteReader in_;
};

// A regular file, read through a window of windowBytes (and, for the build, a piece of as
// much), however large the file.
class FileInput final : public DocumentInput {
  public:
    explicit FileInput(size_t windowBytes = size_t(1) << 20);
    // As FileWindow::open.
    ReadFailure open(const std::string& path, uint64_t maxBytes, std::string& why) {
        return window_.open(path, maxBytes, why);
    }
    uint64_t remaining() const override { return window_.remaining(); }
    bool read(uint8_t* out, size_t n) override { return window_.read(out, n); }
    RunCheck skipRuns(int64_t pixelCount, uint64_t& at, uint64_t& bytes) override;
    bool decodeRuns(uint64_t at, uint64_t bytes, Bitmap& image) override;
    std::string readError() const override { return window_.readError(); }

  private:
    FileWindow window_;
    size_t pieceBytes_;
    std::vector<uint8_t> piece_;
};

// Reads the header and the palette block. WrongFormat when the magic differs, Damaged for a
// side below 1, TooLarge for a side beyond the limit.
ReadFailure readHeaderAndPalette(ByteReader& in, std::string_view magic, HeaderBlock& header);
// The same from an input; Truncated when a read fails.
ReadFailure readHeaderAndPalette(DocumentInput& in, std::string_view magic, HeaderBlock& header);

// Writes visible (1/0), opacity (clamped to 0..255) and the runs of the layer's image. False
// when the image does not have the document size, which no run list could describe.
bool writeLayerBody(ByteWriter& out, const Layer& layer, int width, int height);

struct LayerBody {
    bool visible = true;
    int opacity = 255;
    std::span<const uint8_t> runs;
};
inline constexpr size_t minLayerBodyBytes = 8 + 8; // two fields and at least one run

// Reads a layer body's visible flag and opacity from any input that reads 32-bit fields:
// Truncated when a read fails, Damaged for an opacity outside 0..255.
template <class Input> ReadFailure readLayerFlags(Input& in, bool& visible, int& opacity) {
    const auto v = in.readInt32();
    const auto o = in.readInt32();
    if (!v || !o)
        return ReadFailure::Truncated;
    if (*o < 0 || *o > 255)
        return ReadFailure::Damaged;
    visible = *v != 0;
    opacity = *o;
    return ReadFailure::None;
}

// Gives the layer the flags and pixels of the body. False when the layer has no image (its
// allocation failed).
bool applyLayerBody(const LayerBody& body, Layer& layer);

// A layer body as the scan of an input found it: the flags, and where its runs lie.
struct LayerRecord {
    bool visible = true;
    int opacity = 255;
    uint64_t runsAt = 0, runsBytes = 0;
};

// Reads and checks a layer body for pixelCount pixels from an input (readLayerFlags, then the
// runs).
ReadFailure scanLayerRecord(DocumentInput& in, int64_t pixelCount, LayerRecord& record);

// Gives the layer the flags and pixels of the record. False when the layer has no image or
// the input could not give the runs again (see DocumentInput::decodeRuns).
bool applyLayerRecord(const LayerRecord& record, DocumentInput& in, Layer& layer);

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
// A read that failed is Unreadable, with what the system said, whatever the format's checks
// made of the bytes that did not come; a build that found other runs than the scan is Damaged.
template <typename Layout, typename Scan, typename Build, typename LayersOf>
DocumentReadResult decodeDocument(DocumentInput& in, uint64_t maxPixelBytes,
                                  const Progress& progress, DocumentFileFormat format, Scan scan,
                                  Build build, LayersOf layersOf) {
    try {
        Layout layout;
        if (auto f = scan(in, layout, maxPixelBytes); f != ReadFailure::None) {
            if (const std::string why = in.readError(); !why.empty())
                return DocumentReadResult::failed(ReadFailure::Unreadable, format, why);
            DocumentReadResult failed = DocumentReadResult::failed(f, format);
            if (!layout.refusal.empty())
                failed.reason = std::move(layout.refusal);
            return failed;
        }
        LayerSteps steps(progress, layersOf(layout));
        DocumentReadResult result;
        result.document = build(layout, steps, in);
        if (!result.document) {
            if (const std::string why = in.readError(); !why.empty())
                return DocumentReadResult::failed(ReadFailure::Unreadable, format, why);
            return DocumentReadResult::failed(steps.wasStopped() ? ReadFailure::Cancelled
                                              : in.changed()     ? ReadFailure::Damaged
                                                                 : ReadFailure::TooLarge,
                                              format);
        }
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

// Opens the file (a regular file of at most maxDocumentFileBytes) and decodes it with
// `decode(input)`, never holding more of it than the input's window.
template <typename Decode>
DocumentReadResult readDocumentFile(const std::string& path, DocumentFileFormat format,
                                    Decode decode) {
    std::unique_ptr<FileInput> in;
    try {
        in = std::make_unique<FileInput>();
    } catch (const std::bad_alloc&) {
        return DocumentReadResult::failed(ReadFailure::TooLarge, format);
    }
    std::string why;
    if (auto f = in->open(path, maxDocumentFileBytes, why); f != ReadFailure::None)
        return DocumentReadResult::failed(f, format, why);
    return decode(static_cast<DocumentInput&>(*in));
}

} // namespace vork
