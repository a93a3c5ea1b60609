// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/PalettePanel.h"

#include "canvas/ToolEngine.h"
#include "commands/PaletteChoosers.h"
#include "panels/PanelLayout.h"
#include "pixels/LayerOps.h"
#include "ui/Layout.h"
#include "ui/Widgets.h"

#include <utility>

namespace vork {

namespace {

constexpr Rect toggleCell{25, 100, 24, 23};
constexpr int pairCount = replacementPaletteSize / 2;
constexpr int gridColumns = 36; // of three swatches each: entries 3 to 110

// Where the panel's parts go: its origin, the right limit no swatch may reach, the top of the
// main view's grid and of the replacement pairs.
struct PalettePlace {
    int X, Y;
    int limit;
    int gridTop, pairTop;
};

PalettePlace placeOf(const Editor& e, Mode mode) {
    const ModeLayout l = layoutOf(e, mode);
    PalettePlace p;
    p.X = l.palette.x;
    p.Y = l.palette.y;
    // In both modes the swatches stop at the right-hand column.
    p.limit = l.column.rect.x;
    p.gridTop = p.Y + 9;
    // The Animator's pairs start one pixel higher than its grid; the Painter's at the grid top.
    p.pairTop = mode == Mode::Animator ? p.Y + 8 : p.Y + 9;
    return p;
}

void chooseSwatch(ColourState& c, int id) {
    c.currentSwatch = id;
    c.currentColor = c.palettes.small[size_t(id)].color;
}

// The toggle, the palette file buttons, the fixed swatches and the grid.
void mainView(Editor& e, Graphics& g, const PalettePlace& p) {
    ColourState& c = e.colour;
    const int X = p.X, Y = p.Y;
    if (iconButton(e.widgets(), g, {X + 5, Y + 9, 20, 15}, toggleCell)) {
        c.replacementViewOpen = true;
        c.savedTool = e.currentTool;
        e.currentTool = Tool::ColourPick;
    }
    if (iconButton(e.widgets(), g, {X + 5, Y + 27, 20, 18}, {25, 0, 24, 24}))
        openSmallPalette(e);
    if (iconButton(e.widgets(), g, {X + 5, Y + 47, 20, 18}, {75, 0, 24, 24}))
        saveSmallPalette(e);
    auto& small = c.palettes.small;
    // The fixed swatches show and choose transparent, white and black whatever an opened file
    // put into the first three entries; they choose at any time and never open the picker.
    for (int id = 0; id < 3; ++id) {
        const PaletteEntry fixed{id, fixedSwatchColour(id)};
        if (paletteSwatch(e.widgets(), g, fixed, {X + 33, Y + 9 + 18 * id, 18, 18},
                          c.currentSwatch)) {
            c.currentSwatch = id;
            c.currentColor = fixed.color;
        }
    }
    for (int column = 0; column < gridColumns; ++column) {
        const int x = X + 54 + 18 * column;
        if (x + 18 >= p.limit)
            break;
        for (int row = 0; row < 3; ++row) {
            const int id = 3 + 3 * column + row;
            if (!paletteSwatch(e.widgets(), g, small[size_t(id)], {x, p.gridTop + 18 * row, 18, 18},
                               c.currentSwatch))
                continue;
            // Inert while a picker is open (no tool).
            if (e.currentTool == Tool::None)
                continue;
            if (id != c.currentSwatch) {
                chooseSwatch(c, id);
                continue;
            }
            c.savedTool = e.currentTool;
            e.currentTool = Tool::None;
            c.smallPickerOpen = true;
        }
    }
}

// The replacement view closes by itself from the next frame on when the tool it chose was
// changed: another tool while no picker is open, or anything but no tool while its picker is.
void closeReplacementViewOnOtherTool(Editor& e) {
    ColourState& c = e.colour;
    const bool otherTool =
        c.replacementPickerOpen ? e.currentTool != Tool::None : e.currentTool != Tool::ColourPick;
    if (otherTool)
        c.replacementViewOpen = false;
}

void replacementView(Editor& e, Graphics& g, Mode mode, const PalettePlace& p) {
    ColourState& c = e.colour;
    closeReplacementViewOnOtherTool(e);
    if (iconButton(e.widgets(), g, {p.X + 5, p.Y + 8, 20, 15}, toggleCell)) {
        c.replacementViewOpen = false;
        e.currentTool = c.savedTool;
    }
    auto& pairs = c.palettes.replacement;
    const bool hasDocument = e.mode(mode).document != nullptr;
    for (int k = 0; k < pairCount; ++k) {
        const int x = p.X + 30 + 25 * k;
        if (x + 20 >= p.limit)
            break;
        const int from = 2 * k, to = 2 * k + 1;
        if (paletteSwatch(e.widgets(), g, pairs[size_t(from)], {x, p.pairTop, 20, 15},
                          c.currentReplacementSwatch))
            c.currentReplacementSwatch = from;
        if (hasDocument && iconButton(e.widgets(), g, {x, p.pairTop + 20, 20, 15}, toggleCell))
            replacePair(e, mode, k);
        if (!paletteSwatch(e.widgets(), g, pairs[size_t(to)], {x, p.pairTop + 40, 20, 15},
                           c.currentReplacementSwatch) ||
            e.currentTool == Tool::None)
            continue;
        if (c.currentReplacementSwatch != to) {
            c.currentReplacementSwatch = to;
            continue;
        }
        c.savedToolForReplacement = e.currentTool;
        e.currentTool = Tool::None;
        c.replacementPickerOpen = true;
    }
}

} // namespace

void replacePair(Editor& e, Mode mode, int k) {
    ModeState& m = e.mode(mode);
    auto& pairs = e.colour.palettes.replacement;
    if (k < 0 || k >= pairCount)
        return;
    PaletteEntry& from = pairs[size_t(2 * k)];
    PaletteEntry& to = pairs[size_t(2 * k + 1)];
    if (m.document) {
        replaceColour(m.document->currentLayer().image, from.color, to.color);
        // Like a tool's change: the lock is applied again, thumbnails, one undo state.
        // The Animator too clips it with its transparency lock, so a locked layer's
        // transparent pixels stay transparent whichever way they were changed.
        commit(e, mode);
        requestModeRepaint(e, mode);
    }
    std::swap(from.color, to.color);
}

void drawPalettePanel(Editor& e, Graphics& g, Mode mode) {
    drawBackground(e, g, mode, Background::Palette);
    const PalettePlace p = placeOf(e, mode);
    if (e.colour.replacementViewOpen)
        replacementView(e, g, mode, p);
    else
        mainView(e, g, p);
}

} // namespace vork
