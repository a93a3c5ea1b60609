#pragma once
// The overlay of a mode's canvas: a transparent bitmap of the document's size into which the
// previews of shapes and selections are drawn, shown over the document through the view.
#include "canvas/Canvas.h"

namespace vork {

// The grey dashed pen every preview outlines with, made anew for each preview.
Pen previewPen();

// The mode's overlay, remade transparent at the document's size when it has another size.
Bitmap& overlayOfDocumentSize(Editor& e, Mode mode);

// Starts a preview: makes sure the overlay has the document's size, clears the part the last
// preview may have touched and marks the part this one may touch (the shown source rectangle
// with 3 added to its width and height). Returns the overlay to draw into.
Bitmap& beginOverlayPreview(Editor& e, Mode mode, const CanvasPlacement& p);

// Draws the overlay onto the back buffer through the view, as a layer.
void drawOverlay(Editor& e, Graphics& g, Mode mode, const CanvasPlacement& p);

} // namespace vork
