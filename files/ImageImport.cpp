// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ImageImport.h"

#include "files/DocumentRead.h"
#include "files/GifDelays.h"
#include "files/GifLayout.h"
#include "files/ImageCompleteness.h"
#include "files/ReadFile.h"
#include "gfx/ImageCodec.h"
#include "pixels/SizeLimits.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>
#include <utility>

namespace vork {

namespace {

// No single image is decoded beyond this: the largest document layer.
constexpr int64_t maxImageBytes = int64_t(maxDocumentSide) * maxDocumentSide * 4;

// The whole file, so that its blocks can be checked before it is decoded: regular files only,
// never more than any image the program would accept could need. Nothing, with the outcome and
// what the system said, when it cannot be read.
std::optional<std::vector<uint8_t>> readImageFile(const std::string& path, FileOutcome& failure) {
    ReadResult read = readWholeFile(path, size_t(maxDecodedBytes));
    if (!read) {
        failure = read.tooLarge ? FileOutcome::failed(ImageFailure::TooLarge, path)
                                : FileOutcome::failed(ImageFailure::CannotRead, path, read.reason);
        return std::nullopt;
    }
    return std::move(read.bytes);
}

constexpr const char* notAnImageDetail = "это не изображение известного вида";
// The file ends before its structure does, so that its decoder would make up what is missing.
constexpr const char* cutShortDetail = "файл обрезан";

// The size the decoded frames will have, before decoding: a GIF's logical screen (the decoder
// composes every frame onto it, but announces the first image's own rectangle as the size),
// otherwise what the decoder says; nothing when it cannot say.
std::optional<ImageSize> announcedSize(const ImageFrames& frames,
                                       const std::optional<GifLayout>& gif) {
    if (gif)
        return ImageSize{gif->screenWidth, gif->screenHeight};
    return frames.announcedSize();
}

ImageFailure checkSize(ImageSize size, int64_t frames) {
    if (size.width <= 0 || size.height <= 0)
        return ImageFailure::CannotRead;
    if (!sizeInRange(size.width, size.height) || !fitsMemoryBudget(frames, size.width, size.height))
        return ImageFailure::TooLarge;
    return ImageFailure::None;
}

// The decoded image as an image of `size`, from the top-left corner, clipped to both: the
// decoded pixels themselves when the sizes agree, as they almost always do. Null when the
// memory for another size cannot be had.
Bitmap fitted(Bitmap decoded, ImageSize size) {
    if (decoded.width() == size.width && decoded.height() == size.height)
        return decoded;
    Bitmap out(size.width, size.height);
    const int w = std::min(decoded.width(), out.width());
    const int h = std::min(decoded.height(), out.height());
    for (int y = 0; y < h; ++y)
        std::memcpy(out.row(y), std::as_const(decoded).row(y), size_t(w) * 4);
    return out;
}

// A GIF's transparent pixels come in as transparent black, whatever colour bytes the decoder
// leaves in them.
InvisiblePixels invisiblePixelsOf(const std::optional<GifLayout>& gif) {
    return gif ? InvisiblePixels::TransparentBlack : InvisiblePixels::AsDecoded;
}

ImportedDocument failedDocument(const FileOutcome& outcome) {
    return {nullptr, outcome};
}

ImportedDocument failedDocument(ImageFailure failure, const std::string& name) {
    return {nullptr, FileOutcome::failed(failure, name)};
}

// Why a GIF whose blocks do not run whole to the trailer cannot be imported.
std::string incompleteGifDetail(const GifLayout& gif) {
    if (gif.imageCount == 0)
        return gif.complete ? "в файле нет ни одного кадра" : "файл обрезан до первого кадра";
    return "файл обрезан после кадра " + std::to_string(gif.imageCount);
}

// Makes the frame for the next decoded image: the document's first frame, or a new one after
// the current frame. Null when the pixels would pass the limits or could not be allocated.
Layer* nextFrameLayer(std::unique_ptr<Document>& document, ImageSize size, int frames,
                      ImageFailure& failure) {
    if (!document) {
        failure = checkSize(size, frames);
        if (failure != ImageFailure::None)
            return nullptr;
        document = std::make_unique<Document>(size.width, size.height, 100.0);
    } else {
        document->insertFrameAfter(document->currentFrameIndex());
    }
    Frame& frame = document->current();
    frame.setCurrentLayer(0);
    Layer& layer = frame.layer(0);
    layer.visible = true;
    if (layer.image.isNull()) {
        failure = ImageFailure::TooLarge;
        return nullptr;
    }
    return &layer;
}

FileOutcome streamFrames(std::span<const uint8_t> bytes, const std::string& name, FramesHeld held,
                         const ImportedFrameSink& take) {
    const std::optional<GifLayout> gif = readGifLayout(bytes);
    if (gif && (!gif->complete || gif->imageCount == 0))
        return FileOutcome::failed(ImageFailure::CannotRead, name, incompleteGifDetail(*gif));
    if (imageCutShort(bytes))
        return FileOutcome::failed(ImageFailure::CannotRead, name, cutShortDetail);
    ImageFrames decoder(bytes, maxImageBytes, invisiblePixelsOf(gif));
    if (!decoder.readable())
        return FileOutcome::failed(ImageFailure::CannotRead, name, notAnImageDetail);
    const int frames = gif ? gif->imageCount : std::max(1, decoder.announcedCount());
    if (frames > maxFrames) {
        FileOutcome outcome = FileOutcome::failed(ImageFailure::TooLarge, name);
        outcome.reason = tooManyFramesText(frames); // says all, the limit with it
        return outcome;
    }
    const int64_t framesInMemory = held == FramesHeld::All ? frames : 1;
    const std::optional<ImageSize> announced = announcedSize(decoder, gif);
    if (announced) {
        const ImageFailure refused = checkSize(*announced, framesInMemory);
        if (refused != ImageFailure::None)
            return FileOutcome::failed(refused, name);
    }
    for (int i = 0; i < frames; ++i) {
        Bitmap decoded = decoder.next();
        if (decoded.isNull())
            return FileOutcome::failed(ImageFailure::CannotRead, name,
                                       "кадр " + std::to_string(i + 1) + " из " +
                                           std::to_string(frames) + " не удалось декодировать");
        const ImageSize size = announced.value_or(ImageSize{decoded.width(), decoded.height()});
        if (const ImageFailure refused = checkSize(size, framesInMemory);
            refused != ImageFailure::None)
            return FileOutcome::failed(refused, name);
        Bitmap image = fitted(std::move(decoded), size);
        if (image.isNull())
            return FileOutcome::failed(ImageFailure::TooLarge, name);
        const double delay = gif ? importedGifDelayMs(gif->delays[size_t(i)]) : 100.0;
        if (!take(ImportedFrame{std::move(image), delay, i + 1, frames}))
            return FileOutcome::failed(ImageFailure::Cancelled, name);
    }
    return FileOutcome::success(name);
}

ImportedDocument importFrames(std::span<const uint8_t> bytes, const std::string& name,
                              const Progress& progress) {
    std::unique_ptr<Document> document;
    ImageFailure failure = ImageFailure::None;
    const FileOutcome outcome =
        streamFrames(bytes, name, FramesHeld::All, [&](ImportedFrame&& frame) {
            const ImageSize size{frame.image.width(), frame.image.height()};
            Layer* layer = nextFrameLayer(document, size, frame.count, failure);
            if (!layer)
                return false;
            layer->image = std::move(frame.image);
            document->current().delay = frame.delayMs;
            return reportProgress(progress, frame.number, frame.count);
        });
    if (failure != ImageFailure::None)
        return failedDocument(failure, name);
    if (!outcome.ok())
        return failedDocument(outcome);
    return {std::move(document), outcome};
}

LoadedImage loadFirstImage(std::span<const uint8_t> bytes, const std::string& name) {
    auto failed = [&](ImageFailure failure) {
        return LoadedImage{Bitmap(), FileOutcome::failed(failure, name)};
    };
    const std::optional<GifLayout> gif = readGifLayout(bytes);
    if (gif && gif->imageCount == 0)
        return LoadedImage{Bitmap(), FileOutcome::failed(ImageFailure::CannotRead, name,
                                                         incompleteGifDetail(*gif))};
    if (imageCutShort(bytes))
        return LoadedImage{Bitmap(),
                           FileOutcome::failed(ImageFailure::CannotRead, name, cutShortDetail)};
    ImageFrames decoder(bytes, maxImageBytes, invisiblePixelsOf(gif));
    if (!decoder.readable())
        return LoadedImage{Bitmap(),
                           FileOutcome::failed(ImageFailure::CannotRead, name, notAnImageDetail)};
    const std::optional<ImageSize> announced = announcedSize(decoder, gif);
    if (announced) {
        const ImageFailure refused = checkSize(*announced, 1);
        if (refused != ImageFailure::None)
            return failed(refused);
    }
    Bitmap decoded = decoder.next();
    if (decoded.isNull())
        return failed(ImageFailure::CannotRead);
    const ImageSize size = announced.value_or(ImageSize{decoded.width(), decoded.height()});
    const ImageFailure refused = checkSize(size, 1);
    if (refused != ImageFailure::None)
        return failed(refused);
    Bitmap image = fitted(std::move(decoded), size);
    if (image.isNull())
        return failed(ImageFailure::TooLarge);
    return {std::move(image), FileOutcome::success(name)};
}

} // namespace

ImportedDocument importGif(const std::string& path, const Progress& progress) {
    FileOutcome failure;
    const std::optional<std::vector<uint8_t>> bytes = readImageFile(path, failure);
    if (!bytes)
        return failedDocument(failure);
    return importFrames(*bytes, path, progress);
}

FileOutcome streamImageFrames(const std::string& path, FramesHeld held,
                              const ImportedFrameSink& take) {
    FileOutcome failure;
    const std::optional<std::vector<uint8_t>> bytes = readImageFile(path, failure);
    if (!bytes)
        return failure;
    return streamFrames(*bytes, path, held, take);
}

ImportedDocument importGifBytes(std::span<const uint8_t> bytes, const Progress& progress) {
    return importFrames(bytes, {}, progress);
}

namespace {

// A GIF's summary from its blocks, read through a small buffer: what --info needs of a large
// animation without holding it. Nothing when the file is no GIF.
std::optional<ImageSummary> summariseGifFile(const std::string& path) {
    const GifFileLayout file = readGifFileLayout(path);
    ImageSummary summary;
    if (!file.unreadable.empty()) {
        summary.outcome = FileOutcome::failed(ImageFailure::CannotRead, path, file.unreadable);
        return summary;
    }
    if (!file.layout)
        return std::nullopt;
    const GifLayout& gif = *file.layout;
    if (!gif.complete || gif.imageCount == 0) {
        summary.outcome =
            FileOutcome::failed(ImageFailure::CannotRead, path, incompleteGifDetail(gif));
        return summary;
    }
    const ImageSize size{gif.screenWidth, gif.screenHeight};
    if (const ImageFailure refused = checkSize(size, gif.imageCount);
        refused != ImageFailure::None) {
        summary.outcome = FileOutcome::failed(refused, path);
        return summary;
    }
    summary.outcome = FileOutcome::success(path);
    summary.width = size.width;
    summary.height = size.height;
    summary.gifDelays = gif.delays;
    for (int delay : gif.delays)
        summary.delaysMs.push_back(importedGifDelayMs(delay));
    return summary;
}

} // namespace

ImageSummary summariseImageFile(const std::string& path) {
    if (std::optional<ImageSummary> gif = summariseGifFile(path))
        return std::move(*gif);
    ImageSummary summary;
    const std::optional<std::vector<uint8_t>> bytes = readImageFile(path, summary.outcome);
    if (!bytes)
        return summary;
    auto failed = [&](ImageFailure failure, const std::string& detail = {}) {
        summary.outcome = FileOutcome::failed(failure, path, detail);
        return summary;
    };
    const std::optional<GifLayout> gif = readGifLayout(*bytes);
    if (gif && (!gif->complete || gif->imageCount == 0))
        return failed(ImageFailure::CannotRead, incompleteGifDetail(*gif));
    if (imageCutShort(*bytes))
        return failed(ImageFailure::CannotRead, cutShortDetail);
    ImageFrames decoder(*bytes, maxImageBytes, invisiblePixelsOf(gif));
    if (!decoder.readable())
        return failed(ImageFailure::CannotRead, notAnImageDetail);
    const int frames = gif ? gif->imageCount : std::max(1, decoder.announcedCount());
    std::optional<ImageSize> size = announcedSize(decoder, gif);
    if (!size) { // only a decode tells
        const Bitmap first = decoder.next();
        if (first.isNull())
            return failed(ImageFailure::CannotRead,
                          "кадр 1 из " + std::to_string(frames) + " не удалось декодировать");
        size = ImageSize{first.width(), first.height()};
    }
    if (const ImageFailure refused = checkSize(*size, frames); refused != ImageFailure::None)
        return failed(refused);
    summary.outcome = FileOutcome::success(path);
    summary.width = size->width;
    summary.height = size->height;
    if (gif)
        summary.gifDelays = gif->delays;
    for (int i = 0; i < frames; ++i)
        summary.delaysMs.push_back(gif ? importedGifDelayMs(gif->delays[size_t(i)]) : 100.0);
    return summary;
}

LoadedImage loadImageFile(const std::string& path) {
    FileOutcome failure;
    const std::optional<std::vector<uint8_t>> bytes = readImageFile(path, failure);
    if (!bytes)
        return {Bitmap(), failure};
    return loadFirstImage(*bytes, path);
}

LoadedImage loadImageBytes(std::span<const uint8_t> bytes) {
    return loadFirstImage(bytes, {});
}

ImportedDocument openImageAsPicture(const std::string& path) {
    LoadedImage loaded = loadImageFile(path);
    if (!loaded)
        return {nullptr, loaded.outcome};
    auto picture = std::make_unique<Document>(loaded.image.width(), loaded.image.height(), 0.0);
    picture->currentLayer().image = std::move(loaded.image);
    return {std::move(picture), loaded.outcome};
}

} // namespace vork
