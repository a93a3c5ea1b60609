// SPDX-License-Identifier: GPL-3.0-or-later
#include "gfx/ImageCodec.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <cstdio>
#include <cstring>
#include <mutex>

#include <fcntl.h>
#include <unistd.h>

namespace vork {

namespace {

constexpr int dotsPerMeter96Dpi = 3780;

// A read-only device over bytes that outlive it, without a copy.
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

// The decoded image in a bitmap of its own, ARGB. An opaque image's 0xFF alpha bytes come as
// they are, so both 32-bit layouts copy without a conversion.
Bitmap bitmapOf(const QImage& decoded, InvisiblePixels invisible) {
    if (decoded.isNull())
        return {};
    const QImage argb =
        decoded.format() == QImage::Format_ARGB32 || decoded.format() == QImage::Format_RGB32
            ? decoded
            : decoded.convertToFormat(QImage::Format_ARGB32);
    Bitmap out(argb.width(), argb.height());
    if (out.isNull() || argb.isNull())
        return {};
    const int width = out.width(), height = out.height();
    for (int y = 0; y < height; ++y) {
        const auto* in = reinterpret_cast<const uint32_t*>(argb.constScanLine(y));
        uint32_t* row = out.row(y);
        if (invisible == InvisiblePixels::AsDecoded) {
            std::memcpy(row, in, size_t(width) * 4);
            continue;
        }
        for (int x = 0; x < width; ++x)
            row[x] = (in[x] >> 24) != 0 ? in[x] : 0u;
    }
    return out;
}

// While it lives, what the decoder libraries print on standard error themselves (libpng's
// "libpng error: ..." lines) goes nowhere: the program says in one line of its own what failed.
// One at a time, since the descriptor is the process's. Sanitizer builds keep standard error,
// so that a report from inside a decoder is seen.
class QuietStandardError {
  public:
    QuietStandardError() : lock_(mutex()) {
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
        const int sink = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (sink < 0)
            return;
        std::fflush(stderr);
        saved_ = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
        if (saved_ >= 0)
            ::dup2(sink, STDERR_FILENO);
        ::close(sink);
#endif
    }
    ~QuietStandardError() {
        if (saved_ < 0)
            return;
        std::fflush(stderr);
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
    }
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

  private:
    static std::mutex& mutex() {
        static std::mutex m;
        return m;
    }
    std::lock_guard<std::mutex> lock_;
    int saved_ = -1;
};

} // namespace

struct ImageFrames::Decoder {
    ByteDevice source;
    QImageReader reader;
    explicit Decoder(std::span<const uint8_t> bytes) : source(bytes), reader(source.device()) {}
};

ImageFrames::ImageFrames(std::span<const uint8_t> bytes, int64_t maxImageBytes,
                         InvisiblePixels invisible)
    : decoder_(std::make_unique<Decoder>(bytes)), invisible_(invisible) {
    QImageReader& reader = decoder_->reader;
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    if (maxImageBytes > 0)
        reader.setAllocationLimit(int((maxImageBytes + (1 << 20) - 1) >> 20)); // in MiB
}

ImageFrames::~ImageFrames() = default;

bool ImageFrames::readable() const {
    QuietStandardError quiet;
    return decoder_->reader.canRead();
}

int ImageFrames::announcedCount() const {
    QuietStandardError quiet;
    return std::max(0, decoder_->reader.imageCount());
}

std::optional<ImageSize> ImageFrames::announcedSize() const {
    QuietStandardError quiet;
    const QSize size = decoder_->reader.size();
    if (!size.isValid())
        return std::nullopt;
    return ImageSize{size.width(), size.height()};
}

Bitmap ImageFrames::next() {
    QImage decoded;
    bool read = false;
    {
        QuietStandardError quiet;
        read = decoder_->reader.read(&decoded);
    }
    if (!read)
        return {};
    return bitmapOf(decoded, invisible_);
}

Bitmap decodeImage(std::span<const uint8_t> bytes) {
    if (bytes.empty())
        return {};
    return ImageFrames(bytes).next();
}

Bitmap decodePng(std::span<const uint8_t> bytes) {
    static constexpr uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() < sizeof signature || std::memcmp(bytes.data(), signature, 8) != 0)
        return {};
    ByteDevice source(bytes);
    QImageReader reader(source.device(), QByteArrayLiteral("png"));
    reader.setAutoDetectImageFormat(false); // else every plugin is asked before the PNG reader
    reader.setAutoTransform(false);
    QImage decoded;
    {
        QuietStandardError quiet;
        if (!reader.read(&decoded))
            return {};
    }
    return bitmapOf(decoded, InvisiblePixels::AsDecoded);
}

bool canEncodePng() {
    return QImageWriter::supportedImageFormats().contains("png");
}

namespace {

// A read-only QImage over the bitmap's pixels, at the 96 dots per inch PNG files are marked with.
QImage viewForEncoding(const Bitmap& image) {
    QImage view(image.bytes(), image.width(), image.height(), image.stride(),
                image.format() == PixelFormat::Rgb ? QImage::Format_RGB32
                : image.format() == PixelFormat::PremultipliedArgb
                    ? QImage::Format_ARGB32_Premultiplied
                    : QImage::Format_ARGB32);
    view.setDotsPerMeterX(dotsPerMeter96Dpi);
    view.setDotsPerMeterY(dotsPerMeter96Dpi);
    return view;
}

} // namespace

std::optional<std::vector<uint8_t>> encodePng(const Bitmap& image) {
    if (image.isNull())
        return std::nullopt;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(viewForEncoding(image)))
        return std::nullopt;
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

bool writePngFile(const Bitmap& image, const std::string& path) {
    if (image.isNull())
        return false;
    // The name's bytes as they are, whether or not they are valid UTF-8.
    QImageWriter writer(QFile::decodeName(QByteArray::fromStdString(path)), "png");
    return writer.write(viewForEncoding(image));
}

} // namespace vork
