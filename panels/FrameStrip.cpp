// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/FrameStrip.h"

#include "commands/FrameCommands.h"
#include "panels/DelayPopups.h"
#include "panels/PanelLayout.h"
#include "panels/Playback.h"
#include "ui/Keys.h"
#include "ui/Layout.h"
#include "ui/Widgets.h"

#include <cstdio>
#include <optional>
#include <string>

namespace vork {

namespace {

const Color outlineGrey = Color::rgb(128, 128, 128);
constexpr Color currentFill = Color::rgb(0, 0, 139);
constexpr Color dropMark = Color::rgb(255, 0, 0);

// A delay in seconds as the strip writes it ("%g"), with what follows it.
std::string seconds(double milliseconds, const char* suffix = "") {
    char text[64];
    std::snprintf(text, sizeof text, "%g%s", milliseconds / 1000, suffix);
    return text;
}

std::string number(int n) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", n);
    return text;
}

void verticalLine(Graphics& g, int x, int top, int bottom) {
    g.drawLine(Pen{outlineGrey}, {float(x), float(top)}, {float(x), float(bottom)});
}

// The count, the frame commands and their keys.
void frameCommands(Editor& e, Graphics& g, int y) {
    Document* animation = e.animation().get();
    g.drawText(number(animation ? animation->frameCount() : 0), FontKind::Small,
               Brush::solid(colors::black), RectF{0, float(y), 40, 14});
    if (animation) {
        if (iconButton(e.widgets(), g, {41, y, 28, 14}, {100, 50, 24, 24}))
            enableAllFrames(e);
        if (textButton(e.widgets(), g, {71, y, 58, 14}, FontKind::Small,
                       Brush::solid(colors::black), seconds(animation->defaultDelay, " сек")))
            openDefaultDelayPopup(e);
    }
    // Each command does nothing without an animation.
    if (iconButton(e.widgets(), g, {131, y, 28, 14}, {50, 50, 24, 23}))
        deleteFrame(e);
    if (iconButton(e.widgets(), g, {161, y, 28, 14}, {0, 50, 24, 23}))
        newFrame(e);
    if (iconButton(e.widgets(), g, {191, y, 28, 14}, {75, 50, 24, 23}))
        duplicateFrame(e);
    if (iconButton(e.widgets(), g, {221, y, 28, 14}, {0, 25, 24, 24}) && animation) {
        goToFrame(e, 0);
        scrollToCurrentFrame(e);
    }
    if (iconButton(e.widgets(), g, {251, y, 28, 14}, {25, 25, 24, 24}) && animation) {
        goToFrame(e, animation->frameCount() - 1);
        scrollToCurrentFrame(e);
    }
    if (iconButton(e.widgets(), g, {281, y, 20, 14}, {50, 25, 24, 24}) || typed(e.input, key::z))
        stepFrame(e, Direction::Backward);
    if (iconButton(e.widgets(), g, {303, y, 20, 14}, {75, 25, 24, 24}) || typed(e.input, key::x))
        stepFrame(e, Direction::Forward);
}

// Stop, backwards, forwards, the loop switch and the space bar.
void playbackControls(Editor& e, Graphics& g, int y) {
    const bool animation = e.animation() != nullptr;
    // Each button watches the state as the buttons before it left it.
    if (toolButton(e.widgets(), g, buttonOf(e, SwitchButton::Stop), {325, y, 20, 14},
                   int(e.animator.playState)) &&
        animation)
        setPlayState(e, PlayState::Stopped);
    if (toolButton(e.widgets(), g, buttonOf(e, SwitchButton::Backward), {347, y, 20, 14},
                   int(e.animator.playState)) &&
        animation)
        setPlayState(e, PlayState::Backward);
    if (toolButton(e.widgets(), g, buttonOf(e, SwitchButton::Forward), {369, y, 20, 14},
                   int(e.animator.playState)) &&
        animation)
        setPlayState(e, PlayState::Forward);
    bool& loop = e.animator.strip.loopPlayback;
    if (toolButton(e.widgets(), g, buttonOf(e, SwitchButton::Loop), {391, y, 23, 14},
                   loop ? 1 : 0) &&
        animation)
        loop = !loop;
    if (e.input.lastChar == ' ' && animation)
        togglePlayback(e);
}

// The hold buttons and the scroll bar. During a frame drag the window records no press, so the
// hold buttons answer to the held button directly: a frame can be dragged along a long strip.
void scrolling(Editor& e, Graphics& g, const FrameStripLayout& s) {
    const int y = s.toolbarY;
    int& scroll = e.animator.strip.stripScroll;
    const bool dragging =
        e.animator.strip.frameDrag.active && e.platform.isHeld(HeldKey::LeftButton);
    auto held = [&](Rect r, Rect cell) {
        const bool pressed = holdButton(e.widgets(), g, r, cell);
        if (dragging && withinClient(e.widgets(), r) && pointerInside(e.input, r)) {
            e.requestRepaint();
            return true;
        }
        return pressed;
    };
    const Rect back{426, y, 15, 15}, on{442, y, 15, 15};
    const bool scrollBack = held(back, {100, 100, 23, 23});
    const bool scrollOn = held(on, {125, 100, 23, 23});
    Document* animation = e.animation().get();
    if (!animation)
        return;
    if (scrollBack)
        scroll -= 10;
    if (scrollOn)
        scroll += 10;
    const float content = float(animation->frameCount()) * frameCellWidth;
    scroll = int(
        horizontalScrollBar(e.widgets(), g, s.scrollBar, content, float(s.rect.w), float(scroll)));
}

void toolbar(Editor& e, Graphics& g, const FrameStripLayout& s) {
    const int y = s.toolbarY;
    for (int x : {0, 40, 70, 130, 220, 390, 415})
        verticalLine(g, x, y, y + 14);
    verticalLine(g, 425, y, y + 15);
    frameCommands(e, g, y);
    playbackControls(e, g, y);
    scrolling(e, g, s);
}

// What a frame cell found about the drag this frame.
struct DropState {
    std::optional<Rect> mark; // where the dragged frame would go, drawn over all cells
};

// The pointer right of where the drag started, along the scrolled row.
bool rightOfDragStart(const Editor& e) {
    return e.input.mouseX + e.animator.strip.stripScroll > e.animator.strip.frameDrag.startX;
}

void endFrameDrag(Editor& e) {
    e.animator.strip.frameDrag.active = false;
    e.input.delayPopupActive = false;
    e.input.mouseDown = false;
}

// The drag over the lower part of cell `index`: its drop mark while the button is held, the
// move when it comes up.
void dragOverCell(Editor& e, Rect cell, int index, DropState& drop) {
    const bool right = rightOfDragStart(e);
    if (e.platform.isHeld(HeldKey::LeftButton)) {
        drop.mark = Rect{right ? cell.x + cell.w : cell.x, cell.y, 2, cell.h};
        return;
    }
    const uint64_t dragged = e.animator.strip.frameDrag.frame;
    endFrameDrag(e);
    if (e.animation()->frame(index).serial != dragged)
        moveFrameToGap(e, dragged, right ? index + 1 : index);
    e.requestRepaint();
}

void startFrameDrag(Editor& e, const Frame& frame) {
    FrameDrag& drag = e.animator.strip.frameDrag;
    drag.active = true;
    drag.startX = e.input.mouseX + e.animator.strip.stripScroll;
    drag.frame = frame.serial;
    e.input.delayPopupActive = true;
    // The press now belongs to the drag: carried over the canvas it must not draw there.
    e.input.mouseDown = false;
}

// The thumbnail, its frame and the number tab over its corner.
void drawThumbnail(Editor& e, Graphics& g, const Frame& frame, int x, int y, int index) {
    if (!frame.thumbnail.isNull())
        g.drawImage(frame.thumbnail, x + 5, y + 22);
    g.drawRect(Pen{outlineGrey}, Rect{x + 5, y + 22, 55, 50});
    // The label's background is the tab's fill.
    e.animator.strip.labels.draw(g, {x + 5, y + 22, 30, 14}, number(index + 1),
                                 Color::rgb(230, 230, 230), colors::black, Align::Far);
    g.drawLine(Pen{outlineGrey}, {float(x + 5), float(y + 36)}, {float(x + 35), float(y + 36)});
    g.drawLine(Pen{outlineGrey}, {float(x + 35), float(y + 22)}, {float(x + 35), float(y + 36)});
}

void drawFrameCell(Editor& e, Graphics& g, Rect cell, int index, DropState& drop) {
    Document& animation = *e.animation();
    InputState& in = e.input;
    const bool dragging = e.animator.strip.frameDrag.active;
    const int x = cell.x, y = cell.y;

    if (in.mouseDown && !dragging && pointerInside(in, cell))
        goToFrame(e, index);
    const Frame& frame = animation.frame(index);
    const bool current = index == animation.currentFrameIndex();
    if (current)
        g.fillRect(Brush::solid(currentFill), cell);
    g.drawRect(Pen{outlineGrey}, cell);

    if (toolButton(e.widgets(), g, buttonOf(e, SwitchButton::OnOff), {x + 5, y + 3, 23, 14},
                   frame.enabled ? 1 : 0) &&
        !dragging)
        toggleFrameEnabled(e, index);

    const Rect delayText{x + 30, y + 3, 30, 14};
    e.animator.strip.labels.draw(g, delayText, seconds(frame.delay),
                                 current ? currentFill : colors::panelGrey,
                                 current ? colors::white : colors::black, Align::Far);
    if (in.mouseDown && !dragging && pointerInside(in, delayText))
        openFrameDelayPopup(e, frame.serial, x);

    drawThumbnail(e, g, frame, x, y, index);

    // The lower part of the cell (and as far below it) is where a drag starts and drops.
    const Rect dragArea{x, y + 17, frameCellWidth, frameCellHeight};
    if (!pointerInside(in, dragArea))
        return;
    if (in.mouseDown && !dragging && e.animator.playState == PlayState::Stopped)
        startFrameDrag(e, frame);
    else if (dragging)
        dragOverCell(e, cell, index, drop);
}

void frameCells(Editor& e, Graphics& g, const FrameStripLayout& s) {
    DropState drop;
    const FrameRange shown =
        shownFrameCells(s, e.animation()->frameCount(), e.animator.strip.stripScroll);
    for (int i = shown.first; i < shown.last; ++i)
        drawFrameCell(e, g, frameCellRect(s, i, e.animator.strip.stripScroll), i, drop);
    if (drop.mark)
        g.fillRect(Brush::solid(dropMark), *drop.mark);
    if (!e.animator.strip.frameDrag.active)
        return;
    // A release anywhere but over a cell (which ended the drag above), the right button or
    // Escape: nothing moves.
    if (!e.platform.isHeld(HeldKey::LeftButton) || e.platform.isHeld(HeldKey::RightButton) ||
        e.platform.isHeld(HeldKey::Escape)) {
        endFrameDrag(e);
        e.requestRepaint();
    }
}

} // namespace

void drawFrameStrip(Editor& e, Graphics& g) {
    const FrameStripLayout s = layoutOf(e, Mode::Animator).strip;
    drawBackground(e, g, Mode::Animator, Background::FrameStrip);
    toolbar(e, g, s);
    playbackFrame(e);
    if (e.animation())
        frameCells(e, g, s);
    else if (e.animator.strip.frameDrag.active)
        endFrameDrag(e);
}

} // namespace vork
