// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fixtures that run the whole program a frame at a time on a scripted desktop: an Editor on a
// FakePlatform, its window laid out, documents made the way the New dialog makes them, and the
// pointer and keys driven between frames.
#include "app/FrameCycle.h"
#include "app/Layout.h"
#include "app/Startup.h"
#include "canvas/Canvas.h"
#include "canvas/CanvasView.h"
#include "commands/NewDocument.h"
#include "support/FakePlatform.h"
#include "support/PixelChecks.h"
#include "ui/Layout.h"
#include "ui/Widgets.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <utility>

namespace vork::test {

// The Editor, its desktop and the back buffer each frame is painted into. Base is the gtest
// fixture to build on: ::testing::Test, or a TestWithParam for parameterised suites.
template <class Base = ::testing::Test> struct EditorScenario : Base {
    FakePlatform platform;
    Editor e{platform};
    Bitmap back;

    void paint() { paintWindow(e, back); }
    // A window of w x h, laid out.
    void resize(int w, int h) {
        e.clientWidth = w;
        e.clientHeight = h;
        layoutAll(e);
    }
    // The tool buttons of the command bar, as the program's start makes them.
    void makeToolButtons() { vork::makeToolButtons(e); }
    // A character typed for one frame.
    void type(uint8_t c) {
        e.input.lastChar = c;
        paint();
    }
    // The pointer on a point of the window. CanvasScenario's pointAt takes picture positions
    // instead.
    void pointAt(int x, int y) {
        e.input.mouseX = x;
        e.input.mouseY = y;
    }
    // Press on one frame, release on the next, over the same point of the window.
    void click(int x, int y) {
        pointAt(x, y);
        e.input.mouseDown = true;
        paint();
        e.input.mouseDown = false;
        paint();
    }
    // Animator playback running but holding still on the current frame, for the tests of what
    // playback pauses: the strip stops a one-frame animation at once, so a frame is added after
    // the current one (which stays current), and nothing is due for a long while.
    void holdPlayback(PlayState state) {
        if (Document* a = e.animation().get(); a && a->frameCount() == 1) {
            a->insertFrameAfter(0);
            a->setCurrentFrame(0);
        }
        e.animator.playState = state;
        e.animator.strip.nextFrameTime = platform.tick + 0x7FFFFFF0u;
    }
    // A new w x h document of the mode, made as the New dialog makes it, and the mode shown.
    Document& newDocument(Mode mode, int w, int h) {
        e.shownMode = mode;
        if (mode == Mode::Painter) {
            e.mode(Mode::Painter).width = w;
            e.mode(Mode::Painter).height = h;
            makeNewDocument(e, Mode::Painter);
        } else {
            e.mode(Mode::Animator).width = w;
            e.mode(Mode::Animator).height = h;
            makeNewDocument(e, Mode::Animator);
        }
        return *e.mode(mode).document;
    }
};

// The index of a zoom step (the default one for a zoom that is not a step).
inline int zoomIndexOf(float zoom) {
    for (size_t i = 0; i < zoomLevels.size(); ++i)
        if (zoomLevels[i] == zoom)
            return int(i);
    return defaultZoomIndex;
}

// The size, zoom and drawing colour a canvas suite starts its documents with.
struct CanvasStart {
    int width = 40, height = 40;
    int zoomIndex = 13; // 5: pointer positions fall on fifths of a pixel
    Color colour = red;
};

// A canvas suite run in both modes (the parameter): a document of that mode, the pointer put
// on picture positions, and pressed, moved and released a frame at a time.
struct CanvasScenario : EditorScenario<::testing::TestWithParam<Mode>> {
    Mode mode = Mode::Animator;
    CanvasStart start;

    explicit CanvasScenario(CanvasStart s = {}) : start(s) {}

    void SetUp() override {
        layoutAll(e);
        mode = GetParam();
    }
    // A document of the suite's size at its zoom, the drawing colour chosen, one frame painted.
    Document& make() { return make(start.width, start.height); }
    Document& make(int w, int h) {
        e.mode(mode).zoomIndex = start.zoomIndex;
        newDocument(mode, w, h);
        chooseColour(start.colour);
        paint();
        return doc();
    }
    virtual void chooseColour(Color c) { e.colour.currentColor = c; }

    Document& doc() { return *e.mode(mode).document; }
    Bitmap& layer() { return doc().currentLayer().image; }
    int states() { return e.mode(mode).history ? e.mode(mode).history->stateCount() : 0; }

    // The screen point that maps nearest to the picture position (x, y), same pixel.
    std::pair<int, int> screenOf(float x, float y) {
        const CanvasPlacement p = canvasPlacement(e, mode);
        return {int(std::lround(p.imageLeft + (x - p.offsetX) * p.zoom)),
                int(std::lround(p.imageTop + (y - p.offsetY) * p.zoom))};
    }
    void pointAt(float x, float y) {
        std::tie(e.input.mouseX, e.input.mouseY) = screenOf(x, y);
        const CanvasPlacement q = canvasPlacement(e, mode);
        // Below 100 % a screen pixel covers several picture pixels: the pointer lands on the
        // one under it, as the user's would.
        if (q.zoom < 1)
            return;
        // At zoom 5 the pointer moves in steps of 0.2 pixels, at zoom 3 of a third.
        ASSERT_NEAR(q.pixelX, x, 0.5f / q.zoom + 0.01f);
        ASSERT_NEAR(q.pixelY, y, 0.5f / q.zoom + 0.01f);
        ASSERT_EQ(int(q.pixelX), int(x));
        ASSERT_EQ(int(q.pixelY), int(y));
    }
    void press(float x, float y) {
        pointAt(x, y);
        e.input.mouseDown = true;
        paint();
    }
    void moveTo(float x, float y) {
        pointAt(x, y);
        paint();
    }
    void release() {
        e.input.mouseDown = false;
        paint();
    }
    // One stroke of the tool from (x0, y0) to (x1, y1).
    void drag(Tool tool, float x0, float y0, float x1, float y1) {
        e.currentTool = tool;
        press(x0, y0);
        moveTo(x1, y1);
        release();
    }
};

} // namespace vork::test
