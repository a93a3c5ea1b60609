#include "files/ImageImport.h"

#include "files/GifLayout.h"
#include "pixels/SizeLimits.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <algorithm>
#include <cstring>
#include <optional>

namespace vork {

namespace {

// Qt refuses to decode one image above this many MiB: the largest document layer and a little.
constexpr int allocationLimitMiB =
    int((int64_t(maxDocumentSide) * maxDocumentSide * 4 + (1 << 20) - 1) >> 20);

struct FrameSize {
    int width = 0, height = 0;
};

// The whole file, so that its blocks can be checked before Qt decodes it. Nothing when it
// cannot be read, or is larger than any image the program would accept could need.
std::optional<QByteArray> readWholeFile(const std::string& path, ImageFailure& failure) {
    QFile file(QString::fromStdString(path));
    failure = ImageFailure::CannotRead;
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    if (uint64_t(file.size()) > uint64_t(maxDecodedBytes)) {
        failure = ImageFailure::TooLarge;
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    failure = ImageFailure::None;
    return bytes;
}

std::span<const uint8_t> spanOf(const QByteArray& bytes) {
    return {reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())};
}

// A read-only device over the bytes, which outlive it, without a copy.
class ByteDevice {
  public:
    explicit ByteDevice(std::span<const uint8_t> bytes) {
        buffer_.setData(QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                                qsizetype(bytes.size())));
        buffer_.open(QIODevice::ReadOnly);
    }
    QIODevice* device() { return &buffer_; }

  private:
    QBuffer buffer_;
};

// The size the decoded frames will have, before decoding: a GIF's logical screen (Qt composes
// every frame onto it, but reports the first image's own rectangle as the size), otherwise
// what the decoder says; nothing when it cannot say.
std::optional<FrameSize> announcedSize(QImageReader& reader, const std::optional<GifLayout>& gif) {
    if (gif)
        return FrameSize{gif->screenWidth, gif->screenHeight};
    const QSize size = reader.size();
    if (!size.isValid())
        return std::nullopt;
    return FrameSize{size.width(), size.height()};
}

ImageFailure checkSize(FrameSize size, int64_t frames) {
    if (size.width <= 0 || size.height <= 0)
        return ImageFailure::CannotRead;
    if (!sizeInRange(size.width, size.height) || !fitsMemoryBudget(frames, size.width, size.height))
        return ImageFailure::TooLarge;
    return ImageFailure::None;
}

void prepare(QImageReader& reader) {
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    reader.setAllocationLimit(allocationLimitMiB);
}

enum class InvisibleColour { Keep, Clear };

// Copies a decoded image into target from the top-left corner, clipped to both.
void copyDecoded(const QImage& decoded, Bitmap& target, InvisibleColour invisible) {
    // RGB32 keeps 0xFF in its alpha byte, so both layouts copy as they are.
    const QImage argb =
        decoded.format() == QImage::Format_ARGB32 || decoded.format() == QImage::Format_RGB32
            ? decoded
            : decoded.convertToFormat(QImage::Format_ARGB32);
    const int w = std::min(argb.width(), target.width());
    const int h = std::min(argb.height(), target.height());
    for (int y = 0; y < h; ++y) {
        const auto* in = reinterpret_cast<const uint32_t*>(argb.constScanLine(y));
        uint32_t* out = target.row(y);
        if (invisible == InvisibleColour::Keep) {
            std::memcpy(out, in, size_t(w) * 4);
            continue;
        }
        for (int x = 0; x < w; ++x)
            out[x] = (in[x] >> 24) != 0 ? in[x] : 0u;
    }
}

ImportedDocument failedDocument(ImageFailure failure, const std::string& name) {
    return {nullptr, FileOutcome::failed(failure, name)};
}

// Makes the frame for the next decoded image: the document's first frame, or a new one after
// the current frame. Null when the pixels would pass the limits or could not be allocated.
Layer* nextFrameLayer(std::unique_ptr<Document>& document, FrameSize size, int frames,
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
    ByteDevice source(bytes);
    QImageReader reader(source.device());
    prepare(reader);
    if (!reader.canRead())
        return failedDocument(ImageFailure::CannotRead, name);
    const int frames = gif ? gif->imageCount : std::max(1, reader.imageCount());
    const std::optional<FrameSize> announced = announcedSize(reader, gif);
    if (announced) {
        const ImageFailure refused = checkSize(*announced, frames);
        if (refused != ImageFailure::None)
            return failedDocument(refused, name);
    }
    const InvisibleColour invisible = gif ? InvisibleColour::Clear : InvisibleColour::Keep;
    std::unique_ptr<Document> document;
    for (int i = 0; i < frames; ++i) {
        QImage decoded;
        if (!reader.read(&decoded) || decoded.isNull())
            return failedDocument(ImageFailure::CannotRead, name);
        const FrameSize size = announced.value_or(FrameSize{decoded.width(), decoded.height()});
        ImageFailure failure = ImageFailure::None;
        Layer* layer = nextFrameLayer(document, size, frames, failure);
        if (!layer)
            return failedDocument(failure, name);
        copyDecoded(decoded, layer->image, invisible);
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
    ByteDevice source(bytes);
    QImageReader reader(source.device());
    prepare(reader);
    if (!reader.canRead())
        return failed(ImageFailure::CannotRead);
    const std::optional<FrameSize> announced = announcedSize(reader, gif);
    if (announced) {
        const ImageFailure refused = checkSize(*announced, 1);
        if (refused != ImageFailure::None)
            return failed(refused);
    }
    QImage decoded;
    if (!reader.read(&decoded) || decoded.isNull())
        return failed(ImageFailure::CannotRead);
    const FrameSize size = announced.value_or(FrameSize{decoded.width(), decoded.height()});
    const ImageFailure refused = checkSize(size, 1);
    if (refused != ImageFailure::None)
        return failed(refused);
    Bitmap image(size.width, size.height);
    if (image.isNull())
        return failed(ImageFailure::TooLarge);
    copyDecoded(decoded, image, gif ? InvisibleColour::Clear : InvisibleColour::Keep);
    return {std::move(image), FileOutcome::success(name)};
}

} // namespace

ImportedDocument importGif(const std::string& path, const Progress& progress) {
    ImageFailure failure = ImageFailure::None;
    const std::optional<QByteArray> bytes = readWholeFile(path, failure);
    if (!bytes)
        return failedDocument(failure, path);
    return importFrames(spanOf(*bytes), path, progress);
}

ImportedDocument importGifBytes(std::span<const uint8_t> bytes, const Progress& progress) {
    return importFrames(bytes, {}, progress);
}

LoadedImage loadImageFile(const std::string& path) {
    ImageFailure failure = ImageFailure::None;
    const std::optional<QByteArray> bytes = readWholeFile(path, failure);
    if (!bytes)
        return {Bitmap(), FileOutcome::failed(failure, path)};
    return loadFirstImage(spanOf(*bytes), path);
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
