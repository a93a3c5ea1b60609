#pragma once
// All run-time state of the program, in plain records, and the few operations that many
// parts share. One Editor exists per window; tests build their own with a scripted Platform.
#include "app/Platform.h"
#include "canvas/pixels/Pixels.h"
#include "canvas/pixels/Selection.h"
#include "gfx/Bitmap.h"
#include "gfx/Geometry.h"
#include "model/Composite.h"
#include "model/Document.h"
#include "model/Palette.h"
#include "model/UndoHistory.h"
#include "gfx/Paint.h"

#include <array>
#include <memory>
#include <optional>
#include <string>

namespace vork {

// Pointer and keyboard state written by the window and read by the panels.
struct InputState {
    int mouseX = 0, mouseY = 0;
    bool mouseDown = false;
    uint8_t lastChar = 0;      // typed since the last paint, code page 1251; 0 when none
    bool clickLatch = false;   // one latch for all clickable widgets
    bool delayPopupActive = false;
    bool inputEnabled = true;  // cleared while a modal dialog or chooser is open
};

// A screen region: its current rectangle, the rectangle it was made with (the lower bounds of
// the layout) and its background image.
struct Panel {
    Panel(Rect initial)
        : x(initial.x), y(initial.y), width(initial.w), height(initial.h), minX(initial.x),
          minY(initial.y), minWidth(initial.w), minHeight(initial.h) {}
    int x, y, width, height;
    int minX, minY, minWidth, minHeight;
    Bitmap image; // RGB, width x height
    Rect rect() const { return {x, y, width, height}; }
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

// The 21 tool buttons in their order of creation (index 0 is the first).
inline constexpr int toolButtonCount = 21;


struct FrameCycle {
    int frameCounter = 0;
    uint32_t lastTitleTime = 0;
    bool animatorRedrawRequest = false;
    bool painterRedrawRequest = false;
    bool smallPickerOpen = false, replacementPickerOpen = false;
    bool defaultDelayPopupOpen = false, frameDelayPopupOpen = false;
    float painterViewWidth = 401, painterViewHeight = 328;
    float painterPictureX = 0, painterPictureY = 0;
    float painterPictureWidth = 0, painterPictureHeight = 0;
    // The Painter's bar and right-hand column look the same on every frame until the window
    // changes size, so the layout renders them once, like the Animator's panel images.
    Bitmap painterCommandBarImage, painterColumnImage;
};

enum class Mode { Painter = 0, Animator = 1 };

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
    bool shapeDrag = false;            // a two-point gesture or a selection move is in progress
    int dragStartX = 0, dragStartY = 0; // picture pixels (pointer / zoom while moving a selection)
    bool fillSwitchActive = false;     // Control turned the current tool into the fill
    int toolBeforeFill = 0;
    uint32_t lastArrowMoveTime = 0;
};

// State that exists once per mode.
struct ModeState {
    std::unique_ptr<Document> document; // the picture or the animation; may be absent
    Bitmap scratch;                      // working bitmap of the drawing tools
    Selection transparencyLock;
    bool previewUpToDate = false;
    int zoomIndex = 9;
    Bitmap canvasBackdrop;

    // Canvas: previews of shapes and selections are drawn into the overlay (document size);
    // overlayDirty is the part the last preview may have touched.
    Bitmap overlay;
    Rect overlayDirty;

    PreviewState preview;
    ToolDrag drag;

    // Undo history of one layer, and the layer it belongs to (by serial number).
    std::unique_ptr<UndoHistory> history;
    uint64_t historyLayer = 0;
};



struct ColourState {
    Palettes palettes;
    Color currentColor = colors::black;
    int currentSwatch = 2;
    int currentReplacementSwatch = 0;
    Color alphaColor = colors::black;
    int drawAlpha = 255;
};

// The file-name buffers of the palette choosers, kept for the whole run.
struct ChooserNames {
    std::string smallPalette;
    std::string bigPalette;
};

class Editor {
public:
    explicit Editor(Platform& platform) : platform(platform) {}

    Platform& platform;

    InputState input;
    int clientWidth = 713, clientHeight = 494; // client area of the window
    Panels panels;
    FrameCycle frame;

    bool painterMode = false;
    int currentTool = 1;
    int playState = 0;
    bool singleLayerView = false;

    std::array<ModeState, 2> modes;
    ModeState& mode(Mode m) { return modes[size_t(m)]; }
    ModeState& activeMode() { return mode(painterMode ? Mode::Painter : Mode::Animator); }
    std::unique_ptr<Document>& picture() { return mode(Mode::Painter).document; }
    std::unique_ptr<Document>& animation() { return mode(Mode::Animator).document; }

    // Tools shared by both modes.
    StrokeState stroke;
    Path freehandPath;
    int rotationPresetIndex = 0;
    float onionSkinOpacity = 100;
    const Frame* onionRememberedFrame = nullptr; // the frame the last canvas pass showed
    int viewedLayer = 0;                         // the layer shown alone in single-layer view
    bool replacementViewOpen = false;            // the palette panel shows colour pairs

    DocumentSizes sizes;
    Layer belowCache{0, 10, 10};
    Layer aboveCache{0, 10, 10};
    uint64_t layerCachesLayer = 0; // serial of the current layer the caches were composed around
    OnionSkin onion;

    ColourState colour;
    Selection selection;
    ChooserNames chooserNames;

    Bitmap toolSheet{175, 175};
    std::array<ToolButton, toolButtonCount> toolButtons;

    // Invalidates the window unless a modal dialog or chooser is open.
    void requestRepaint() {
        if (input.inputEnabled)
            platform.invalidate();
    }
};

} // namespace vork
