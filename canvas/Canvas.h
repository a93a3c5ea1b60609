// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The canvas of each mode: the document scaled by the zoom, centred in the canvas panel over
// its backdrop and scrolled by the preview's visible-area rectangle. It also maps the pointer
// to picture coordinates for the tools, which it runs before drawing, so that a change made in
// a frame shows in the same frame.
#include "gfx/Graphics.h"
#include "model/Reduce.h"
#include "ui/Editor.h"

namespace vork {

// Where the document lies on the screen this frame and where the pointer points into it.
// Drawing and the tools both use these values, so the pixel under the pointer is the pixel a
// tool changes. All fractional; every conversion to a pixel index truncates.
struct CanvasPlacement {
    RectF panel; // the canvas panel, window pixels
    float zoom = 1;
    float imageLeft = 0, imageTop = 0; // top-left of the shown part of the document
    float visibleWidth = 0, visibleHeight = 0;
    float offsetX = 0, offsetY = 0; // picture point shown at the top-left, from the preview
    float pixelX = 0, pixelY = 0;   // the pointer in picture pixels
    bool inside = false;            // pointerInside of this frame
    RectF source;                   // the part of the document drawn, picture pixels

    RectF destination() const { return {imageLeft, imageTop, visibleWidth, visibleHeight}; }
};

// The canvas panel of the mode, from the mode's layout.
RectF canvasPanel(const Editor& e, Mode mode);

// The placement for the mode's document and this frame's pointer; without a document only
// the panel and the zoom are meaningful.
CanvasPlacement canvasPlacement(const Editor& e, Mode mode);

// The picture point at the centre of the visible part of the canvas, where a paste lands.
Point visibleCentre(const CanvasPlacement& p);

// Where the command bar's image insertion centres the image. Painter: visibleCentre. The
// Animator takes its visible part as the smaller of the panel and the animation one pixel
// smaller each way, zoomed ((width - 1) x zoom by (height - 1) x zoom).
Point insertionCentre(const CanvasPlacement& p, Mode mode, int width, int height);

// Whether the pointer lies on a screen pixel of the shown image: from the origin up to, not
// including, the origin plus the visible size.
bool pointerInside(const CanvasPlacement& p, int mouseX, int mouseY);

// Draws a document-size image (a layer, the onion skin, the overlay) from the placement's
// source rectangle into its destination, exactly as the pointer maps.
void drawThroughView(Graphics& g, const Bitmap& image, const CanvasPlacement& p,
                     float opacity = 1.0f);
// The same for an image that keeps reductions: below 100 % it is drawn from them, each
// screen pixel the box average of the picture area it shows, so the cost follows the screen;
// the reduced drawing is kept with the image and redrawn only where the image changed.
void drawThroughView(Graphics& g, const ReducibleImage& image, const CanvasPlacement& p,
                     float opacity);

// Brings the Painter's layer caches up to date over the part of the picture the canvas shows
// (the rest is composed when it comes into view).
void updatePainterLayerCaches(Editor& e);

// Draws the backdrop and, with a document, runs the tools and draws the document.
void drawCanvas(Editor& e, Graphics& g, Mode mode);

} // namespace vork
