// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Bitmaps and Qt's images side by side, for tests and benchmarks that read or write image files
// with Qt itself, beside the program's own codec.
#include "gfx/Bitmap.h"

#include <QImage>
#include <QImageReader>
#include <QString>
#include <cstring>
#include <string>

namespace vork::test {

// The bitmap's pixels as a read-only QImage, without a copy; it must not outlive the bitmap.
inline QImage qtImageOf(const Bitmap& b) {
    const QImage::Format format = b.format() == PixelFormat::Rgb ? QImage::Format_RGB32
                                  : b.format() == PixelFormat::PremultipliedArgb
                                      ? QImage::Format_ARGB32_Premultiplied
                                      : QImage::Format_ARGB32;
    return QImage(b.bytes(), b.width(), b.height(), b.stride(), format);
}

// A copy of the image as an ARGB bitmap; null for a null image.
inline Bitmap bitmapOf(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    Bitmap out(argb.width(), argb.height());
    for (int y = 0; y < out.height(); ++y)
        std::memcpy(out.row(y), argb.constScanLine(y), size_t(out.stride()));
    return out;
}

// The first image of a file as an ARGB bitmap; null when Qt cannot read it.
inline Bitmap loadImage(const std::string& path) {
    QImageReader reader(QString::fromStdString(path));
    reader.setAutoTransform(false);
    return bitmapOf(reader.read());
}

} // namespace vork::test
