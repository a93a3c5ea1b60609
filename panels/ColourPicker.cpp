// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/ColourPicker.h"

#include "commands/PaletteChoosers.h"
#include "panels/PanelLayout.h"
#include "ui/Layout.h"
#include "ui/Widgets.h"

#include <cstdio>

namespace vork {

namespace {

constexpr int gridRows = 16, gridColumns = 48, cell = 12;

// Closes the picker of the form and gives back the tool chosen before it opened.
void closePicker(Editor& e, PickerForm form) {
    ColourState& c = e.colour;
    if (form == PickerForm::Small) {
        e.currentTool = c.savedTool;
        c.smallPickerOpen = false;
    } else {
        e.currentTool = c.savedToolForReplacement;
        c.replacementPickerOpen = false;
    }
    e.requestRepaint();
}

// A press outside the picker, or the right button held now, closes it without a change.
bool cancelled(Editor& e, Rect P) {
    const InputState& in = e.input;
    const bool strictlyInside =
        P.x < in.mouseX && in.mouseX < P.x + P.w && P.y < in.mouseY && in.mouseY < P.y + P.h;
    return (in.mouseDown && !strictlyInside) || e.platform.isHeld(HeldKey::RightButton);
}

// The chosen colour goes to the swatch the picker was opened for: the small form also makes it
// the drawing colour, the replacement form never changes the drawing colour.
void apply(Editor& e, PickerForm form, Color chosen) {
    ColourState& c = e.colour;
    if (form == PickerForm::Small) {
        c.palettes.small[size_t(c.currentSwatch)].color = chosen;
        c.currentColor = chosen;
    } else {
        c.palettes.replacement[size_t(c.currentReplacementSwatch)].color = chosen;
    }
    closePicker(e, form);
}

void fileButtons(Editor& e, Graphics& g, Rect P) {
    if (iconButton(e.widgets(), g, {P.x + 15, P.y + 8, 20, 20}, {25, 0, 24, 24}))
        openBigPalette(e);
    if (iconButton(e.widgets(), g, {P.x + 38, P.y + 8, 20, 20}, {75, 0, 24, 24}))
        saveBigPalette(e);
    g.drawRect(Pen{colors::black}, Rect{P.x + 68, P.y + 8, 20, 20});
    if (iconButton(e.widgets(), g, {P.x + 69, P.y + 9, 18, 20}, {50, 0, 24, 24}))
        makeBigPaletteFromImage(e);
}

void selectedColour(Editor& e, Graphics& g, Rect P) {
    const Color chosen = e.colour.palettes.big[size_t(e.colour.currentBigSwatch)].color;
    const Rect box{P.x + 102, P.y + 9, 40, 18};
    g.fillRect(Brush::solid(chosen), box);
    g.drawRect(Pen{colors::black}, box);
    char text[64];
    std::snprintf(text, sizeof text, "R: %d  G: %d  B: %d   a: %d", chosen.r(), chosen.g(),
                  chosen.b(), chosen.a());
    g.drawText(text, FontKind::Small, Brush::solid(colors::black),
               RectF{float(P.x + 152), float(P.y + 9), 160, 18}, Align::Near);
}

// The grid; once the picker was cancelled this frame its clicks are ignored.
void grid(Editor& e, Graphics& g, Rect P, PickerForm form, bool open) {
    ColourState& c = e.colour;
    // The replacement form leaves a wider margin at the right edge.
    const int margin = form == PickerForm::Small ? cell : 17;
    for (int r = 0; r < gridRows; ++r) {
        for (int col = 0; col < gridColumns; ++col) {
            const int x = P.x + 11 + cell * col;
            if (x + margin >= P.x + P.w)
                break;
            const int id = gridColumns * r + col;
            const PaletteEntry& entry = c.palettes.big[size_t(id)];
            if (!paletteSwatch(e.widgets(), g, entry, {x, P.y + 35 + cell * r, cell, cell},
                               c.currentBigSwatch) ||
                !open)
                continue;
            if (id != c.currentBigSwatch)
                c.currentBigSwatch = id;
            else
                apply(e, form, entry.color);
        }
    }
}

} // namespace

void drawColourPicker(Editor& e, Graphics& g, Mode mode, PickerForm form) {
    const Rect P = layoutOf(e, mode).picker;
    drawBackground(e, g, mode, Background::Picker);
    const bool cancel = cancelled(e, P);
    if (cancel)
        closePicker(e, form);
    // The rest of this frame is still drawn.
    fileButtons(e, g, P);
    selectedColour(e, g, P);
    grid(e, g, P, form, !cancel);
}

void drawOpenColourPickers(Editor& e, Graphics& g, Mode mode) {
    if (e.colour.smallPickerOpen)
        drawColourPicker(e, g, mode, PickerForm::Small);
    if (e.colour.replacementPickerOpen)
        drawColourPicker(e, g, mode, PickerForm::Replacement);
}

} // namespace vork
