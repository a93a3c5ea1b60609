// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/LayerCommands.h"

#include "canvas/History.h"
#include "canvas/ToolEngine.h"
#include "model/Limits.h"
#include "pixels/LayerOps.h"
#include "pixels/SelectionOps.h"
#include "ui/DocumentChanges.h"

#include <algorithm>

namespace vork {

namespace {

// What every change of the list, of a visibility or of the current layer's pixels ends in.
void showLayerChange(Editor& e, Mode mode) {
    ModeState& m = e.mode(mode);
    m.previewUpToDate = false;
    refreshLayerThumbnails(e, mode);
    requestModeRepaint(e, mode);
}

// The single-layer view follows the current layer when the list changes under it.
void viewCurrentLayer(ModeState& m) {
    if (m.layers.singleLayerView)
        m.layers.viewedLayer = m.document->currentLayer().serial;
}

// A new empty layer directly above the current one, made current. Numbered from the frame's
// counter, visible, opaque; inserting switches the frame on.
Layer& insertAboveCurrent(Frame& f) {
    f.insertLayerAt(f.currentLayerIndex() + 1);
    f.current().rebuildThumbnail();
    return f.current();
}

bool mergeDown(Editor& e, Mode mode, Frame& f) {
    const int upper = f.currentLayerIndex();
    if (upper == 0 || !f.layer(upper - 1).visible)
        return false;
    Layer& lower = f.layer(upper - 1);
    if (!mergeLayerPixels(lower.image, lower.opacity, f.layer(upper).image, f.layer(upper).opacity))
        return false;
    f.deleteLayer(upper);
    f.setCurrentLayer(upper - 1);
    lower.opacity = 255;
    applyTransparencyLock(e, mode);
    lower.rebuildThumbnail();
    return true;
}

void toggleTransparencyLock(Selection& lock, const Layer& layer) {
    if (lock.active) {
        lock.active = false;
        return;
    }
    if (!makeTransparencyLock(lock, layer.image))
        lock.active = false;
}

// Runs one button on the current frame; true when something changed.
bool changeLayers(Editor& e, Mode mode, LayerButton b) {
    ModeState& m = e.mode(mode);
    Frame& f = m.document->current();
    Layer& current = f.current();
    switch (b) {
    case LayerButton::Delete:
        if (!current.visible || f.layerCount() <= 1)
            return false;
        f.deleteCurrentLayer();
        return true;
    case LayerButton::New:
        if (f.layerCount() >= maxLayersPerFrame) // the file could not be opened again
            return false;
        insertAboveCurrent(f);
        return true;
    case LayerButton::Duplicate: {
        if (f.layerCount() >= maxLayersPerFrame)
            return false;
        Layer& copy = insertAboveCurrent(f);
        copyPixels(current.image, copy.image);
        copy.thumbnail = current.thumbnail.clone();
        return true;
    }
    case LayerButton::Clear:
        if (!current.visible)
            return false;
        current.image.fill(colors::transparent);
        return true;
    case LayerButton::MergeDown:
        return current.visible && mergeDown(e, mode, f);
    case LayerButton::Lock:
        if (!current.visible)
            return false;
        toggleTransparencyLock(m.layers.transparencyLock, current);
        return true;
    }
    return false;
}

bool recordsUndoState(Mode mode, LayerButton b) {
    if (mode == Mode::Animator)
        return b == LayerButton::Clear;
    return b == LayerButton::New || b == LayerButton::Duplicate || b == LayerButton::Clear ||
           b == LayerButton::MergeDown;
}

} // namespace

void runLayerButton(Editor& e, Mode mode, LayerButton button) {
    ModeState& m = e.mode(mode);
    if (!m.document || !changeLayers(e, mode, button) || button == LayerButton::Lock)
        return;
    markDocumentChanged(e, mode);
    viewCurrentLayer(m);
    if (recordsUndoState(mode, button))
        recordState(e, mode);
    showLayerChange(e, mode);
}

void toggleLayerVisibility(Editor& e, Mode mode, Layer& layer) {
    layer.visible = !layer.visible;
    markDocumentChanged(e, mode);
    showLayerChange(e, mode);
}

void toggleLayerShownAlone(Editor& e, Mode mode, const Layer& layer) {
    LayerPanelState& l = e.mode(mode).layers;
    l.singleLayerView = l.viewedLayer == layer.serial ? !l.singleLayerView : true;
    l.viewedLayer = layer.serial;
    showLayerChange(e, mode);
}

void pickLayer(Editor& e, Mode mode, Layer& layer) {
    ModeState& m = e.mode(mode);
    Frame& f = m.document->current();
    const int position = f.layerWithSerial(layer.serial);
    if (position < 0 || position == f.currentLayerIndex())
        return;
    f.setCurrentLayer(position);
    viewCurrentLayer(m);
    if (mode == Mode::Animator)
        layer.rebuildThumbnail();
    requestModeRepaint(e, mode);
}

bool moveDraggedLayer(Editor& e, Mode mode, uint64_t dragged, uint64_t target, DropPlace place) {
    ModeState& m = e.mode(mode);
    Frame& f = m.document->current();
    const int from = f.layerWithSerial(dragged), onto = f.layerWithSerial(target);
    if (from < 0 || onto < 0 || dragged == target)
        return false;
    // Taking the layer out closes its own place, which shifts the layers above it down by one.
    const int targetAfter = onto > from ? onto - 1 : onto;
    f.moveLayer(from, place == DropPlace::Below ? targetAfter : targetAfter + 1);
    markDocumentChanged(e, mode);
    viewCurrentLayer(m);
    showLayerChange(e, mode);
    return true;
}

void setLayerOpacity(Editor& e, Mode mode, int opacity) {
    ModeState& m = e.mode(mode);
    Layer& layer = m.document->currentLayer();
    opacity = std::clamp(opacity, 0, 255);
    if (layer.opacity == opacity)
        return;
    layer.opacity = opacity;
    markDocumentChanged(e, mode);
    m.previewUpToDate = false;
    requestModeRepaint(e, mode);
}

} // namespace vork
