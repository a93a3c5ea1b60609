// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Widgets.h"

#include <cmath>

namespace vork {

namespace {

// The light grey of the hatches behind held buttons and translucent swatches.
constexpr Color hatchGrey = Color::rgb(220, 220, 220);

// How a clickable widget treats the shared latch.
enum class LatchUse {
    ClearOnClick, // icon and text buttons: the click consumes the latch
    KeepOnClick,  // ToolButton and swatch: the latch stays set for the rest of the paint
    Ignore,       // hold button: fires on every held frame, never reads or writes the latch
};

struct ButtonState {
    bool visible = false;       // within the client area; otherwise nothing else is set
    bool inside = false;        // the pointer is strictly inside
    bool held = false;          // inside with the left button down
    bool hovered = false;       // inside with the left button up
    bool latchedBefore = false; // the latch as this widget found it
    bool fired = false;         // clicked; for LatchUse::Ignore: held
};

// The one place that owns the click rule.
//
// A click is a release: the left button goes down over a clickable widget, which sets the
// latch, and whichever widget has the pointer inside it on the first frame after the release
// reports the click. The latch is shared by all widgets, so a press on A and a release on B
// fires B. The paint clears the latch at the end of every frame in which the button is up, so
// a release outside every widget fires nothing.
//
//  frame | button | pointer | latch in | widget A         | widget B              | latch out
//  ------+--------+---------+----------+------------------+-----------------------+----------
//    1   | down   | on A    |    0     | held, sets latch | -                     |    1
//    2   | down   | on A    |    1     | held, sets latch | -                     |    1
//    3   | down   | on B    |    1     | -                | held, sets latch      |    1
//    4   | up     | on B    |    1     | -                | FIRES, asks repaint;  | 0 (Clear)
//        |        |         |          |                  | clears or keeps latch | 1 (Keep)
//        |        |         |          |                  |                       | paint end 0
//    5   | up     | on B    |    0     | -                | hovered, no click     |    0
//  A release outside every widget instead of frame 4:
//    4'  | up     | outside |    1     | -                | -                     | paint end 0
//  LatchUse::Ignore fires (and asks for a repaint) on every frame the button is down with the
//  pointer inside; the latch is neither read nor written.
//  A widget past the client area is skipped: it neither reads nor writes the latch.
ButtonState buttonBehavior(const WidgetContext& ctx, Rect r, LatchUse use) {
    ButtonState s;
    if (!withinClient(ctx, r))
        return s;
    InputState& in = ctx.input;
    s.visible = true;
    s.inside = pointerInside(in, r);
    s.held = s.inside && in.mouseDown;
    s.hovered = s.inside && !in.mouseDown;
    s.latchedBefore = in.clickLatch;
    if (use == LatchUse::Ignore) {
        s.fired = s.held;
    } else if (s.held) {
        in.clickLatch = true;
    } else if (s.hovered && in.clickLatch) {
        s.fired = true;
        if (use == LatchUse::ClearOnClick)
            in.clickLatch = false;
    }
    if (s.fired)
        ctx.requestRepaint();
    return s;
}

// Where a cell of size (cw, ch) sits centred in r (integer division, as the faces are placed).
Point centredIn(Rect r, int cw, int ch) {
    return {r.x + r.w / 2 - cw / 2, r.y + r.h / 2 - ch / 2};
}

// The frame of the icon and text buttons: raised when hovered, pressed while held.
ButtonState plainButton(const WidgetContext& ctx, Graphics& g, Rect r) {
    const ButtonState s = buttonBehavior(ctx, r, LatchUse::ClearOnClick);
    if (!s.visible)
        return s;
    if (s.hovered)
        raisedBevel(g, r);
    if (s.held) {
        pressedBackground(g, r);
        sunkenBevel(g, r);
    }
    return s;
}

// The 1-pixel bevel pair; the first colour takes the top-left polyline.
void bevel(Graphics& g, Rect r, Color topLeft, Color bottomRight) {
    const float x = float(r.x), y = float(r.y), x2 = float(r.x + r.w), y2 = float(r.y + r.h);
    g.drawPolyline(Pen(topLeft), {{x2, y}, {x, y}, {x, y2}});
    g.drawPolyline(Pen(bottomRight), {{x, y2}, {x2, y2}, {x2, y}});
}

// The strict inside test for the fractional rectangles of sliders and scroll bars.
bool pointerInsideF(const InputState& in, RectF r) {
    const float mx = float(in.mouseX), my = float(in.mouseY);
    return r.x < mx && mx < r.x + r.w && r.y < my && my < r.y + r.h;
}

enum class Axis { Horizontal, Vertical };

float startAlong(Axis a, RectF r) {
    return a == Axis::Horizontal ? r.x : r.y;
}
float lengthAlong(Axis a, RectF r) {
    return a == Axis::Horizontal ? r.w : r.h;
}
float pointerAlong(Axis a, const InputState& in) {
    return float(a == Axis::Horizontal ? in.mouseX : in.mouseY);
}
// The part of r from `position` to `position + size` along the axis, full width across it.
RectF spanAlong(Axis a, RectF r, float position, float size) {
    return a == Axis::Horizontal ? RectF{position, r.y, size, r.h}
                                 : RectF{r.x, position, r.w, size};
}

// The knob of sliders and the thumb of scroll bars: grey, white on top and left, black on the
// bottom and right.
void drawKnob(Graphics& g, RectF k) {
    g.fillRect(Brush::solid(Color::rgb(212, 208, 200)), k);
    g.drawPolyline(Pen(colors::white), {{k.x + k.w, k.y}, {k.x, k.y}, {k.x, k.y + k.h}});
    g.drawPolyline(Pen(colors::black),
                   {{k.x + 1, k.y + k.h}, {k.x + k.w, k.y + k.h}, {k.x + k.w, k.y + 1}});
}

float slider(const WidgetContext& ctx, Graphics& g, RectF r, Axis axis, float maximum, float step,
             float value) {
    const float start = startAlong(axis, r), length = lengthAlong(axis, r);
    const float unit = (length / (maximum / step)) / step; // pixels per unit of value
    // A zero or negative maximum, step or length gives no usable scale: leave the value alone
    // rather than turn it into infinity or NaN.
    if (!(std::isfinite(unit) && unit > 0))
        return value;
    if (ctx.input.mouseDown && pointerInsideF(ctx.input, r)) {
        const float pointer = pointerAlong(axis, ctx.input);
        value = (pointer - start) / unit;
        if (value < 0)
            value = 0;
        if (value * unit > length)
            value = length / unit;
        // Snap to the ends within two pixels of them, so both ends are easy to reach.
        if (pointer > start + length - 2)
            value = maximum / step;
        if (pointer < start + 2)
            value = 0;
    }
    if (maximum > step)
        drawKnob(g, spanAlong(axis, r, value * unit + start - 2, 4));
    return value;
}

// Along the vertical axis the value counts from the bottom: value 0 puts the thumb at the end.
float scrollBar(const WidgetContext& ctx, Graphics& g, RectF r, Axis axis, float total,
                float visible, float value) {
    if (!(visible > 0) || !(total >= visible))
        return 0;
    const float start = startAlong(axis, r), length = lengthAlong(axis, r);
    const bool fromEnd = axis == Axis::Vertical;
    float thumb = length / (total / visible);
    const float unit = thumb / visible; // pixels per unit
    if (unit > 0 && std::isfinite(unit) && ctx.input.mouseDown && pointerInsideF(ctx.input, r)) {
        const float offset = pointerAlong(axis, ctx.input) - start;
        // Centre the thumb on the pointer.
        value = ((fromEnd ? length - offset : offset) - thumb / 2) / unit;
    }
    if (value < 0)
        value = 0;
    if (value * unit + thumb > length)
        value = (length - thumb) / unit;
    float position = fromEnd ? (start + length - thumb) - value * unit : value * unit + start;
    // A thumb under 3 pixels is widened to 4 around its place, so it stays visible.
    if (thumb < 3) {
        thumb = 4;
        position -= 2;
    }
    if (total == visible)
        return value;
    drawKnob(g, spanAlong(axis, r, position, thumb));
    return value;
}

} // namespace

bool pointerInside(const InputState& in, Rect r) {
    return r.x < in.mouseX && in.mouseX < r.x + r.w && r.y < in.mouseY && in.mouseY < r.y + r.h;
}

bool withinClient(const WidgetContext& ctx, Rect r) {
    return r.x + r.w <= ctx.clientWidth && r.y + r.h <= ctx.clientHeight;
}

void raisedBevel(Graphics& g, Rect r, Color light, Color dark) {
    bevel(g, r, light, dark);
}

void sunkenBevel(Graphics& g, Rect r, Color light, Color dark) {
    bevel(g, r, dark, light);
}

void pressedBackground(Graphics& g, Rect r) {
    g.fillRect(Brush::hatch(HatchStyle::Percent50, hatchGrey, colors::white), r);
}

ToolButton makeToolButton(const Bitmap& toolSheet, Rect cell, int id) {
    ToolButton b;
    b.id = id;
    b.faceWidth = cell.w;
    b.faceHeight = cell.h;
    b.face = Bitmap(cell.w, cell.h);
    Graphics g(b.face);
    g.drawImage(toolSheet, -cell.x, -cell.y);
    return b;
}

bool toolButton(const WidgetContext& ctx, Graphics& g, const ToolButton& b, Rect r, int watched) {
    const ButtonState s = buttonBehavior(ctx, r, LatchUse::KeepOnClick);
    if (!s.visible)
        return false;
    Point face = centredIn(r, b.faceWidth, b.faceHeight);
    if (s.hovered && !s.latchedBefore)
        raisedBevel(g, r, b.lightColor, b.darkColor);
    // Pressed while held, while the latch of a press waits for its release over this button,
    // and whenever the button stands for the watched value.
    if (s.held || (s.inside && s.latchedBefore) || watched == b.id) {
        pressedBackground(g, r);
        sunkenBevel(g, r, b.lightColor, b.darkColor);
        ++face.x;
        ++face.y;
    }
    g.drawImage(b.face, face.x, face.y, {b.faceX, b.faceY, b.faceWidth, b.faceHeight});
    return s.fired;
}

bool iconButton(const WidgetContext& ctx, Graphics& g, Rect r, Rect cell) {
    const ButtonState s = plainButton(ctx, g, r);
    if (!s.visible)
        return false;
    Point at = centredIn(r, cell.w, cell.h);
    if (s.held) {
        ++at.x;
        ++at.y;
    }
    g.drawImage(ctx.toolSheet, at.x, at.y, cell);
    return s.fired;
}

bool textButton(const WidgetContext& ctx, Graphics& g, Rect r, FontKind font,
                const Brush& textBrush, const std::string& utf8) {
    const ButtonState s = plainButton(ctx, g, r);
    if (!s.visible)
        return false;
    g.drawText(utf8, font, textBrush, RectF{float(r.x), float(r.y), float(r.w), float(r.h)},
               Align::Center);
    return s.fired;
}

bool holdButton(const WidgetContext& ctx, Graphics& g, Rect r, Rect cell) {
    const ButtonState s = buttonBehavior(ctx, r, LatchUse::Ignore);
    if (!s.visible)
        return false;
    raisedBevel(g, r);
    Point at = centredIn(r, cell.w, cell.h);
    if (s.held) {
        g.drawRect(Pen(Color::rgb(128, 128, 128)), r);
        ++at.x;
        ++at.y;
    }
    g.drawImage(ctx.toolSheet, at.x, at.y, cell);
    return s.fired;
}

bool paletteSwatch(const WidgetContext& ctx, Graphics& g, const PaletteEntry& entry, Rect r,
                   int selectedIndex) {
    const ButtonState s = buttonBehavior(ctx, r, LatchUse::KeepOnClick);
    if (!s.visible)
        return false;
    if (entry.color.a() != 255)
        g.fillRect(Brush::hatch(HatchStyle::LargeCheckerBoard, hatchGrey, colors::white), r);
    g.fillRect(Brush::solid(entry.color), r);
    g.drawRect(Pen(Color::rgb(60, 60, 60)), r);
    if (entry.id == selectedIndex) {
        const Rect frame{r.x + 1, r.y + 1, r.w - 2, r.h - 2};
        g.drawRect(Pen(colors::white, 2), frame);
        g.drawRect(Pen(Color::rgb(138, 43, 226), 2, {2, 2}), frame);
    }
    return s.fired;
}

float horizontalSlider(const WidgetContext& ctx, Graphics& g, RectF r, float maximum, float step,
                       float value) {
    return slider(ctx, g, r, Axis::Horizontal, maximum, step, value);
}

float verticalSlider(const WidgetContext& ctx, Graphics& g, RectF r, float maximum, float step,
                     float value) {
    return slider(ctx, g, r, Axis::Vertical, maximum, step, value);
}

float horizontalScrollBar(const WidgetContext& ctx, Graphics& g, RectF r, float total,
                          float visible, float value) {
    return scrollBar(ctx, g, r, Axis::Horizontal, total, visible, value);
}

float verticalScrollBar(const WidgetContext& ctx, Graphics& g, RectF r, float total, float visible,
                        float value) {
    return scrollBar(ctx, g, r, Axis::Vertical, total, visible, value);
}

} // namespace vork
