// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvas/ToolEngine.h"

#include "canvas/History.h"
#include "canvas/SelectionTools.h"
#include "canvas/ShapeTools.h"
#include "pixels/SelectionOps.h"

namespace vork {

namespace {

struct PointerPixel {
    int x, y;
};
PointerPixel pointerPixel(const CanvasPlacement& p) {
    return {int(p.pixelX), int(p.pixelY)};
}

// The colour pick: the layer's pixel under the pointer becomes the colour being edited: a
// replacement pair's colour while the replacement view is open, otherwise the drawing colour
// and its swatch. The three fixed swatches (transparent, white, black) never change.
void colourPick(Editor& e, Mode mode, const CanvasPlacement& p) {
    if (!e.input.mouseDown || !p.inside || toolRow(e.currentTool).gesture != Gesture::Pick)
        return;
    const PointerPixel at = pointerPixel(p);
    const Color picked = e.mode(mode).document->currentLayer().image.pixel(at.x, at.y);
    ColourState& c = e.colour;
    if (c.replacementViewOpen) {
        auto& pairs = c.palettes.replacement;
        if (c.currentReplacementSwatch >= 0 && c.currentReplacementSwatch < int(pairs.size()))
            pairs[size_t(c.currentReplacementSwatch)].color = picked;
        return;
    }
    c.currentColor = picked;
    auto& swatches = c.palettes.small;
    if (c.currentSwatch > 2 && c.currentSwatch < int(swatches.size()))
        swatches[size_t(c.currentSwatch)].color = picked;
}

// The pencils: a freehand stroke, committed on the first frame that sees the button up. A stroke
// that leaves the canvas is committed there too, so that it is its own undo step; one that comes
// back starts afresh with a single point. Each step reports the box of the piece it drew, with a
// margin for the smoothed edge. Acts only when the current tool strokes with this edge.
void freehandStroke(Editor& e, Mode mode, const CanvasPlacement& p, Edge edge) {
    const ToolRow& row = toolRow(e.currentTool);
    if (row.gesture != Gesture::Freehand || row.shape != Shape::Stroke || row.edge != edge)
        return;
    StrokeState& s = e.stroke;
    if (!p.inside) {
        if (s.strokeActive)
            commit(e, mode);
        s.strokeActive = false;
        return;
    }
    if (!e.input.mouseDown && s.strokeActive)
        commit(e, mode);
    Layer& layer = e.mode(mode).document->currentLayer();
    const StrokeState before = s;
    auto edit = layer.edit();
    const Color ink = toolInk(e, row.tool);
    if (edge == Edge::Smooth)
        smoothPencilStep(s, e.input.mouseDown, p.pixelX, p.pixelY, layer.image, ink,
                         Smoothing::HighQuality);
    else
        pencilStep(s, e.input.mouseDown, p.pixelX, p.pixelY, layer.image, ink);
    if (!e.input.mouseDown)
        edit.touched({}); // a step without the button draws nothing
    else
        edit.touched(inflate(
            unite(before.strokeActive ? Rect{before.strokeLastX, before.strokeLastY, 1, 1} : Rect{},
                  {s.strokeLastX, s.strokeLastY, 1, 1}),
            2));
}

// The fill: fills on every frame the button is held; only a fill that changed pixels is an
// undo step.
void fill(Editor& e, Mode mode, const CanvasPlacement& p) {
    if (!e.input.mouseDown || !p.inside || toolRow(e.currentTool).gesture != Gesture::Fill)
        return;
    const PointerPixel at = pointerPixel(p);
    Layer& layer = e.mode(mode).document->currentLayer();
    Rect filled;
    {
        auto edit = layer.edit();
        filled = floodFillRegion(layer.image, at.x, at.y, toolInk(e, e.currentTool));
        edit.touched(filled);
    }
    if (!filled.empty())
        commit(e, mode);
}

// The gestures in the order they run. Several can act in one frame: the selection keys work
// whatever the current tool, and A or V make the rectangle selection current in the middle of
// the list, so the gestures before them act with the tool the frame started with and those
// after them with the rectangle selection.
void runToolsInOrder(Editor& e, Mode mode, const CanvasPlacement& p) {
    colourPick(e, mode, p);
    freehandStroke(e, mode, p, Edge::Hard);
    fill(e, mode, p);
    selectionTools(e, mode, p);
    freehandStroke(e, mode, p, Edge::Smooth);
    twoPointShapes(e, mode, p);
    filledFreehandShape(e, mode, p);
}

// Control turns the current tool into the fill while it is held, and gives the tool back on
// release. Not while the palette panel shows its replacement pairs (it owns the tool then).
void fillSwitch(Editor& e, Mode mode) {
    ToolDrag& d = e.mode(mode).drag;
    const bool control = e.platform.isHeld(HeldKey::Control);
    if (control && !d.fillSwitchActive && !e.colour.replacementViewOpen) {
        d.fillSwitchActive = true;
        d.toolBeforeFill = e.currentTool;
        e.currentTool = Tool::FloodFill;
        requestModeRepaint(e, mode);
    } else if (!control && d.fillSwitchActive) {
        d.fillSwitchActive = false;
        e.currentTool = d.toolBeforeFill;
        requestModeRepaint(e, mode);
    }
}

} // namespace

bool toolsMayDraw(const Editor& e, Mode mode) {
    const Document* d = e.modes[size_t(mode)].document.get();
    if (!d)
        return false;
    const Frame& frame = d->current();
    if (mode == Mode::Animator)
        return frame.enabled && frame.current().visible;
    // The Painter also draws on a hidden layer while it is the one shown alone.
    const LayerPanelState& l = e.mode(mode).layers;
    return frame.current().visible ||
           (l.singleLayerView && l.viewedLayer == frame.current().serial);
}

bool selectionToolsPaused(const Editor& e, Mode mode) {
    return mode == Mode::Animator && e.animator.playState != PlayState::Stopped;
}

void runTools(Editor& e, Mode mode, const CanvasPlacement& p) {
    if (!e.mode(mode).document)
        return;
    if (toolsMayDraw(e, mode))
        runToolsInOrder(e, mode, p);
    fillSwitch(e, mode);
}

void applyTransparencyLock(Editor& e, Mode mode) {
    ModeState& m = e.mode(mode);
    if (!m.layers.transparencyLock.active || !m.document)
        return;
    // The lock's mask covers what was empty when it was switched on. The layer obeyed it after
    // the last time it was applied, so only what changed since can need clearing.
    Layer& layer = m.document->currentLayer();
    LockApplied& applied = m.layers.lockApplied;
    const Rect changed = applied.layer == layer.serial
                             ? layer.changes.changedSince(layer.image, applied.revision)
                             : Rect{0, 0, layer.image.width(), layer.image.height()};
    if (!changed.empty()) {
        auto edit = layer.edit();
        cutOut(m.layers.transparencyLock, layer.image, changed);
        edit.touched(changed);
    }
    applied = {layer.serial, layer.changes.revision(layer.image)};
}

void commit(Editor& e, Mode mode) {
    if (!e.mode(mode).document)
        return;
    applyTransparencyLock(e, mode);
    refreshLayerThumbnails(e, mode);
    recordState(e, mode);
    markDocumentChanged(e, mode);
}

} // namespace vork
