// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A fixture for the Animator's frame strip, playback and delay pop-ups: a 1000 x 700 window
// (strip at y 605, toolbar at 607, cells at 622), input sent through the window procedure with
// the held buttons and keys the panels read, and text compared with the way the strip draws it.
#include "app/WindowProcedure.h"
#include "gfx/Graphics.h"
#include "support/CanvasScenario.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vork::test {

struct AnimatorScenario : EditorScenario<> {
    void SetUp() override {
        makeToolButtons();
        resize(1000, 700);
    }

    FrameStripLayout strip() const { return layoutOf(e, Mode::Animator).strip; }
    int toolbarY() const { return strip().toolbarY; }
    Document& animation() { return *e.animation(); }

    // A w x h animation of n frames, made as the New dialog makes it, the first frame current.
    // Frame i has delay 100 + i and a pixel (i, 0) of its own colour, so each is told apart.
    Document& makeAnimation(int n, int w = 40, int h = 30) {
        Document& a = newDocument(Mode::Animator, w, h);
        for (int i = 1; i < n; ++i)
            a.insertFrameAfter(a.currentFrameIndex());
        for (int i = 0; i < n; ++i) {
            a.frame(i).delay = 100 + i;
            a.frame(i).layer(0).image.setPixel(i % w, 0, frameColour(i));
        }
        a.setCurrentFrame(0);
        a.renumberFrames();
        refreshAllFrameThumbnails(a);
        paint();
        return a;
    }
    static Color frameColour(int i) { return Color::rgb(10 + i % 200, 200, 30); }

    std::vector<uint64_t> serials() {
        std::vector<uint64_t> out;
        for (const Frame& f : animation().frames())
            out.push_back(f.serial);
        return out;
    }

    // Input as the window delivers it: the pointer moved, the buttons with their held state.
    void moveTo(int x, int y) {
        onPointerMove(e, x, y);
        paint();
    }
    void press(int x, int y) {
        onPointerMove(e, x, y);
        platform.held.insert(HeldKey::LeftButton);
        onLeftButtonDown(e);
        paint();
    }
    void release() {
        platform.held.erase(HeldKey::LeftButton);
        onLeftButtonUp(e);
        paint();
    }
    void releaseAt(int x, int y) {
        onPointerMove(e, x, y);
        release();
    }
    void clickAt(int x, int y) {
        press(x, y);
        release();
    }
    // A held key or button for one paint.
    void hold(HeldKey key) {
        platform.held.insert(key);
        paint();
        platform.held.erase(key);
    }
    void typeChar(uint8_t c) {
        onCharacter(e, c);
        paint();
    }

    // A point of frame `index`'s cell, (dx, dy) from its top-left corner.
    Point inCell(int index, int dx, int dy) const {
        const Rect c = frameCellRect(strip(), index, e.animator.strip.stripScroll);
        return {c.x + dx, c.y + dy};
    }
    void pressCell(int index, int dx = 40, int dy = 50) {
        const Point p = inCell(index, dx, dy);
        press(p.x, p.y);
    }
    void moveToCell(int index, int dx = 40, int dy = 50) {
        const Point p = inCell(index, dx, dy);
        moveTo(p.x, p.y);
    }
    // The toolbar item whose left edge is at x (the centre of its 14-pixel height).
    void clickToolbar(int x, int width = 28) { clickAt(x + width / 2, toolbarY() + 7); }

    // Whether the back buffer shows `text` in rectangle r over `background` exactly as the
    // panels draw it (small font, the given colour and alignment). The rectangle's edge pixels
    // are left out: outlines may lie on them.
    bool showsText(Rect r, const std::string& text, Color background, Color ink,
                   Align align) const {
        Bitmap expected(r.w, r.h, PixelFormat::Rgb);
        {
            Graphics g(expected);
            g.clear(background);
            g.drawText(text, FontKind::Small, Brush::solid(ink),
                       RectF{0, 0, float(r.w), float(r.h)}, align);
        }
        for (int y = 1; y < r.h - 1; ++y)
            for (int x = 1; x < r.w - 1; ++x)
                if (back.pixel(r.x + x, r.y + y) != expected.pixel(x, y))
                    return false;
        return true;
    }
};

inline constexpr Color panelGrey = Color::rgb(212, 208, 200);
inline constexpr Color darkBlue = Color::rgb(0, 0, 139);

} // namespace vork::test
