// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvas/History.h"

#include "canvas/Canvas.h"
#include "ui/Keys.h"

#include <new>

namespace vork {

namespace {

// Starts a new history when the current layer is not the one the history was made for;
// a Selection taken from the old layer is dropped with it. True when it restarted.
bool followCurrentLayer(Editor& e, Mode mode) {
    ModeState& m = e.mode(mode);
    if (m.history && m.historyLayer == m.document->currentLayer().serial)
        return false;
    if (m.history)
        e.selection.drop();
    startHistory(e, mode);
    return true;
}

// What the layer changed since it last held a state of the history.
Rect changedSinceHistory(const Layer& layer, const UndoHistory& history) {
    return layer.changes.changedSince(layer.image, history.layerRevision);
}

// Copies the current state back into the layer and shows it. Only the tiles that differ from
// what the layer holds are written, and only they are reported changed.
void restore(Editor& e, Mode mode) {
    ModeState& m = e.mode(mode);
    Layer& layer = m.document->currentLayer();
    m.previewUpToDate = false;
    const Rect changed = changedSinceHistory(layer, *m.history);
    {
        auto edit = layer.edit();
        edit.touched(m.history->restoreInto(layer.image, changed));
    }
    m.history->layerRevision = layer.changes.revision(layer.image);
    markDocumentChanged(e, mode);
    refreshLayerThumbnails(e, mode);
    requestModeRepaint(e, mode);
}

} // namespace

void refreshLayerThumbnails(Editor& e, Mode mode) {
    Document& d = *e.mode(mode).document;
    if (mode == Mode::Animator)
        refreshCurrentThumbnails(d);
    else // the picture's only frame has no thumbnail of its own
        d.currentLayer().rebuildThumbnail(30, 30);
}

bool startHistory(Editor& e, Mode mode) {
    ModeState& m = e.mode(mode);
    if (!m.document) {
        m.history.reset();
        return false;
    }
    const Layer& layer = m.document->currentLayer();
    try {
        // The old history's memory serves the new one.
        if (m.history)
            m.history->restart(layer.image);
        else
            m.history = std::make_unique<UndoHistory>(layer.image);
    } catch (const std::bad_alloc&) {
        m.history.reset();
        return false;
    }
    m.history->layerRevision = layer.changes.revision(layer.image);
    m.historyLayer = layer.serial;
    // The Animator preview is rebuilt when a history starts (a frame or layer was chosen).
    if (mode == Mode::Animator)
        m.previewUpToDate = false;
    return true;
}

void recordState(Editor& e, Mode mode) {
    ModeState& m = e.mode(mode);
    if (!m.document)
        return;
    m.previewUpToDate = false;
    markDocumentChanged(e, mode);
    // A fresh history already holds the layer as it is now.
    if (followCurrentLayer(e, mode) || !m.history)
        return;
    const Layer& layer = m.document->currentLayer();
    try {
        m.history->record(layer.image, changedSinceHistory(layer, *m.history));
        m.history->layerRevision = layer.changes.revision(layer.image);
    } catch (const std::bad_alloc&) {
        // The change stays in the layer; only its undo step is lost.
    }
}

void undoRedoFrame(Editor& e, Mode mode) {
    ModeState& m = e.mode(mode);
    if (!m.document)
        return;
    followCurrentLayer(e, mode);
    if (!m.history)
        return;
    // Restored even when the step could not move, so the layer shows the state exactly.
    if (typed(e.input, key::undo)) {
        m.history->undo();
        restore(e, mode);
    }
    if (typed(e.input, key::redo)) {
        m.history->redo();
        restore(e, mode);
    }
}

} // namespace vork
