// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ImageImport.h"

#include "files/DocumentRead.h"
#include "files/GifLayout.h"
#include "files/ImageCompleteness.h"
#include "files/ReadFile.h"
#include "gfx/ImageCodec.h"
#include "pixels/SizeLimits.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

namespace vork {

namespace {

// No single image is decoded beyond this: the largest document layer.
constexpr int64_t maxImageBytes = int64_t(maxDocumentSide) * maxDocumentSide * 4;

// A failure whose reason says more than the failure's own text: what the file is, or which
// limit it passed.
FileOutcome failedBecause(ImageFailure failure, const std::string& name,
                          const std::string& detail) {
    FileOutcome outcome = FileOutcome::failed(failure, name, detail);
    outcome.reason += ": " + detail;
    return outcome;
}

// The whole file, so that its blocks can be checked before it is decoded: regular files only,
// never more than any image the program would accept could need. Nothing, with the outcome,
// when it cannot be read.
std::optional<std::vector<uint8_t>> readImageFile(const std::string& path, FileOutcome& outcome) {
    ReadResult read = readWholeFile(path, size_t(maxDecodedBytes));
    if (!read) {
        const ImageFailure failure =
            read.tooLarge ? ImageFailure::TooLarge : ImageFailure::CannotRead;
        // A file that is not there needs no more words than the failure's own.
        outcome = read.missing ? FileOutcome::failed(failure, path)
                               : failedBecause(failure, path, read.reason);
        return std::nullopt;
    }
    return std::move(read.bytes);
}

// The file ends before its structure does, so that its decoder would make up what is missing.
const char* const cutShortText = "файл обрезан";

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

ImportedDocument failedDocument(ImageFailure failure, const std::string& name) {
    return {nullptr, FileOutcome::failed(failure, name)};
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

ImportedDocument importFrames(std::span<const uint8_t> bytes, const std::string& name,
                              const Progress& progress) {
    const std::optional<GifLayout> gif = readGifLayout(bytes);
    if (gif && (!gif->complete || gif->imageCount == 0))
        return failedDocument(ImageFailure::CannotRead, name);
    if (imageCutShort(bytes))
        return {nullptr, failedBecause(ImageFailure::CannotRead, name, cutShortText)};
    ImageFrames decoder(bytes, maxImageBytes, invisiblePixelsOf(gif));
    if (!decoder.readable())
        return failedDocument(ImageFailure::CannotRead, name);
    const int frames = gif ? gif->imageCount : std::max(1, decoder.announcedCount());
    if (frames > maxFrames) {
        FileOutcome outcome = FileOutcome::failed(ImageFailure::TooLarge, name);
        outcome.reason = tooManyFramesText(frames); // says all, the limit with it
        return {nullptr, outcome};
    }
    const std::optional<ImageSize> announced = announcedSize(decoder, gif);
    if (announced) {
        const ImageFailure refused = checkSize(*announced, frames);
        if (refused != ImageFailure::None)
            return failedDocument(refused, name);
    }
    std::unique_ptr<Document> document;
    for (int i = 0; i < frames; ++i) {
        Bitmap decoded = decoder.next();
        if (decoded.isNull())
            return failedDocument(ImageFailure::CannotRead, name);
        const ImageSize size = announced.value_or(ImageSize{decoded.width(), decoded.height()});
        ImageFailure failure = ImageFailure::None;
        Layer* layer = nextFrameLayer(document, size, frames, failure);
        if (!layer)
            return failedDocument(failure, name);
        Bitmap image = fitted(std::move(decoded), size);
        if (image.isNull())
            return failedDocument(ImageFailure::TooLarge, name);
        layer->image = std::move(image);
        if (!reportProgress(progress, i + 1, frames))
            return failedDocument(ImageFailure::Cancelled, name);
    }
    return {std::move(document), FileOutcome::success(name)};
}

LoadedImage loadFirstImage(std::span<const uint8_t> bytes, const std::string& name) {
    auto failed = [&](ImageFailure failure) {
        return LoadedImage{Bitmap(), FileOutcome::failed(failure, name)};
    };
    const std::optional<GifLayout> gif = readGifLayout(bytes);
    if (gif && gif->imageCount == 0)
        return failed(ImageFailure::CannotRead);
    if (imageCutShort(bytes))
        return LoadedImage{Bitmap(), failedBecause(ImageFailure::CannotRead, name, cutShortText)};
    ImageFrames decoder(bytes, maxImageBytes, invisiblePixelsOf(gif));
    if (!decoder.readable())
        return failed(ImageFailure::CannotRead);
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
        return {nullptr, failure};
    return importFrames(*bytes, path, progress);
}

ImportedDocument importGifBytes(std::span<const uint8_t> bytes, const Progress& progress) {
    return importFrames(bytes, {}, progress);
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
