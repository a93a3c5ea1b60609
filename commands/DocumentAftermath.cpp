// SPDX-License-Identifier: GPL-3.0-or-later
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
    m.width = d.width;
    m.height = d.height;
    rebuildThumbnails(d, mode);
    // The history belongs to a layer of the old document: the canvas starts a new one on the
    // current layer at its next pass.
    m.history.reset();
    m.historyLayer = 0;
    e.painter.caches.aroundLayer = 0;
    layoutCanvas(e, mode);
    sizeAftermath(e, mode);
}

} // namespace

void sizeAftermath(Editor& e, Mode mode) {
    ModeState& m = e.mode(mode);
    m.scratch = Bitmap(m.width, m.height);
    e.selection.drop();
    if (mode == Mode::Painter)
        resizeLayerCaches(e.painter.caches.below, e.painter.caches.above, m.width, m.height);
    else
        e.animator.onion.on = false;
    m.previewUpToDate = false;
    requestModeRepaint(e, mode);
}

void replaceDocument(Editor& e, Mode mode, std::unique_ptr<Document> document) {
    if (!document)
        return;
    e.mode(mode).document = std::move(document);
    // The new document is in no file until an open or a save says which.
    e.mode(mode).filePath.clear();
    rebuildDerivedState(e, mode);
}

void documentResized(Editor& e, Mode mode) {
    if (e.mode(mode).document)
        rebuildDerivedState(e, mode);
}

} // namespace vork
