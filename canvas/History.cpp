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

// Copies the current state back into the layer and shows it.
void restore(Editor& e, Mode mode) {
    ModeState& m = e.mode(mode);
    Layer& layer = m.document->currentLayer();
    m.previewUpToDate = false;
    m.history->restoreInto(layer.image);
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
    m.history.reset();
    if (!m.document)
        return false;
    const Layer& layer = m.document->currentLayer();
    try {
        m.history = std::make_unique<UndoHistory>(layer.image);
    } catch (const std::bad_alloc&) {
        return false;
    }
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
    try {
        m.history->record(m.document->currentLayer().image);
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
