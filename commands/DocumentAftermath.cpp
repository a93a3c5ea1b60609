#include "commands/DocumentAftermath.h"

#include "canvas/CanvasView.h"

namespace vork {

namespace {

// Every layer's thumbnail, and every frame's in the Animator (the picture's only frame shows
// none).
void rebuildThumbnails(Document& d, Mode mode) {
    for (Frame& frame : d.frames()) {
        for (Layer& layer : frame.layers())
            layer.rebuildThumbnail(30, 30);
        if (mode == Mode::Animator)
            frame.rebuildThumbnail(55, 50);
    }
}

// Everything derived from the mode's document, after the document or its size changed.
void rebuildDerivedState(Editor& e, Mode mode) {
    ModeState& m = e.mode(mode);
    Document& d = *m.document;
    documentWidth(e, mode) = float(d.width);
    documentHeight(e, mode) = float(d.height);
    rebuildThumbnails(d, mode);
    // The history belongs to a layer of the old document: the canvas starts a new one on the
    // current layer at its next pass.
    m.history.reset();
    m.historyLayer = 0;
    m.caches.aroundLayer = 0;
    layoutCanvas(e, mode);
    sizeAftermath(e, mode);
}

} // namespace

void sizeAftermath(Editor& e, Mode mode) {
    ModeState& m = e.mode(mode);
    m.scratch = Bitmap(bitmapExtent(documentWidth(e, mode)), bitmapExtent(documentHeight(e, mode)));
    e.selection.drop();
    if (mode == Mode::Painter)
        resizeLayerCaches(m.caches.below, m.caches.above, e.sizes.pictureWidth,
                          e.sizes.pictureHeight);
    else
        m.onion.on = false;
    m.previewUpToDate = false;
    requestModeRepaint(e, mode);
}

void replaceDocument(Editor& e, Mode mode, std::unique_ptr<Document> document) {
    if (!document)
        return;
    e.mode(mode).document = std::move(document);
    rebuildDerivedState(e, mode);
}

void documentResized(Editor& e, Mode mode) {
    if (e.mode(mode).document)
        rebuildDerivedState(e, mode);
}

} // namespace vork
