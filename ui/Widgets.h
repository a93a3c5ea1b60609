// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The immediate-mode widgets the panels are built from. Each widget is one call per frame: it
// draws itself into the back buffer from this frame's pointer state and reports whether it was
// clicked (or returns the new value of a slider). Nothing persists between frames except the
// shared click latch in InputState and the values the callers keep.
//
// A widget's rectangle is (x, y, w, h); the pointer is inside it when x < mouseX < x + w and
// y < mouseY < y + h. Buttons and swatches whose rectangle reaches past the client area are
// skipped for the frame: not drawn, not clickable. Sliders and scroll bars have no such check.
#include "gfx/Graphics.h"
#include "model/Palette.h"
#include "ui/ToolButton.h"
#include "ui/WidgetContext.h"

#include <string>

namespace vork {

// The colours of the bevels of every button.
inline constexpr Color bevelLight = Color::rgb(255, 255, 255);
inline constexpr Color bevelDark = Color::rgb(104, 84, 80);

// Strict on all four sides: a pointer on an edge is outside.
bool pointerInside(const InputState& in, Rect r);
// True when the rectangle ends within the client area (x + w <= width, y + h <= height).
bool withinClient(const WidgetContext& ctx, Rect r);

// Two 1-pixel polylines: top-left through (x+w, y), (x, y), (x, y+h); bottom-right through
// (x, y+h), (x+w, y+h), (x+w, y). Raised draws the top-left one light, sunken swaps the colours.
void raisedBevel(Graphics& g, Rect r, Color light = bevelLight, Color dark = bevelDark);
void sunkenBevel(Graphics& g, Rect r, Color light = bevelLight, Color dark = bevelDark);
// The 50-percent hatch of a held button, filling (x, y, w, h).
void pressedBackground(Graphics& g, Rect r);

// A ToolButton whose face is the sheet's cell (parts of the cell outside the sheet stay
// transparent) and whose size is the cell's size.
ToolButton makeToolButton(const Bitmap& toolSheet, Rect cell, int id);

// The ToolButton: drawn pressed while held, and whenever `watched` equals its id. Reports a
// click on the first frame after the release over it; the latch stays set for the rest of the
// paint.
bool toolButton(const WidgetContext& ctx, Graphics& g, const ToolButton& b, Rect r, int watched);
// A plain button showing a cell of ctx.toolSheet centred; the icon moves by (1, 1) while held.
// Reports a click like the ToolButton and clears the latch when it does.
bool iconButton(const WidgetContext& ctx, Graphics& g, Rect r, Rect cell);
// A plain button with centred text, which does not move while held. Clicks as the icon button.
bool textButton(const WidgetContext& ctx, Graphics& g, Rect r, FontKind font,
                const Brush& textBrush, const std::string& utf8);
// True on every frame the left button is held with the pointer inside; the latch is untouched.
bool holdButton(const WidgetContext& ctx, Graphics& g, Rect r, Rect cell);
// A palette entry's colour over the transparency checkerboard, framed white and violet when
// its id is selectedIndex. Clicks as the ToolButton (the latch stays set).
bool paletteSwatch(const WidgetContext& ctx, Graphics& g, const PaletteEntry& entry, Rect r,
                   int selectedIndex);

// Sliders: value 0..maximum / step along the rectangle (0 at the left or at the top), set from
// the pointer while the button is held inside; the knob is drawn only when maximum > step.
// The value is not rounded. The track is the caller's to draw.
float horizontalSlider(const WidgetContext& ctx, Graphics& g, RectF r, float maximum, float step,
                       float value);
float verticalSlider(const WidgetContext& ctx, Graphics& g, RectF r, float maximum, float step,
                     float value);

// Scroll bars over `total` units of which `visible` are shown; the value is the first visible
// unit, clamped so the thumb stays inside. The vertical one counts from the bottom. Returns 0
// and draws nothing when total < visible; draws nothing when total == visible.
float horizontalScrollBar(const WidgetContext& ctx, Graphics& g, RectF r, float total,
                          float visible, float value);
float verticalScrollBar(const WidgetContext& ctx, Graphics& g, RectF r, float total, float visible,
                        float value);

} // namespace vork
