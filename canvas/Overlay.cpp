#include "canvas/Overlay.h"

#include "pixels/Pixels.h"

namespace vork {

Pen previewPen() {
    return Pen{Color::rgb(128, 128, 128), 1.0f, {3, 3}};
}

Bitmap& overlayOfDocumentSize(Editor& e, Mode mode) {
    ModeState& m = e.mode(mode);
    const Document& d = *m.document;
    if (m.overlay.width() != d.width || m.overlay.height() != d.height) {
        m.overlay = Bitmap(d.width, d.height);
        m.overlayDirty = {};
    }
    return m.overlay;
}

Bitmap& beginOverlayPreview(Editor& e, Mode mode, const CanvasPlacement& p) {
    overlayOfDocumentSize(e, mode);
    ModeState& m = e.mode(mode);
    const Rect& dirty = m.overlayDirty;
    clearRectangle(dirty.x, dirty.y, dirty.w, dirty.h, m.overlay);
    m.overlayDirty = {int(p.source.x), int(p.source.y), int(p.source.w + 3), int(p.source.h + 3)};
    return m.overlay;
}

void drawOverlay(Editor& e, Graphics& g, Mode mode, const CanvasPlacement& p) {
    drawThroughView(g, e.mode(mode).overlay, p);
}

} // namespace vork
