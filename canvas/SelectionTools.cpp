// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvas/SelectionTools.h"

#include "canvas/History.h"
#include "canvas/Overlay.h"
#include "canvas/ShapeTools.h"
#include "canvas/ToolEngine.h"
#include "pixels/SelectionOps.h"
#include "ui/Keys.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vork {

namespace {

bool held(Editor& e, HeldKey key) {
    return e.platform.isHeld(key);
}

// Whether the current tool selects with this shape.
bool selectsWith(const Editor& e, Shape shape) {
    const ToolRow& row = toolRow(e.currentTool);
    return row.gesture == Gesture::Select && row.shape == shape;
}

Bitmap& currentImage(Editor& e, Mode mode) {
    return e.mode(mode).document->currentLayer().image;
}

// The pointer in screen pixels divided by the zoom: the unit of a selection move, so that the
// image follows the pointer by whole picture pixels at every zoom.
int zoomedPointer(int screen, float zoom) {
    return int(float(screen) / zoom);
}

// The Selection's image cut out of the current layer where it lies now.
void cutOutOfCurrentLayer(Editor& e, Mode mode) {
    Layer& layer = e.mode(mode).document->currentLayer();
    auto edit = layer.edit();
    cutOut(e.selection, layer.image);
    edit.touched(placedBounds(e.selection));
}

// Ends the gesture in progress: no selection, no drag, and the button counts as released
// until the window sees it pressed again.
void endGesture(Editor& e, Mode mode) {
    e.selection.drop();
    e.input.mouseDown = false;
    e.mode(mode).drag.shapeDrag = false;
}

// A two-point take needs the release more than one pixel away from the start in both
// directions; a shorter one is refused and clears the Selection.
bool farEnough(const ToolDrag& d, const CanvasPlacement& p) {
    return std::fabs(float(d.dragStartX) - p.pixelX) > 1 &&
           std::fabs(float(d.dragStartY) - p.pixelY) > 1;
}

// Shared by the releases of the three selection takes.
template <typename Take>
void releaseSelection(Editor& e, Mode mode, const CanvasPlacement& p, Take take) {
    ToolDrag& d = e.mode(mode).drag;
    if (farEnough(d, p)) {
        take();
        e.rotationPresetIndex = 0;
    } else {
        endGesture(e, mode);
    }
    d.shapeDrag = false;
}

void startDrag(ToolDrag& d, const CanvasPlacement& p) {
    d.shapeDrag = true;
    d.dragStartX = int(p.pixelX);
    d.dragStartY = int(p.pixelY);
}

// The lasso: the outline follows the pointer while the button is held; the path collects in
// freehandPath (the release fills it into the overlay, where the next preview clears it).
void lassoPressAndDrag(Editor& e, Mode mode, const CanvasPlacement& p) {
    if (e.selection.active || !p.inside || !selectsWith(e, Shape::Polygon) ||
        selectionToolsPaused(e, mode))
        return;
    ModeState& m = e.mode(mode);
    freehandStep(e.stroke, e.input.mouseDown, int(p.pixelX), int(p.pixelY), e.freehandPath,
                 overlayOfDocumentSize(e, mode), toolInk(e, e.currentTool));
    if (!m.drag.shapeDrag && e.input.mouseDown)
        startDrag(m.drag, p);
}

// The lasso's release takes the outline.
void lassoRelease(Editor& e, Mode mode, const CanvasPlacement& p) {
    const ToolDrag& d = e.mode(mode).drag;
    if (e.selection.active || !d.shapeDrag || e.input.mouseDown || !p.inside ||
        !selectsWith(e, Shape::Polygon))
        return;
    releaseSelection(e, mode, p,
                     [&] { takePath(e.selection, e.freehandPath, currentImage(e, mode)); });
}

// The rectangle and ellipse selections: the press remembers the pointer pixel, the release takes
// the rectangle or the ellipse inscribed in it.
void twoPointSelection(Editor& e, Mode mode, const CanvasPlacement& p) {
    ToolDrag& d = e.mode(mode).drag;
    const bool rectangle = selectsWith(e, Shape::Rectangle);
    if (e.selection.active || !p.inside || !(rectangle || selectsWith(e, Shape::Ellipse)))
        return;
    if (!d.shapeDrag && e.input.mouseDown) {
        if (!selectionToolsPaused(e, mode))
            startDrag(d, p);
    } else if (d.shapeDrag && !e.input.mouseDown) {
        const Rect r = selectionRectangle(d, p);
        const auto take = rectangle ? takeRectangle : takeEllipse;
        releaseSelection(e, mode, p, [&] { take(e.selection, r, currentImage(e, mode)); });
    }
}

// The start of a move: a press anywhere on the image starts a move, not only on the Selection.
void moveStart(Editor& e, Mode mode, const CanvasPlacement& p) {
    ToolDrag& d = e.mode(mode).drag;
    if (!e.selection.active || d.shapeDrag || !e.input.mouseDown || !p.inside ||
        !selectionToolChosen(e))
        return;
    d.dragStartX = zoomedPointer(e.input.mouseX, p.zoom);
    d.dragStartY = zoomedPointer(e.input.mouseY, p.zoom);
    d.shapeDrag = true;
}

// The move. A turned selection that is not lifted (a copy kept after C) moves without cutting.
void move(Editor& e, Mode mode, const CanvasPlacement& p) {
    ToolDrag& d = e.mode(mode).drag;
    Selection& s = e.selection;
    if (!s.active || !d.shapeDrag || !p.inside || !selectionToolChosen(e))
        return;
    if (!s.lifted && s.angle == 0)
        liftSelection(e, mode);
    const int cx = zoomedPointer(e.input.mouseX, p.zoom);
    const int cy = zoomedPointer(e.input.mouseY, p.zoom);
    if (cx != d.dragStartX) {
        s.x -= float(d.dragStartX - cx);
        d.dragStartX = cx;
    }
    if (cy != d.dragStartY) {
        s.y -= float(d.dragStartY - cy);
        d.dragStartY = cy;
    }
    if (!e.input.mouseDown)
        d.shapeDrag = false;
    s.lifted = true;
}

// The arrow keys. The four keys share one clock, so two held keys never move diagonally: the first
// of them in this order takes each step.
void arrowKeys(Editor& e, Mode mode) {
    Selection& s = e.selection;
    if (!s.active)
        return;
    struct Arrow {
        HeldKey key;
        int dx, dy;
    };
    constexpr std::array<Arrow, 4> arrows{{{HeldKey::Left, -1, 0},
                                           {HeldKey::Right, 1, 0},
                                           {HeldKey::Up, 0, -1},
                                           {HeldKey::Down, 0, 1}}};
    constexpr uint32_t stepMilliseconds = 100;
    ToolDrag& d = e.mode(mode).drag;
    for (const Arrow& a : arrows) {
        if (!held(e, a.key))
            continue;
        if (!s.lifted && s.angle == 0)
            liftSelection(e, mode);
        const uint32_t now = e.platform.tickCount();
        if (now - d.lastArrowMoveTime > stepMilliseconds) {
            d.lastArrowMoveTime = now;
            s.x += float(a.dx);
            s.y += float(a.dy);
        }
        s.lifted = true;
    }
}

// A: the whole layer; a Selection that existed before is replaced without being
// stamped, and its lifted flag stays as it was.
void selectAll(Editor& e, Mode mode) {
    if (!typed(e.input, key::a) || selectionToolsPaused(e, mode))
        return;
    const Document& d = *e.mode(mode).document;
    takeRectangle(e.selection, {0, 0, d.width, d.height}, currentImage(e, mode));
    e.currentTool = Tool::RectangleSelection;
}

// Delete: the pixels under the image at its present place and angle become transparent.
void deleteSelection(Editor& e, Mode mode) {
    if (!e.selection.active || !held(e, HeldKey::Delete) || selectionToolsPaused(e, mode))
        return;
    cutOutOfCurrentLayer(e, mode);
    endGesture(e, mode);
    refreshLayerThumbnails(e, mode);
    recordState(e, mode);
}

// Enter stamps the image onto the layer.
void stampSelection(Editor& e, Mode mode) {
    if (!e.selection.active || !held(e, HeldKey::Enter) || selectionToolsPaused(e, mode))
        return;
    {
        auto edit = e.mode(mode).document->currentLayer().edit();
        stamp(e.selection, currentImage(e, mode));
        edit.touched(placedBounds(e.selection));
    }
    endGesture(e, mode);
    commit(e, mode);
}

// C: the copy also puts the Selection back to not lifted, so moving it again cuts the
// pixels under it at its new place.
void copyKey(Editor& e, Mode mode) {
    if (!e.selection.active || !typed(e.input, key::c) || selectionToolsPaused(e, mode))
        return;
    e.selection.lifted = false;
    e.mode(mode).drag.shapeDrag = false;
    e.input.mouseDown = false;
    copySelection(e.selection);
}

// V: the copy lands centred on the picture point at the centre of the visible part of
// the canvas; with nothing copied the Selection is only cleared.
void pasteKey(Editor& e, Mode mode, const CanvasPlacement& p) {
    if (!typed(e.input, key::v) || selectionToolsPaused(e, mode))
        return;
    e.currentTool = Tool::RectangleSelection;
    endGesture(e, mode);
    const Point centre = visibleCentre(p);
    pasteSelection(e.selection, centre.x, centre.y);
    requestModeRepaint(e, mode);
}

// The cancel: Escape, the right button or a drag leaving the canvas. A lifted image is dropped
// without being stamped; its pixels stay cut out of the layer until undone.
void cancel(Editor& e, Mode mode, const CanvasPlacement& p) {
    const bool dragLeftCanvas = e.mode(mode).drag.shapeDrag && !p.inside;
    if (!dragLeftCanvas && !held(e, HeldKey::Escape) && !held(e, HeldKey::RightButton))
        return;
    endGesture(e, mode);
    // An outline being collected is forgotten too; otherwise the next press would continue
    // it from where the cancelled one stopped.
    if (toolRow(e.currentTool).shape == Shape::Polygon)
        e.stroke.strokeActive = false;
    e.rotationPresetIndex = 0;
    refreshLayerThumbnails(e, mode);
    requestModeRepaint(e, mode);
}

} // namespace

