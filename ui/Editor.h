#pragma once
// All run-time state of the program, in plain records, and the few operations that many
// parts share. One Editor exists per window; tests build their own with a scripted Platform.
//
// State that exists once per mode lives in ModeState; the Editor holds one for each mode.
// A remembered layer or frame is kept by its serial number, never by a pointer or a list
// position, so a reorder or a deletion can never make it point at something else.
#include "files/DataFolder.h"
#include "gfx/Bitmap.h"
#include "gfx/Geometry.h"
#include "gfx/Paint.h"
#include "model/Composite.h"
#include "model/Document.h"
#include "model/Palette.h"
#include "model/UndoHistory.h"
#include "pixels/Pixels.h"
#include "pixels/Selection.h"
#include "ui/DocumentChanges.h"
#include "ui/LabelCache.h"
#include "ui/Mode.h"
#include "ui/Platform.h"
#include "ui/Tools.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace vork {

// Pointer and keyboard state written by the window and read by the panels.
struct InputState {
    int mouseX = 0, mouseY = 0;
    bool mouseDown = false;
    uint8_t lastChar = 0;    // typed since the last paint, code page 1251; 0 when none
    bool clickLatch = false; // one latch for all clickable widgets
    bool delayPopupActive = false;
    bool inputEnabled = true; // cleared while a modal dialog or chooser is open
};

// A screen region of the Animator: its current rectangle, the rectangle it was made with (the
// lower bounds of the layout) and its background image, rendered when the layout changes.
struct Panel {
    Panel(Rect initial)
        : x(initial.x), y(initial.y), width(initial.w), height(initial.h), minX(initial.x),
          minY(initial.y), minWidth(initial.w), minHeight(initial.h) {}
    int x, y, width, height;
    int minX, minY, minWidth, minHeight;
    Bitmap image; // RGB, width x height
    Rect rect() const { return {x, y, width, height}; }
    // Moves the panel and gives it a new background image of its size, to be rendered.
    void place(Rect r) {
        x = r.x;
        y = r.y;
        width = r.w;
        height = r.h;
        image = Bitmap(r.w, r.h, PixelFormat::Rgb);
    }
};

struct Panels {
    Panel commandBar{{0, 0, 92, 399}};
    Panel right{{493, 0, 220, 399}};
    Panel canvas{{92, 0, 401, 327}};
    Panel palette{{92, 327, 401, 72}};
    Panel picker{{102, 67, 381, 250}};
    Panel frame{{0, 399, 673, 95}};
};

// A button whose face is cut from the tool sheet; drawn pressed when the watched value is id.
struct ToolButton {
    int id = 0;
    int faceX = 0, faceY = 0;
    int faceWidth = 0, faceHeight = 0;
    Color lightColor = Color::rgb(255, 255, 255);
    Color darkColor = Color::rgb(104, 84, 80);
    Bitmap face;
};

// The Animator's playback; the numbers are the ids of the stop and play buttons.
enum class PlayState { Stopped = 0, Backward = 1, Forward = 2 };

// What the frame cycle itself keeps between paints: the count behind the title's frame rate.
struct FrameCycle {
    int frameCounter = 0;
    uint32_t lastTitleTime = 0;
};

// The preview of the right-hand column and its visible-area rectangle, in preview pixels.
struct PreviewState {
    Bitmap previewImage;
    float previewImageWidth = 165, previewImageHeight = 165;
    float previewX = 0, previewY = 0;
    float viewportX = 0, viewportY = 0, viewportWidth = 165, viewportHeight = 165;
    bool dragActive = false;
    int dragLastX = 0, dragLastY = 0;
};

// The tool engine's gesture state of one mode.
struct ToolDrag {
    bool shapeDrag = false;             // a two-point gesture or a selection move is in progress
    int dragStartX = 0, dragStartY = 0; // picture pixels (pointer / zoom while moving a selection)
    bool fillSwitchActive = false;      // Control turned the current tool into the fill
    Tool toolBeforeFill = Tool::None;
    uint32_t lastArrowMoveTime = 0;
};

// Where the zoomed document lies in the canvas: in view coordinates after the canvas layout,
// in window coordinates after each pass of the canvas.
struct CanvasGeometry {
    float pictureX = 0, pictureY = 0;
    float pictureWidth = 0, pictureHeight = 0;
};

// A layer row being dragged to another place in the list.
struct LayerDrag {
    bool active = false;
    int startX = 0, startY = 0;
    uint64_t layer = 0; // serial of the dragged layer
};

// The layer (by serial) the transparency lock was last applied to, and that layer's revision
// right after: the lock needs applying again only where the layer changed since.
struct LockApplied {
    uint64_t layer = 0;
    uint64_t revision = 0;
};

// The layer panel's state of one mode.
struct LayerPanelState {
    bool singleLayerView = false; // the canvas shows one layer alone
    uint64_t viewedLayer = 0;     // serial of the layer shown alone
    int layerScroll = 0;
    LayerDrag layerDrag;
    // While active, painting keeps the current layer's transparent pixels transparent.
    Selection transparencyLock;
    LockApplied lockApplied;
};

