// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// State that exists once per mode: the Editor holds one for the Painter and one for the
// Animator, and the functions that serve both modes take the mode and pick its record.
#include "gfx/Bitmap.h"
#include "gfx/Geometry.h"
#include "model/Document.h"
#include "model/UndoHistory.h"
#include "ui/CanvasState.h"
#include "ui/DocumentChanges.h"
#include "ui/LayerPanelState.h"
#include "ui/PreviewState.h"

#include <cstdint>
#include <memory>
#include <string>

namespace vork {

struct ModeState {
    ModeState(int width, int height) : width(width), height(height) {}

    std::unique_ptr<Document> document; // the picture or the animation; may be absent
    // The size a new document of the mode gets, kept between runs in the settings file; it
    // follows every document the mode opens or makes.
    int width, height;
    DocumentChanges changes; // unsaved changes and the document's recovery copy
    // The file the document was opened from or last saved to, where a save in place writes;
    // empty for a document that is in no file of its own (new, imported, restored).
    std::string filePath;
    Bitmap scratch; // working bitmap of the drawing tools
    // The pixels of the images the canvas and the preview draw reduced, kept so that a paint
    // allocates nothing.
    Bitmap reducedScratch;
    bool previewUpToDate = false;
    bool redrawRequest = false; // one more paint wanted; honoured while input is enabled
    int zoomIndex = 9;
    Bitmap canvasBackdrop;
    CanvasGeometry canvas;

    // Canvas: previews of shapes and selections are drawn into the overlay (document size);
    // overlayDirty is the part the last preview may have touched.
    Bitmap overlay;
    Rect overlayDirty;

    PreviewState preview;
    ToolDrag drag;
    LayerPanelState layers;

    // Undo history of one layer, and the layer it belongs to (by serial number).
    std::unique_ptr<UndoHistory> history;
    uint64_t historyLayer = 0;
};

} // namespace vork
