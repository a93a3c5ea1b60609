// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading an exported GIF back, for the tests and the benchmark: once with giflib's decoder and
// the canvas rules of browsers written out here, once with Qt's reader.
#include "gfx/Bitmap.h"
#include "gfx/Geometry.h"
#include "support/QtImages.h"

#include <QBuffer>
#include <QImageReader>
#include <gif_lib.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace vork::test {

struct GiflibFrame {
    Bitmap shown; // the whole screen once the frame is drawn
    Rect rect;
    int delay = -1; // hundredths; -1 without a graphics control block
    int disposal = DISPOSAL_UNSPECIFIED;
    int transparentIndex = NO_TRANSPARENT_COLOR;
    bool localPalette = false;
};

struct GiflibRead {
    bool ok = false;
    std::string error;
    int width = 0, height = 0;
    bool globalPalette = false;
    int loopCount = -1; // from the NETSCAPE2.0 block; -1 when there is none
    std::vector<GiflibFrame> frames;
    // The first frame drawn again over what the last one left, as a viewer that keeps its canvas
    // between rounds of the loop shows it.
    Bitmap firstFrameSecondRound;
};

namespace gifreadback {

struct Source {
    const std::vector<uint8_t>* bytes;
    size_t at = 0;
};

inline int readBytes(GifFileType* gif, GifByteType* into, int count) {
    auto* source = static_cast<Source*>(gif->UserData);
    const size_t n = std::min(size_t(count), source->bytes->size() - source->at);
    std::memcpy(into, source->bytes->data() + source->at, n);
    source->at += n;
    return int(n);
}

// The loop count of a NETSCAPE2.0 block among the extensions, -1 when there is none.
inline int loopCountOf(const ExtensionBlock* blocks, int count) {
    for (int i = 0; i + 1 < count; ++i)
        if (blocks[i].Function == APPLICATION_EXT_FUNC_CODE && blocks[i].ByteCount == 11 &&
            std::memcmp(blocks[i].Bytes, "NETSCAPE2.0", 11) == 0 &&
            blocks[i + 1].Function == CONTINUE_EXT_FUNC_CODE && blocks[i + 1].ByteCount == 3 &&
            blocks[i + 1].Bytes[0] == 1)
            return blocks[i + 1].Bytes[1] | blocks[i + 1].Bytes[2] << 8;
    return -1;
}

// Draws the image onto the canvas: every pixel but the transparent index, in its colour.
inline void drawImage(const SavedImage& image, const ColorMapObject* map, int transparent,
                      Bitmap& canvas) {
    const GifImageDesc& d = image.ImageDesc;
    for (int y = 0; y < d.Height; ++y)
        for (int x = 0; x < d.Width; ++x) {
            const int index = image.RasterBits[y * d.Width + x];
            if (index == transparent || index >= map->ColorCount)
                continue;
            const GifColorType c = map->Colors[index];
            canvas.setPixel(d.Left + x, d.Top + y, Color::rgb(c.Red, c.Green, c.Blue));
        }
}

inline void dispose(const GiflibFrame& frame, Bitmap& canvas) {
    if (frame.disposal == DISPOSE_BACKGROUND) // browsers clear to transparency
        for (int y = frame.rect.y; y < frame.rect.y + frame.rect.h; ++y)
            for (int x = frame.rect.x; x < frame.rect.x + frame.rect.w; ++x)
                canvas.setPixel(x, y, colors::transparent);
}

} // namespace gifreadback

// Decodes the whole file with DGifSlurp and composes every frame as a browser does: the first
// on a transparent canvas, each next one over what the disposal of the one before left.
inline GiflibRead readWithGiflib(const std::vector<uint8_t>& bytes) {
    GiflibRead out;
    gifreadback::Source source{&bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&source, gifreadback::readBytes, &error);
    if (!gif) {
        out.error = GifErrorString(error);
        return out;
    }
    if (DGifSlurp(gif) != GIF_OK) {
        out.error = GifErrorString(gif->Error);
        DGifCloseFile(gif, &error);
        return out;
    }
    out.width = gif->SWidth, out.height = gif->SHeight;
    out.globalPalette = gif->SColorMap != nullptr;
    Bitmap canvas(out.width, out.height);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        if (i == 0)
            out.loopCount =
                gifreadback::loopCountOf(image.ExtensionBlocks, image.ExtensionBlockCount);
        GiflibFrame frame;
        GraphicsControlBlock control{};
        if (DGifSavedExtensionToGCB(gif, i, &control) == GIF_OK) {
            frame.delay = control.DelayTime;
            frame.disposal = control.DisposalMode;
            frame.transparentIndex = control.TransparentColor;
        }
        const GifImageDesc& d = image.ImageDesc;
        frame.rect = {d.Left, d.Top, d.Width, d.Height};
        frame.localPalette = d.ColorMap != nullptr;
        const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
        if (!map) {
            out.error = "a frame without a palette";
            DGifCloseFile(gif, &error);
            return out;
        }
        gifreadback::drawImage(image, map, frame.transparentIndex, canvas);
        frame.shown = canvas.clone();
        gifreadback::dispose(frame, canvas);
        out.frames.push_back(std::move(frame));
    }
    if (gif->ImageCount > 0) {
        const ColorMapObject* map = gif->SavedImages[0].ImageDesc.ColorMap
                                        ? gif->SavedImages[0].ImageDesc.ColorMap
                                        : gif->SColorMap;
        gifreadback::drawImage(gif->SavedImages[0], map, out.frames[0].transparentIndex, canvas);
        out.firstFrameSecondRound = canvas.clone();
    }
    DGifCloseFile(gif, &error);
    out.ok = true;
    return out;
}

struct QtRead {
    QByteArray format;
    int imageCount = 0;
    int loopCount = 0;
    std::vector<Bitmap> frames;
    std::vector<int> delaysMs;
};

// Every frame as Qt's GIF reader gives it, with the delay it reports for each.
inline QtRead readWithQt(const std::vector<uint8_t>& bytes) {
    QtRead out;
    QByteArray data(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    out.format = reader.format();
    out.imageCount = reader.imageCount();
    out.loopCount = reader.loopCount();
    QImage image;
    while (reader.read(&image)) {
        out.frames.push_back(test::bitmapOf(image));
        out.delaysMs.push_back(reader.nextImageDelay());
    }
    return out;
}

} // namespace vork::test
