// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Thumbnail.h"

#include "gfx/Graphics.h"
#include "model/Document.h"
#include "model/Reduce.h"

namespace vork {

RectF thumbnailPlacement(int w, int h, float sourceWidth, float sourceHeight) {
    if (!(sourceWidth > 0) || !(sourceHeight > 0) || w <= 0 || h <= 0)
        return {};
    float dw = float(w), dh = float(h);
    if (sourceWidth > sourceHeight)
        dh = float(h) / (sourceWidth / sourceHeight);
    else if (sourceWidth < sourceHeight)
        dw = float(w) / (sourceHeight / sourceWidth);
    return {float(w) / 2 - dw / 2, float(h) / 2 - dh / 2, dw, dh};
}

Bitmap thumbnailBackdrop(int w, int h, float sourceWidth, float sourceHeight) {
    Bitmap thumbnail(w, h);
    RectF band = thumbnailPlacement(w, h, sourceWidth, sourceHeight);
    if (!thumbnail.isNull() && band.w > 0 && band.h > 0) {
        Graphics g(thumbnail);
        g.fillRect(Brush::hatch(HatchStyle::LargeCheckerBoard, Color::rgb(200, 200, 200),
                                Color::rgb(255, 255, 255)),
                   band);
    }
    return thumbnail;
}

namespace {

RectF wholeOf(const Bitmap& b) {
    return {0, 0, float(b.width()), float(b.height())};
}

// The layer's whole image fitted into the band: reduced from its kept reductions when it
// shrinks both ways (the usual case), otherwise scaled from the image itself.
void drawFitted(Graphics& g, Layer& layer, RectF band, Bitmap& scratch) {
    const RectF whole = wholeOf(layer.image);
    if (reducesInBoth(band, whole)) {
        drawReduced(g, reducibleOf(layer), band, whole, 1.0f, scratch);
        return;
    }
    g.setInterpolation(Interpolation::Bicubic);
    g.drawImage(layer.image, band, whole);
}

} // namespace

void Layer::rebuildThumbnail(int w, int h) {
    // Drawn whether or not the layer is visible: the layer list shows hidden layers too.
    Bitmap next = thumbnailBackdrop(w, h, float(image.width()), float(image.height()));
    RectF band = thumbnailPlacement(w, h, float(image.width()), float(image.height()));
    if (!next.isNull() && !image.isNull()) {
        Graphics g(next);
        Bitmap scratch;
        drawFitted(g, *this, band, scratch);
    }
    thumbnail = std::move(next);
}

void Frame::rebuildThumbnail(int w, int h) {
    // The frame is fitted by its current layer; every visible layer is scaled into the same
    // rectangle, bottom first, at full opacity.
    const Bitmap& fitted = current().image;
    Bitmap next = thumbnailBackdrop(w, h, float(fitted.width()), float(fitted.height()));
    RectF band = thumbnailPlacement(w, h, float(fitted.width()), float(fitted.height()));
    if (!next.isNull() && band.w > 0 && band.h > 0) {
        Graphics g(next);
        Bitmap scratch;
        for (Layer& layer : layers())
            if (layer.visible && !layer.image.isNull())
                drawFitted(g, layer, band, scratch);
    }
    thumbnail = std::move(next);
}

void refreshAllFrameThumbnails(Document& animation, int w, int h) {
    for (Frame& frame : animation.frames()) {
        frame.rebuildThumbnail(w, h);
        frame.current().rebuildThumbnail(30, 30);
    }
}

void refreshCurrentThumbnails(Document& animation) {
    Frame& frame = animation.current();
    frame.rebuildThumbnail(55, 50);
    frame.current().rebuildThumbnail(30, 30);
}

void refreshCurrentFrameThumbnails(Document& animation) {
    Frame& frame = animation.current();
    frame.rebuildThumbnail(55, 50);
    for (Layer& layer : frame.layers())
        layer.rebuildThumbnail(30, 30);
}

} // namespace vork
