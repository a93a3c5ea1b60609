// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/DocumentFileBlocks.h"

#include "files/RunLength.h"
#include "model/Limits.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

namespace vork {

int32_t fileDelay(double milliseconds) {
    if (std::isnan(milliseconds))
        return 0;
    constexpr double lowest = double(std::numeric_limits<int32_t>::min());
    constexpr double highest = double(std::numeric_limits<int32_t>::max());
    return int32_t(std::clamp(std::trunc(milliseconds), lowest, highest));
}

void writeHeaderAndPalette(ByteWriter& out, std::string_view magic, const Document& document,
                           const std::vector<PaletteEntry>& smallPalette) {
    out.writeBytes(reinterpret_cast<const uint8_t*>(magic.data()), magic.size());
    out.writeInt32(fileDelay(document.defaultDelay));
    out.writeInt32(document.width);
    out.writeInt32(document.height);
    uint8_t* p = out.reserve(paletteBlockBytes);
    for (size_t i = 0; i < size_t(smallPaletteSize); ++i, p += 4) {
        const Color c = i < smallPalette.size() ? smallPalette[i].color : colors::transparent;
        p[0] = c.a();
        p[1] = c.r();
        p[2] = c.g();
        p[3] = c.b();
    }
    out.commit(paletteBlockBytes);
}

bool writableDocumentSize(const Document& document) {
    return validDocumentSide(document.width) && validDocumentSide(document.height);
}

void reserveLargestFile(std::vector<uint8_t>& bytes, const Document& document,
                        size_t frameRecordBytes, size_t layerRecordFieldBytes) {
    const uint64_t layerPixels =
        uint64_t(std::max(document.width, 0)) * uint64_t(std::max(document.height, 0));
    uint64_t total = headerBytes + paletteBlockBytes + 4;
    for (const Frame& frame : document.frames())
        total += frameRecordBytes +
                 uint64_t(frame.layerCount()) * (layerRecordFieldBytes + runBytes * layerPixels);
    try {
        if (total <= bytes.max_size())
            bytes.reserve(size_t(total));
    } catch (const std::bad_alloc&) {
        // The buffer then grows as it is written.
    }
}

void releaseUnusedRoom(std::vector<uint8_t>& bytes) {
    if (bytes.capacity() / 2 > bytes.size())
        bytes.shrink_to_fit();
}

ReadFailure readHeaderAndPalette(ByteReader& in, std::string_view magic, HeaderBlock& header) {
    const auto letters = in.readBytes(magic.size());
    if (!letters || std::memcmp(letters->data(), magic.data(), magic.size()) != 0)
        return ReadFailure::WrongFormat;
    const auto delay = in.readInt32();
    const auto width = in.readInt32();
    const auto height = in.readInt32();
    if (!delay || !width || !height)
        return ReadFailure::Truncated;
    if (*width < minDocumentSide || *height < minDocumentSide)
        return ReadFailure::Damaged;
    if (*width > maxDocumentSide || *height > maxDocumentSide)
        return ReadFailure::TooLarge;
    const auto palette = in.readBytes(paletteBlockBytes);
    if (!palette)
        return ReadFailure::Truncated;
    header.defaultDelay = *delay;
    header.width = *width;
    header.height = *height;
    header.smallPalette = makePalette(smallPaletteSize);
    for (size_t i = 0; i < header.smallPalette.size(); ++i) {
        const uint8_t* p = palette->data() + 4 * i;
        header.smallPalette[i].color = Color::fromArgb(p[0], p[1], p[2], p[3]);
    }
    return ReadFailure::None;
}

ReadFailure readHeaderAndPalette(DocumentInput& in, std::string_view magic, HeaderBlock& header) {
    // The header and the palette are read whole, or as much of them as the file holds, so the
    // checks see exactly the bytes they see in memory.
    uint8_t head[headerBytes + paletteBlockBytes];
    const size_t got = size_t(std::min<uint64_t>(sizeof head, in.remaining()));
    if (!in.read(head, got))
        return ReadFailure::Truncated;
    ByteReader reader(std::span<const uint8_t>(head, got));
    return readHeaderAndPalette(reader, magic, header);
}

std::optional<int32_t> DocumentInput::readInt32() {
    uint8_t b[4];
    if (!read(b, 4))
        return std::nullopt;
    return int32_t(loadLittleEndian32(b));
}

bool MemoryInput::read(uint8_t* out, size_t n) {
    const auto bytes = in_.readBytes(n);
    if (!bytes)
        return false;
    if (n > 0)
        std::memcpy(out, bytes->data(), n);
    return true;
}

RunCheck MemoryInput::skipRuns(int64_t pixelCount, uint64_t& at, uint64_t& bytes) {
    at = in_.position();
    const RunCheck check = vork::skipRuns(in_, pixelCount);
    bytes = in_.position() - at;
    return check;
}

bool MemoryInput::decodeRuns(uint64_t at, uint64_t bytes, Bitmap& image) {
    vork::decodeRuns(bytes_.subspan(size_t(at), size_t(bytes)), image);
    return true;
}

FileInput::FileInput(size_t windowBytes)
    : window_(windowBytes), pieceBytes_(std::max(runBytes, windowBytes / runBytes * runBytes)) {}

RunCheck FileInput::skipRuns(int64_t pixelCount, uint64_t& at, uint64_t& bytes) {
    at = window_.position();
    int64_t position = 0;
    for (RunCheck check = RunCheck::Truncated; check != RunCheck::Complete;) {
        size_t used = 0;
        const std::span<const uint8_t> piece = window_.buffered();
        if (piece.size() >= runBytes) {
            check = walkRuns(piece, position, pixelCount, nullptr, used);
            window_.advance(used);
        } else {
            // A run cut by the end of the window, or the end of the file.
            uint8_t run[runBytes];
            if (!window_.read(run, runBytes))
                return RunCheck::Truncated;
            check = walkRuns(run, position, pixelCount, nullptr, used);
        }
        if (check == RunCheck::Damaged)
            return check;
    }
    bytes = window_.position() - at;
    return RunCheck::Complete;
}

bool FileInput::decodeRuns(uint64_t at, uint64_t bytes, Bitmap& image) {
    if (piece_.empty())
        piece_.resize(pieceBytes_);
    uint32_t* const pixels = image.row(0); // rows follow each other without gaps
    const int64_t pixelCount = int64_t(image.width()) * image.height();
    int64_t position = 0;
    for (uint64_t done = 0; done < bytes;) {
        const size_t n = size_t(std::min<uint64_t>(piece_.size(), bytes - done));
        if (!window_.readAt(at + done, piece_.data(), n)) {
            changed_ = window_.readError().empty(); // else it failed; if not, the file shrank
            return false;
        }
        size_t used = 0;
        const RunCheck check =
            walkRuns(std::span(piece_.data(), n), position, pixelCount, pixels, used);
        done += used;
        // Runs that end the layer before the bytes the scan found do, or do not end it with
        // them, or that no longer advance, are not the ones the scan accepted.
        if (check == RunCheck::Damaged || (check == RunCheck::Complete && done != bytes) ||
            (check == RunCheck::Truncated && used != n)) {
            changed_ = true;
            return false;
        }
    }
    if (position != pixelCount)
        changed_ = true;
    return position == pixelCount;
}

bool writeLayerBody(ByteWriter& out, const Layer& layer, int width, int height) {
    if (layer.image.width() != width || layer.image.height() != height)
        return false;
    out.writeInt32(layer.visible ? 1 : 0);
    out.writeInt32(std::clamp(layer.opacity, 0, 255));
    appendRuns(out, layer.image);
    return true;
}

bool applyLayerBody(const LayerBody& body, Layer& layer) {
    if (layer.image.isNull())
        return false;
    layer.visible = body.visible;
    layer.opacity = body.opacity;
    decodeRuns(body.runs, layer.image);
    return true;
}

ReadFailure scanLayerRecord(DocumentInput& in, int64_t pixelCount, LayerRecord& record) {
    if (const ReadFailure f = readLayerFlags(in, record.visible, record.opacity);
        f != ReadFailure::None)
        return f;
    switch (in.skipRuns(pixelCount, record.runsAt, record.runsBytes)) {
    case RunCheck::Complete:
        break;
    case RunCheck::Truncated:
        return ReadFailure::Truncated;
    case RunCheck::Damaged:
        return ReadFailure::Damaged;
    }
    return ReadFailure::None;
}

bool applyLayerRecord(const LayerRecord& record, DocumentInput& in, Layer& layer) {
    if (layer.image.isNull())
        return false;
    layer.visible = record.visible;
    layer.opacity = record.opacity;
    return in.decodeRuns(record.runsAt, record.runsBytes, layer.image);
}

ReadFailure checkRecordCount(int32_t count, size_t remaining, size_t minRecordBytes) {
    if (count < 1)
        return ReadFailure::Damaged;
    if (size_t(count) > remaining / minRecordBytes)
        return ReadFailure::Truncated;
    return ReadFailure::None;
}

ReadFailure checkFrameCount(int32_t count, std::string& refusal) {
    if (count < 1)
        return ReadFailure::Damaged;
    if (count > maxFrames) {
        refusal = tooManyFramesText(count);
        return ReadFailure::TooLarge;
    }
    return ReadFailure::None;
}

ReadFailure checkLayerCount(int32_t count, std::string& refusal) {
    if (count < 1)
        return ReadFailure::Damaged;
    if (count > maxLayersPerFrame) {
        refusal = tooManyLayersText(count);
        return ReadFailure::TooLarge;
    }
    return ReadFailure::None;
}

bool PixelBudget::takeBytes(int64_t count, uint64_t each) {
    if (count < 0)
        return false;
    const uint64_t room = (maxBytes - std::min(usedBytes, maxBytes)) / each;
    if (uint64_t(count) > room)
        return false;
    usedBytes += uint64_t(count) * each;
    return true;
}

} // namespace vork