bool selectionToolChosen(const Editor& e) {
    return toolRow(e.currentTool).gesture == Gesture::Select;
}

Rect selectionRectangle(const ToolDrag& d, const CanvasPlacement& p) {
    const RectF r = twoPointRectangle(d.dragStartX, d.dragStartY, p.pixelX, p.pixelY);
    return {int(r.x), int(r.y), int(r.w), int(r.h)};
}

void liftSelection(Editor& e, Mode mode) {
    Selection& s = e.selection;
    if (s.lifted)
        return;
    s.lifted = true;
    ModeState& m = e.mode(mode);
    if (!m.document)
        return;
    cutOutOfCurrentLayer(e, mode);
    recordState(e, mode);
    // The Animator's thumbnails follow at the next commit; the Painter's layer thumbnail
    // shows the hole at once.
    if (mode == Mode::Painter)
        refreshLayerThumbnails(e, mode);
}

void selectionTools(Editor& e, Mode mode, const CanvasPlacement& p) {
    lassoPressAndDrag(e, mode, p);
    lassoRelease(e, mode, p);
    twoPointSelection(e, mode, p);
    moveStart(e, mode, p);
    move(e, mode, p);
    arrowKeys(e, mode);
    selectAll(e, mode);
    deleteSelection(e, mode);
    stampSelection(e, mode);
    copyKey(e, mode);
    pasteKey(e, mode, p);
    cancel(e, mode, p);
}

} // namespace vork
