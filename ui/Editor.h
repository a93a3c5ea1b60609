// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// All run-time state of the program, in plain records, and the few operations that many
// parts share. One Editor exists per window; tests build their own with a scripted Platform.
//
// State that exists once per mode lives in ModeState; the Editor holds one for each mode.
// State of one mode alone lives in the Painter's and the Animator's own records.
// A remembered layer or frame is kept by its serial number, never by a pointer or a list
// position, so a reorder or a deletion can never make it point at something else.
#include "files/DataFolder.h"
#include "files/ViewSettingsFile.h"
#include "gfx/Bitmap.h"
#include "gfx/Paint.h"
#include "pixels/Pixels.h"
#include "pixels/Selection.h"
#include "ui/AnimatorState.h"
#include "ui/ChooserNames.h"
#include "ui/ColourState.h"
#include "ui/FrameCycleState.h"
#include "ui/InputState.h"
#include "ui/Mode.h"
#include "ui/ModeState.h"
#include "ui/PainterState.h"
#include "ui/Panels.h"
#include "ui/Platform.h"
#include "ui/ToolButton.h"
#include "ui/Tools.h"
#include "ui/WidgetContext.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace vork {

class Editor {
  public:
    explicit Editor(Platform& platform) : platform(platform) {}

    Platform& platform;
    DataFolder data; // where the tool sheet, the settings and the default palettes live
    // Data files that could not be read and could not be kept aside either: the close must not
    // write over them.
    std::vector<std::string> dataFilesNotToSave;
    RecoveryState recovery; // where copies of unsaved documents are kept

    InputState input;
    int clientWidth = 713, clientHeight = 494; // client area of the window
    Panels panels;
    FrameCycle frame;

    Mode shownMode = Mode::Animator; // the mode the window shows
    Tool currentTool = Tool::Pencil;

    // The Painter's document is 300 x 300 and the Animator's 300 x 264 until the settings file
    // says otherwise.
    std::array<ModeState, 2> modes{ModeState(300, 300), ModeState(300, 264)};
    ModeState& mode(Mode m) { return modes[size_t(m)]; }
    const ModeState& mode(Mode m) const { return modes[size_t(m)]; }
    ModeState& activeMode() { return mode(shownMode); }
    std::unique_ptr<Document>& picture() { return mode(Mode::Painter).document; }
    std::unique_ptr<Document>& animation() { return mode(Mode::Animator).document; }
    PainterState painter;
    AnimatorState animator;

    // Tools shared by both modes.
    StrokeState stroke;
    Path freehandPath;
    int rotationPresetIndex = 0;

    ColourState colour;
    ViewSettings view; // the pixel grid switch, kept in the program's own file
    Selection selection;
    ChooserNames chooserNames;

    Bitmap toolSheet{175, 175};
    std::array<ToolButton, toolButtonCount> toolButtons;

    // Invalidates the window unless a modal dialog or chooser is open.
    void requestRepaint() { widgets().requestRepaint(); }
    // What the widgets may see of the Editor.
    WidgetContext widgets() { return {input, clientWidth, clientHeight, platform, toolSheet}; }
};

// Asks for another paint the way the mode does it: the Animator invalidates the window at once
// (while input is enabled); the Painter sets its redraw request, which the start of its next
// frame turns into one.
void requestModeRepaint(Editor& e, Mode mode);

// The sizes of new documents of both modes, as the settings file keeps them between runs.
struct DocumentSizes;
DocumentSizes documentSizes(const Editor& e);
void setDocumentSizes(Editor& e, const DocumentSizes& sizes);

// Input stays disabled while a modal dialog, chooser or message box is open; the window is
// painted again afterwards, since the dialog may have changed what it shows.
class ModalScope {
  public:
    explicit ModalScope(Editor& e) : e_(e), wasEnabled_(e.input.inputEnabled) {
        e_.input.inputEnabled = false;
    }
    ~ModalScope() {
        e_.input.inputEnabled = wasEnabled_;
        e_.requestRepaint();
    }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

  private:
    Editor& e_;
    bool wasEnabled_;
};

} // namespace vork
