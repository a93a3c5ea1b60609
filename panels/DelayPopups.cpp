// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/DelayPopups.h"

#include "ui/DocumentChanges.h"
#include "ui/Layout.h"
#include "ui/Widgets.h"

#include <array>
#include <optional>

namespace vork {

namespace {

// One entry of the delay list: its label as shown (a fixed text, not made from the value) and
// its value in milliseconds.
struct DelayChoice {
    const char* label;
    double milliseconds;
};

constexpr std::array<DelayChoice, 9> leftColumn{{{"0.09", 90},
                                                 {"0.08", 80},
                                                 {"0.07", 70},
                                                 {"0.06", 60},
                                                 {"0.05", 50},
                                                 {"0.04", 40},
                                                 {"0.03", 30},
                                                 {"0.02", 20},
                                                 {"0.01", 10}}};
constexpr DelayChoice noDelay{"Без задержки", 0};
constexpr std::array<DelayChoice, 9> rightColumn{{{"5 сек", 5000},
                                                  {"2 сек", 2000},
                                                  {"1 сек", 1000},
                                                  {"0.8 сек", 800},
                                                  {"0.5 сек", 500},
                                                  {"0.4 сек", 400},
                                                  {"0.3 сек", 300},
                                                  {"0.2 сек", 200},
                                                  {"0.1 сек", 100}}};

constexpr Color panelGrey = Color::rgb(212, 208, 200);
constexpr Color highlight = Color::rgb(0, 0, 139);

enum class Popup { DefaultDelay, FrameDelay };

bool& openFlag(Editor& e, Popup popup) {
    DelayPopups& p = e.animator.delayPopups;
    return popup == Popup::DefaultDelay ? p.defaultDelayPopupOpen : p.frameDelayPopupOpen;
}

void close(Editor& e, Popup popup) {
    openFlag(e, popup) = false;
    e.animator.delayPopups.delayPressLatch = false;
    e.input.delayPopupActive = false;
    e.requestRepaint();
}

void open(Editor& e, Popup popup) {
    openFlag(e, popup) = true;
    e.animator.delayPopups.delayPressLatch = false;
    e.input.delayPopupActive = true;
    // The press that opened it is used up: dragged on to an item, it must not draw on the
    // canvas the pop-up lies over.
    e.input.mouseDown = false;
    e.requestRepaint();
}

void choose(Editor& e, Popup popup, double milliseconds) {
    Document* animation = e.animation().get();
    if (popup == Popup::DefaultDelay) {
        for (Frame& frame : animation->frames())
            frame.delay = milliseconds;
        animation->defaultDelay = milliseconds;
    } else {
        // The frame whose cell was pressed, even if playback has moved on since: the value
        // is meant for the frame the user pointed at, not for whichever is shown now.
        const int index = animation->frameWithSerial(e.animator.delayPopups.frameDelayFrame);
        if (index >= 0)
            animation->frame(index).delay = milliseconds;
    }
    markDocumentChanged(e, Mode::Animator);
    close(e, popup);
}

// The items of the list, each drawn and each able to be chosen; the chosen value, if any.
std::optional<double> items(Editor& e, Graphics& g, Point o) {
    std::optional<double> chosen;
    auto item = [&](Rect r, const DelayChoice& c) {
        if (delayMenuItem(e, g, r, c.label))
            chosen = c.milliseconds;
    };
    for (int k = 0; k < int(leftColumn.size()); ++k)
        item({o.x + 1, o.y + 5 + 18 * k, 49, 18}, leftColumn[size_t(k)]);
    item({o.x + 1, o.y + 176, 110, 18}, noDelay);
    g.drawRect(Pen{colors::black}, Rect{o.x + 50, o.y, 60, 171});
    for (int k = 0; k < int(rightColumn.size()); ++k)
        item({o.x + 51, o.y + 5 + 18 * k, 59, 18}, rightColumn[size_t(k)]);
    return chosen;
}

void drawPopup(Editor& e, Graphics& g, Popup popup, Point o) {
    const Rect box{o.x, o.y, delayPopupWidth, delayPopupHeight};
    g.fillRect(Brush::solid(panelGrey), box);
    g.drawRect(Pen{colors::black}, box);
    if (!pointerInside(e.input, box))
        e.animator.delayPopups.delayPressLatch = false;
    g.drawRect(Pen{colors::black}, Rect{o.x, o.y, 50, 171});
    if (e.platform.isHeld(HeldKey::RightButton) || e.platform.isHeld(HeldKey::Escape)) {
        // Closed without a choice; its items are not drawn, so none can be chosen either.
        close(e, popup);
        return;
    }
    if (const std::optional<double> v = items(e, g, o))
        choose(e, popup, *v);
}

} // namespace

void openDefaultDelayPopup(Editor& e) {
    if (e.animation())
        open(e, Popup::DefaultDelay);
}

void openFrameDelayPopup(Editor& e, uint64_t frame, int cellX) {
    if (!e.animation())
        return;
    e.animator.delayPopups.frameDelayFrame = frame;
    e.animator.delayPopups.frameDelayCellX = cellX;
    open(e, Popup::FrameDelay);
}

bool delayMenuItem(Editor& e, Graphics& g, Rect r, const std::string& label) {
    const bool inside = pointerInside(e.input, r);
    const bool leftHeld = e.platform.isHeld(HeldKey::LeftButton);
    if (inside) {
        g.fillRect(Brush::solid(highlight), r);
        if (leftHeld)
            e.animator.delayPopups.delayPressLatch = true;
        else if (e.animator.delayPopups.delayPressLatch)
            return true;
    }
    g.drawText(label, FontKind::Small, Brush::solid(inside ? colors::white : colors::black),
               RectF{float(r.x + 10), float(r.y), float(r.w), float(r.h)}, Align::Near);
    return false;
}

void drawDelayPopups(Editor& e, Graphics& g) {
    const DelayPopups& p = e.animator.delayPopups;
    if (!p.defaultDelayPopupOpen && !p.frameDelayPopupOpen)
        return;
    // A pop-up belongs to an animation; if that went away, so does the pop-up.
    if (!e.animation()) {
        releasePointerCapture(e);
        return;
    }
    const FrameStripLayout strip = layoutOf(e, Mode::Animator).strip;
    if (p.defaultDelayPopupOpen)
        drawPopup(e, g, Popup::DefaultDelay, defaultDelayPopupOrigin(strip));
    if (p.frameDelayPopupOpen)
        drawPopup(e, g, Popup::FrameDelay, frameDelayPopupOrigin(strip, p.frameDelayCellX));
}

void releasePointerCapture(Editor& e) {
    DelayPopups& p = e.animator.delayPopups;
    p.defaultDelayPopupOpen = p.frameDelayPopupOpen = false;
    p.delayPressLatch = false;
    e.animator.strip.frameDrag.active = false;
    e.input.delayPopupActive = false;
    e.input.mouseDown = false;
}

} // namespace vork
