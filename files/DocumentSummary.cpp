// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/DocumentSummary.h"

#include "files/ByteStream.h"
#include "files/DocumentFileBlocks.h"
#include "files/FileBytes.h"
#include "files/FileWindow.h"
#include "files/RunLength.h"
#include "model/Limits.h"

namespace vork {

namespace {

// Checks a layer's runs as the whole-file scan does; `keep`, when given, receives them.
ReadFailure scanRuns(FileWindow& in, int64_t pixelCount, std::vector<uint8_t>* keep) {
    int64_t position = 0;
    uint8_t scratch[runBytes];
    while (position < pixelCount) {
        const uint8_t* run = in.next(runBytes, scratch);
        if (!run)
            return ReadFailure::Truncated;
        const int64_t end = int32_t(loadLittleEndian32(run));
        if (end <= position || end > pixelCount)
            return ReadFailure::Damaged;
        position = end;
        if (keep)
            keep->insert(keep->end(), run, run + runBytes);
    }
    return ReadFailure::None;
}

ReadFailure scanLayer(FileWindow& in, int64_t pixelCount, LayerSummary& layer,
                      std::vector<uint8_t>* keepRuns) {
    if (const ReadFailure f = readLayerFlags(in, layer.visible, layer.opacity);
        f != ReadFailure::None)
        return f;
    return scanRuns(in, pixelCount, keepRuns);
}

constexpr size_t minAnimationFrameBytes = 12 + minLayerBodyBytes;
constexpr size_t minPictureLayerBytes = 4 + minLayerBodyBytes;

// The runs of the wanted frame's layers, bottom first.
using KeptRuns = std::vector<std::vector<uint8_t>>;

// A count against what the rest of the file can hold, as the whole-file scan checks it.
ReadFailure checkCount(int32_t count, const FileWindow& in, size_t minRecordBytes) {
    const size_t remaining = size_t(std::min<uint64_t>(in.remaining(), SIZE_MAX));
    return checkRecordCount(count, remaining, minRecordBytes);
}

ReadFailure scanAnimationFrames(FileWindow& in, DocumentSummary& s, int wanted, KeptRuns& kept,
                                std::string& refusal) {
    const auto frameCount = in.readInt32();
    if (!frameCount)
        return ReadFailure::Truncated;
    if (auto f = checkFrameCount(*frameCount, refusal); f != ReadFailure::None)
        return f;
    PixelBudget budget(s.width, s.height, maxDecodedBytes);
    if (!budget.takeFrames(*frameCount) || !budget.take(*frameCount))
        return ReadFailure::TooLarge;
    if (auto f = checkCount(*frameCount, in, minAnimationFrameBytes); f != ReadFailure::None)
        return f;
    const int64_t pixelCount = int64_t(s.width) * s.height;
    s.frames.resize(size_t(*frameCount));
    for (size_t j = 0; j < s.frames.size(); ++j) {
        FrameSummary& frame = s.frames[j];
        const auto delay = in.readInt32();
        const auto enabled = in.readInt32();
        const auto layerCount = in.readInt32();
        if (!delay || !enabled || !layerCount)
            return ReadFailure::Truncated;
        if (auto f = checkLayerCount(*layerCount, refusal); f != ReadFailure::None)
            return f;
        if (!budget.take(*layerCount - 1)) // the first layer was counted with the frames
            return ReadFailure::TooLarge;
        if (auto f = checkCount(*layerCount, in, minLayerBodyBytes); f != ReadFailure::None)
            return f;
        frame.delay = *delay;
        frame.enabled = *enabled != 0;
        frame.layers.resize(size_t(*layerCount));
        const bool keep = int(j) + 1 == wanted;
        if (keep)
            kept.resize(frame.layers.size());
        for (size_t k = 0; k < frame.layers.size(); ++k) {
            frame.layers[k].id = int(k) + 1;
            if (auto f = scanLayer(in, pixelCount, frame.layers[k], keep ? &kept[k] : nullptr);
                f != ReadFailure::None)
                return f;
        }
    }
    return ReadFailure::None;
}

ReadFailure scanPictureLayers(FileWindow& in, DocumentSummary& s, std::string& refusal) {
    const auto frameCount = in.readInt32(); // always 1; read whatever it says
    const auto layerCounter = in.readInt32();
    const auto layerCount = in.readInt32();
    if (!frameCount || !layerCounter || !layerCount)
        return ReadFailure::Truncated;
    if (auto f = checkLayerCount(*layerCount, refusal); f != ReadFailure::None)
        return f;
    PixelBudget budget(s.width, s.height, maxDecodedBytes);
    if (!budget.takeFrames(1) || !budget.take(*layerCount))
        return ReadFailure::TooLarge;
    if (auto f = checkCount(*layerCount, in, minPictureLayerBytes); f != ReadFailure::None)
        return f;
    const int64_t pixelCount = int64_t(s.width) * s.height;
    s.frames.resize(1);
    s.frames[0].layers.resize(size_t(*layerCount));
    for (LayerSummary& layer : s.frames[0].layers) {
        const auto id = in.readInt32();
        if (!id)
            return ReadFailure::Truncated;
        layer.id = *id;
        if (auto f = scanLayer(in, pixelCount, layer, nullptr); f != ReadFailure::None)
            return f;
    }
    return ReadFailure::None;
}

ReadFailure scanFile(const std::string& path, DocumentFileFormat format, DocumentSummary& s,
                     int wanted, KeptRuns& kept, std::string& why) {
    // A count past the program's limits leaves its reason in `why`, told instead of the
    // failure's own text.
    FileWindow in;
    if (auto f = in.open(path, maxDocumentFileBytes, why); f != ReadFailure::None)
        return f;
    std::vector<uint8_t> head(headerBytes + paletteBlockBytes);
    const size_t got = size_t(std::min<uint64_t>(head.size(), in.remaining()));
    if (!in.read(head.data(), got))
        return ReadFailure::Unreadable;
    ByteReader headReader(std::span<const uint8_t>(head.data(), got));
    HeaderBlock header;
    const bool picture = format == DocumentFileFormat::Picture;
    if (auto f = readHeaderAndPalette(headReader, picture ? pictureMagic : animationMagic, header);
        f != ReadFailure::None)
        return f;
    s.width = header.width;
    s.height = header.height;
    s.defaultDelay = header.defaultDelay;
    s.smallPalette = std::move(header.smallPalette);
    const ReadFailure f =
        picture ? scanPictureLayers(in, s, why) : scanAnimationFrames(in, s, wanted, kept, why);
    if (f != ReadFailure::None)
        return f;
    return in.atEnd() ? ReadFailure::None : ReadFailure::Damaged;
}

DocumentReadResult failedRead(ReadFailure failure, DocumentFileFormat format,
                              const std::string& why) {
    DocumentReadResult r = DocumentReadResult::failed(failure, format, why);
    if (failure == ReadFailure::TooLarge && !why.empty())
        r.reason = why; // a limit passed, named with its number
    return r;
}

DocumentSummary failedSummary(ReadFailure failure, DocumentFileFormat format,
                              const std::string& why) {
    DocumentSummary s;
    s.failure = failure;
    s.reason = failedRead(failure, format, why).reason;
    return s;
}

} // namespace

DocumentSummary summariseDocumentFile(const std::string& path, DocumentFileFormat format) {
    DocumentSummary s;
    KeptRuns none;
    std::string why;
    if (auto f = scanFile(path, format, s, 0, none, why); f != ReadFailure::None)
        return failedSummary(f, format, why);
    return s;
}

AnimationFrameRead readAnimationFrame(const std::string& path, int number) {
    constexpr auto format = DocumentFileFormat::Animation;
    AnimationFrameRead r;
    KeptRuns kept;
    std::string why;
    if (auto f = scanFile(path, format, r.summary, number, kept, why); f != ReadFailure::None) {
        r.summary = failedSummary(f, format, why);
        r.read = failedRead(f, format, why);
        return r;
    }
    if (number < 1 || number > int(r.summary.frames.size()))
        return r;
    const FrameSummary& record = r.summary.frames[size_t(number - 1)];
    auto animation = std::make_unique<Document>(r.summary.width, r.summary.height, 100.0);
    animation->defaultDelay = r.summary.defaultDelay;
    Frame& frame = animation->current();
    frame.delay = record.delay;
    for (size_t k = 0; k < kept.size(); ++k) {
        if (k > 0)
            frame.appendLayer();
        Layer& layer = frame.current();
        if (!applyLayerBody({record.layers[k].visible, record.layers[k].opacity, kept[k]}, layer)) {
            r.read = DocumentReadResult::failed(ReadFailure::TooLarge, format);
            return r;
        }
        std::vector<uint8_t>().swap(kept[k]); // decoded: the runs are no longer needed
    }
    frame.enabled = record.enabled;
    animation->renumberFrames();
    r.read.document = std::move(animation);
    r.read.smallPalette = r.summary.smallPalette;
    return r;
}

} // namespace vork
