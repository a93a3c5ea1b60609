#include "files/ui/NewDocument.h"

#include "app/Layout.h"

namespace vork {

namespace {
float& widthOf(Editor& e, DocumentKind k) {
    return k == DocumentKind::Picture ? e.sizes.pictureWidth : e.sizes.animationWidth;
}
float& heightOf(Editor& e, DocumentKind k) {
    return k == DocumentKind::Picture ? e.sizes.pictureHeight : e.sizes.animationHeight;
}
} // namespace

void makeNewDocument(Editor& e, DocumentKind kind) {
    const int w = int(widthOf(e, kind)), h = int(heightOf(e, kind));
    if (kind == DocumentKind::Picture) {
        e.picture() = std::make_unique<Document>(w, h, 0.0);
        e.picture()->currentLayer().rebuildThumbnail(30, 30);
        layoutPainterCanvas(e);
    } else {
        e.animation() = std::make_unique<Document>(w, h, 100.0);
        layoutCanvasPanel(e);
        refreshCurrentThumbnails(*e.animation());
    }
    e.requestRepaint();
}

int runNewDocument(Editor& e, DocumentKind kind) {
    auto onPreset = [&e, kind](int w, int h) {
        widthOf(e, kind) = float(w);
        heightOf(e, kind) = float(h);
    };
    NewDocumentAnswer a = e.platform.newDocumentDialog(kind, int(widthOf(e, kind)),
                                                       int(heightOf(e, kind)), onPreset);
    // The dialog refuses sizes the program cannot draw; check again, the seam is ours to trust.
    if (!a.accepted || !validDocumentSize(a.width, a.height))
        return 2;
    widthOf(e, kind) = float(a.width);
    heightOf(e, kind) = float(a.height);
    makeNewDocument(e, kind);
    return 1;
}

} // namespace vork
