// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FrameCycle.h"

#include "app/Shortcuts.h"
#include "canvas/Canvas.h"
#include "commands/Autosave.h"
#include "panels/ColourPicker.h"
#include "panels/CommandBar.h"
#include "panels/DelayPopups.h"
#include "panels/FrameStrip.h"
#include "panels/PalettePanel.h"
#include "panels/PanelLayout.h"
#include "panels/PreviewPanel.h"
#include "panels/StatusStrip.h"
#include "ui/Layout.h"

#include <algorithm>
#include <cstdio>

namespace vork {

std::string windowTitle(const Editor& e, int paints) {
    char buf[256];
    if (e.shownMode == Mode::Painter) {
        const auto& picture = e.modes[size_t(Mode::Painter)].document;
        int layers = picture ? picture->current().layerCount() : 0;
        std::snprintf(buf, sizeof buf, "  Painter   Fps - %d    Width: %d Height: %d  Слоёв: %d",
                      paints, e.mode(Mode::Painter).width, e.mode(Mode::Painter).height, layers);
    } else {
        std::snprintf(buf, sizeof buf, "  Animator   Fps - %d    Width: %d Height: %d", paints,
                      e.mode(Mode::Animator).width, e.mode(Mode::Animator).height);
    }
    return buf;
}

namespace {

// The redraw request of the mode, set by its panels to get one more paint.
void redrawOnRequest(Editor& e, Mode mode) {
    bool& request = e.mode(mode).redrawRequest;
    if (request && e.input.inputEnabled) {
        e.platform.invalidate();
        request = false;
    }
}

} // namespace

void animatorFrame(Editor& e, Graphics& g) {
    redrawOnRequest(e, Mode::Animator);
    runShortcuts(e, Mode::Animator);
    drawCommandBar(e, g, Mode::Animator);
    drawPalettePanel(e, g, Mode::Animator);
    drawPreviewPanel(e, g, Mode::Animator); // and the layer panel
    drawFrameStrip(e, g);
    drawCanvas(e, g, Mode::Animator); // canvas and tools
    drawOpenColourPickers(e, g, Mode::Animator);
    drawDelayPopups(e, g); // over everything else
}

void painterFrame(Editor& e, Graphics& g) {
    layoutPainterBackgrounds(e); // when the window's size is new to them
    redrawOnRequest(e, Mode::Painter);
    runShortcuts(e, Mode::Painter);
    drawCanvas(e, g, Mode::Painter); // canvas and tools
    drawPalettePanel(e, g, Mode::Painter);
    drawCommandBar(e, g, Mode::Painter);
    drawPreviewPanel(e, g, Mode::Painter); // and the layer panel
    drawOpenColourPickers(e, g, Mode::Painter);
    drawStatusStrip(e, g);
}

void paintWindow(Editor& e, Bitmap& backBuffer) {
    const uint32_t t = e.platform.tickCount();
    e.frame.frameCounter += 1;
    if (t - e.frame.lastTitleTime > 1000) {
        e.platform.setTitle(windowTitle(e, e.frame.frameCounter));
        e.frame.lastTitleTime = t;
        e.frame.frameCounter = 0;
    }
    const Rect client{0, 0, e.clientWidth, e.clientHeight};
    backBuffer = Bitmap(std::max(client.w, 1), std::max(client.h, 1), PixelFormat::Rgb);
    {
        Graphics g(backBuffer);
        if (e.shownMode == Mode::Painter)
            painterFrame(e, g);
        else
            animatorFrame(e, g);
    }
    InputState& in = e.input;
    if (!in.mouseDown)
        in.clickLatch = false;
    if (in.mouseX < 0 || in.mouseY < 0 || in.mouseX >= client.w || in.mouseY >= client.h)
        in.mouseDown = false;
    in.movedSincePaint = false;
    in.lastChar = 0;
    // The next character typed ahead gets the next paint to itself.
    if (!in.typedAhead.empty()) {
        in.lastChar = in.typedAhead.front();
        in.typedAhead.pop_front();
        e.requestRepaint();
    }
    autosaveTick(e);
}

} // namespace vork