// The Painter renders the backgrounds of its bar and column once per layout, like the
// Animator's panel images.
struct PainterBackgrounds {
    Bitmap commandBar, column;
};

// State that exists once per mode.
struct ModeState {
    std::unique_ptr<Document> document; // the picture or the animation; may be absent
    DocumentChanges changes;            // unsaved changes and the document's recovery copy
    Bitmap scratch;                     // working bitmap of the drawing tools
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

    // Painter only.
    LayerCaches caches;
    PainterBackgrounds backgrounds;

    // Animator only: the onion skin, its opacity in percent, and the frame (by serial) the
    // last canvas pass showed.
    OnionSkin onion;
    float onionSkinOpacity = 100;
    uint64_t onionRememberedFrame = 0;
};

// The drawing colours, the palettes and the state of the palette panel and colour picker.
struct ColourState {
    Palettes palettes;
    Color currentColor = colors::black;
    int currentSwatch = 2;
    int currentReplacementSwatch = 0;
    Color alphaColor = colors::black;
    int drawAlpha = 255;
    bool replacementViewOpen = false; // the palette panel shows colour pairs
    bool smallPickerOpen = false, replacementPickerOpen = false;
    // The tool to give back when the replacement view or the small picker closes, and when the
    // replacement picker closes.
    Tool savedTool = Tool::None;
    Tool savedToolForReplacement = Tool::None;
    int currentBigSwatch = 0; // the colour picker's selected entry, shared by both forms
};

// The two delay pop-ups of the Animator. While one is open it holds the pointer
// (InputState::delayPopupActive) and reads the buttons itself.
struct DelayPopups {
    bool defaultDelayPopupOpen = false, frameDelayPopupOpen = false;
    int frameDelayCellX = 0;      // left edge of the cell whose delay text opened it
    uint64_t frameDelayFrame = 0; // serial of the frame whose delay it sets
    bool delayPressLatch = false; // the left button went down over one of its items
};

// A frame cell being dragged to another place in the strip.
struct FrameDrag {
    bool active = false;
    // Where the press started along the scrolled row of cells (window x plus the scroll), so
    // the strip may scroll during the drag.
    int startX = 0;
    uint64_t frame = 0; // serial of the dragged frame
};

// The Animator's frame strip and its playback clock.
struct FrameStripState {
    bool loopPlayback = true;   // stepping past either end comes round to the other
    uint32_t nextFrameTime = 0; // tick at which playback shows the next frame
    int stripScroll = 0;        // pixels the frame cells are scrolled left by
    FrameDrag frameDrag;
    LabelCache labels; // the cells' delay texts and numbers, drawn once each
};

// The file-name buffers of the choosers, kept for the whole run. The open and save choosers of
// a document format share one; every image chooser and the merge chooser has its own.
struct ChooserNames {
    std::string smallPalette;
    std::string bigPalette;
    std::string bigPaletteImage; // the image a big palette is sampled from
    std::string picture;   // ".trnl" open and save
    std::string animation; // ".gelm" open and save
    std::string gifImport;
    std::string imageAsPicture;
    std::string imageToInsert;
    std::string pictureExport;
    std::string framesExport;
    std::string gifExport;
    std::string sheetExport;
    std::string merge;
};

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

    bool painterMode = false;
    Tool currentTool = Tool::Pencil;
    PlayState playState = PlayState::Stopped;
    FrameStripState strip;

    std::array<ModeState, 2> modes;
    ModeState& mode(Mode m) { return modes[size_t(m)]; }
    const ModeState& mode(Mode m) const { return modes[size_t(m)]; }
    Mode activeModeKind() const { return painterMode ? Mode::Painter : Mode::Animator; }
    ModeState& activeMode() { return mode(activeModeKind()); }
    std::unique_ptr<Document>& picture() { return mode(Mode::Painter).document; }
    std::unique_ptr<Document>& animation() { return mode(Mode::Animator).document; }

    // Tools shared by both modes.
    StrokeState stroke;
    Path freehandPath;
    int rotationPresetIndex = 0;

    DocumentSizes sizes;
    ColourState colour;
    Selection selection;
    DelayPopups delayPopups;
    ChooserNames chooserNames;

    Bitmap toolSheet{175, 175};
    std::array<ToolButton, toolButtonCount> toolButtons;

    // Invalidates the window unless a modal dialog or chooser is open.
    void requestRepaint() {
        if (input.inputEnabled)
            platform.invalidate();
    }
};

// Asks for another paint the way the mode does it: the Animator invalidates the window at once
// (while input is enabled); the Painter sets its redraw request, which the start of its next
// frame turns into one.
void requestModeRepaint(Editor& e, Mode mode);

// The mode's size globals: the picture's or the animation's width and height.
float& documentWidth(Editor& e, Mode mode);
float& documentHeight(Editor& e, Mode mode);

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
