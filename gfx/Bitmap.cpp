#include "gfx/Bitmap.h"

#include <QImageReader>
#include <QImageWriter>
#include <algorithm>
#include <cstring>
#include <limits>

namespace vork {

namespace {
constexpr int dotsPerMeter96Dpi = 3780;

QImage::Format qtFormat(PixelFormat format) {
    switch (format) {
    case PixelFormat::Rgb:
        return QImage::Format_RGB32;
    case PixelFormat::PremultipliedArgb:
        return QImage::Format_ARGB32_Premultiplied;
    case PixelFormat::Argb:
        break;
    }
    return QImage::Format_ARGB32;
}

QImage blankImage(int width, int height, PixelFormat format) {
    if (width <= 0 || height <= 0)
        return {};
    QImage img(width, height, qtFormat(format));
    if (img.isNull())
        return {};
    img.fill(format == PixelFormat::Rgb ? 0xFF000000u : 0u);
    img.setDotsPerMeterX(dotsPerMeter96Dpi);
    img.setDotsPerMeterY(dotsPerMeter96Dpi);
    return img;
}
} // namespace

Bitmap::Bitmap(int width, int height, PixelFormat format)
    : image_(blankImage(width, height, format)) {}

PixelFormat Bitmap::format() const {
    switch (image_.format()) {
    case QImage::Format_RGB32:
        return PixelFormat::Rgb;
    case QImage::Format_ARGB32_Premultiplied:
        return PixelFormat::PremultipliedArgb;
    default:
        return PixelFormat::Argb;
    }
}

uint8_t* Bitmap::bytes() {
    return image_.isNull() ? nullptr : image_.bits();
}
const uint8_t* Bitmap::bytes() const {
    return image_.isNull() ? nullptr : image_.constBits();
}

Color Bitmap::pixel(int x, int y) const {
    if (!contains(x, y))
        return colors::transparent;
    return Color(row(y)[x]);
}

void Bitmap::setPixel(int x, int y, Color c) {
    if (!contains(x, y))
        return;
    if (format() == PixelFormat::Rgb)
        c = c.withAlpha(255);
    row(y)[x] = c.argb;
}

void Bitmap::fill(Color c) {
    if (image_.isNull())
        return;
    if (format() == PixelFormat::Rgb)
        c = c.withAlpha(255);
    image_.fill(c.argb);
}

Bitmap Bitmap::fromQImage(const QImage& image) {
    Bitmap b;
    if (image.isNull())
        return b;
    b.image_ = image.convertToFormat(QImage::Format_ARGB32);
    b.image_.setDotsPerMeterX(dotsPerMeter96Dpi);
    b.image_.setDotsPerMeterY(dotsPerMeter96Dpi);
    return b;
}

Bitmap Bitmap::load(const std::string& path) {
    return loadFrame(path, 0);
}

Bitmap Bitmap::decode(const uint8_t* bytes, size_t size) {
    if (!bytes || size == 0 || size > size_t(std::numeric_limits<int>::max()))
        return {};
    QImage img;
    if (!img.loadFromData(bytes, int(size)))
        return {};
    return fromQImage(img);
}

int Bitmap::frameCount(const std::string& path) {
    QImageReader reader(QString::fromStdString(path));
    if (!reader.canRead())
        return 0;
    int n = reader.imageCount();
    return n <= 0 ? 1 : n;
}

Bitmap Bitmap::loadFrame(const std::string& path, int index) {
    QImageReader reader(QString::fromStdString(path));
    reader.setAutoTransform(false);
    QImage img;
    for (int i = 0; i <= index; ++i) {
        if (!reader.read(&img))
            return {};
    }
    return fromQImage(img);
}

bool Bitmap::savePng(const std::string& path) const {
    if (image_.isNull())
        return false;
    QImageWriter writer(QString::fromStdString(path), "png");
    return writer.write(image_);
}

Bitmap Bitmap::copy(Rect r) const {
    int x0 = std::max(r.x, 0), y0 = std::max(r.y, 0);
    int x1 = std::min(r.x + r.w, width()), y1 = std::min(r.y + r.h, height());
    Bitmap out;
    if (x1 <= x0 || y1 <= y0)
        return out;
    out = Bitmap(x1 - x0, y1 - y0, format());
    for (int y = y0; y < y1; ++y)
        std::memcpy(out.row(y - y0), row(y) + x0, size_t(x1 - x0) * 4);
    return out;
}

} // namespace vork
