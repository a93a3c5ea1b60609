// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything the program asks of the desktop. The Qt window implements it; tests script it.
#include "gfx/Graphics.h"
#include "model/Limits.h"
#include "pixels/DocumentResize.h"
#include "pixels/ExportScale.h"
#include "pixels/MergeAnimation.h"
#include "pixels/Progress.h"
#include "ui/Commands.h"
#include "ui/Mode.h"

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vork {

// Keys and buttons whose held state the panels query when they need it.
enum class HeldKey {
    Left,
    Right,
    Up,
    Down,
    Delete,
    Enter,
    Escape,
    Shift,
    Control,
    LeftButton,
    RightButton
};

struct FileChooser {
    std::string title;
    std::vector<std::pair<std::string, std::string>> filters; // (description, "*.ext")
    std::string initialFolder;
    std::string defaultExtension; // with the dot, "" for none; a save replaces the typed one
    // A save chooser asks before it hands back the name of a file that exists.
    bool confirmOverwrite = true;
    // When set, a save chooser stores here the index in `filters` of the filter the user had
    // chosen (0 when none was).
    int* chosenFilter = nullptr;
};

// The sizes a new document may have; the dialogs refuse anything else.
inline bool validDocumentSize(int width, int height) {
    return width >= minDocumentSide && width <= maxDocumentSide && height >= minDocumentSide &&
           height <= maxDocumentSide;
}

struct NewDocumentAnswer {
    bool accepted = false; // OK with a size inside the allowed range
    int width = 0, height = 0;
};

// The size dialog's answer: OK with the new size and the interpolation, or Cancel.
struct PictureSizeAnswer {
    bool accepted = false;
    int width = 0, height = 0;
    Interpolation interpolation = Interpolation::Bicubic;
};

// The canvas dialog's answer: OK with the new size and where the old content goes, or Cancel.
struct CanvasSizeAnswer {
    bool accepted = false;
    int width = 0, height = 0;
    Anchor anchor = Anchor::Centre;
};

// The merge dialog's answer: OK with the place and, for AfterFrame, the frame number.
struct MergeAnswer {
    bool accepted = false;
    MergePlace place = MergePlace::AtEnd;
    int frameNumber = 0;
};

// The export scale dialog's answer: OK with the scale and, when it was asked, the padding
// between a sprite sheet's cells.
struct ExportScaleAnswer {
    bool accepted = false;
    int scale = 1;
    int padding = 0;
};

// One document the restore question lists: a copy kept by an earlier run of the program that
// ended with the document unsaved.
struct RecoveredDocument {
    Mode mode = Mode::Painter;
    int width = 0, height = 0;
    int frames = 0, layers = 0; // layers of all frames together
    std::time_t keptAt = 0;     // when the copy was last written
};

// What the restore question shows: the documents and the folder where their copies stay when
// the user declines.
struct RestoreQuestion {
    std::vector<RecoveredDocument> documents;
    std::string folder;
};

// The progress window of one long operation. It shows itself only when the work lasts longer
// than about half a second, and goes when this object is destroyed.
class ProgressWindow {
  public:
    virtual ~ProgressWindow() = default;
    // `done` of `total` steps are done; false once the user asked to stop.
    virtual bool step(int done, int total) = 0;
};

// The window's steps as the Progress callback the operations take.
inline Progress progressOf(ProgressWindow& window) {
    return [&window](int done, int total) { return window.step(done, total); };
}

class Platform {
  public:
    virtual ~Platform() = default;

    virtual uint32_t tickCount() = 0;         // milliseconds
    virtual bool isHeld(HeldKey key) = 0;     // held now
    virtual void invalidate() = 0;            // ask for one more paint
    virtual void postCommand(Command id) = 0; // to the own window, handled after this paint
    virtual void setTitle(const std::string& title) = 0;
    virtual void messageBox(const std::string& caption, const std::string& text) = 0;
    virtual void destroyWindow() = 0;

    // File choosers; `rememberedName` is the chooser's own file-name buffer, kept between calls.
    virtual std::optional<std::string> openFile(const FileChooser& c,
                                                std::string& rememberedName) = 0;
    virtual std::optional<std::string> saveFile(const FileChooser& c,
                                                std::string& rememberedName) = 0;

    // The modal new-document dialog. `onPreset` is called at once when a preset is
    // double-clicked, so the chosen size stays even when the dialog is then cancelled.
    virtual NewDocumentAnswer newDocumentDialog(Mode mode, int width, int height,
                                                const std::function<void(int, int)>& onPreset) = 0;
    virtual void aboutBox() = 0;
    virtual void keyReference() = 0;

    // The modal size, canvas and merge dialogs. The size edits of the first two keep their
    // values within the document side limits; the merge dialog's frame number never passes
    // `frameCount`.
    virtual PictureSizeAnswer pictureSizeDialog(Mode mode, int width, int height) = 0;
    virtual CanvasSizeAnswer canvasSizeDialog(Mode mode, int width, int height) = 0;
    virtual MergeAnswer mergeDialog(int frameCount) = 0;
    // The modal dialog before an image export: the whole-number scale (1..16) of the exported
    // images, each width x height, starting at `scale`; with a `padding` (a sprite sheet) also
    // the padding between cells (0..256). Its edits keep their values within those ranges.
    virtual ExportScaleAnswer exportScaleDialog(int width, int height, int scale,
                                                std::optional<int> padding) = 0;

    // A progress window for a long operation described by `label`.
    virtual std::unique_ptr<ProgressWindow> beginProgress(const std::string& label) = 0;

    // The modal question asked at start when documents can be restored: true for Yes.
    virtual bool restoreDialog(const RestoreQuestion& question) = 0;
};

} // namespace vork
