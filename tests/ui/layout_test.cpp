// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FrameCycle.h"
#include "app/Layout.h"
#include "canvas/CanvasView.h"
#include "panels/Backgrounds.h"
#include "support/FakePlatform.h"
#include "ui/Layout.h"

#include <gtest/gtest.h>

#include <limits>
#include <utility>

using namespace vork;

TEST(AnimatorLayout, PanelsAt1000x700) {
    ModeLayout l = animatorLayout(1000, 700);
    EXPECT_EQ(l.commandBar, (Rect{0, 0, 92, 605}));
    EXPECT_EQ(l.column.rect, (Rect{780, 0, 220, 605}));
    EXPECT_EQ(l.canvas, (Rect{92, 0, 688, 533}));
    EXPECT_EQ(l.palette, (Rect{92, 533, 688, 72}));
    EXPECT_EQ(l.picker, (Rect{102, 273, 596, 250}));
    EXPECT_EQ(l.frameStrip, (Rect{0, 605, 1000, 95}));
    EXPECT_EQ(l.statusStrip, Rect{}) << "the Animator has no status strip";
}

TEST(PainterLayout, RegionsAt1000x700) {
    ModeLayout l = painterLayout(1000, 700);
    EXPECT_EQ(l.commandBar, (Rect{0, 0, 92, 675}));
    EXPECT_EQ(l.column.rect, (Rect{780, 0, 220, 675}));
    EXPECT_EQ(l.canvas, (Rect{91, 0, 689, 603}));
    EXPECT_EQ(l.palette, (Rect{91, 603, 690, 72})) << "one pixel wider than the canvas";
    EXPECT_EQ(l.statusStrip, (Rect{0, 675, 999, 25}));
    EXPECT_EQ(l.picker, animatorLayout(1000, 700).picker)
        << "the picker lies where it does in the Animator";
    EXPECT_EQ(l.frameStrip, Rect{}) << "the Painter has no frame strip";
}

TEST(PainterLayout, SmallWindowKeepsTheLowerBounds) {
    ModeLayout l = painterLayout(500, 300);
    EXPECT_EQ(l.commandBar.h, 400);
    EXPECT_EQ(l.column.rect, (Rect{492, 0, 220, 400})) << "one pixel left of the Animator's 493";
    EXPECT_EQ(l.canvas, (Rect{91, 0, 401, 328}));
    EXPECT_EQ(l.palette, (Rect{91, 328, 401, 72}));
}

// The layer box and what lies in it, for both modes, at the heights of a 1000 x 700 window.
TEST(ColumnLayout, LayerBoxListButtonsAndOpacityOfBothModes) {
    const ColumnLayout p = painterLayout(1000, 700).column; // HP = 675
    EXPECT_EQ(p.previewArea, (Rect{790, 10, 198, 198}));
    EXPECT_EQ(p.layerBox, (Rect{786, 234, 206, 675 - 282}));
    EXPECT_EQ(p.scrollTrack, (Rect{973, 253, 15, 675 - 345}));
    EXPECT_EQ(p.lineYs, (std::array<int, 3>{238, 675 - 91, 675 - 75}));
    EXPECT_EQ(p.listArea, (Rect{790, 239, 200, 675 - 91 - 238})) << "y 239 .. HP - 91";
    EXPECT_EQ(p.listBottom, 675 - 91);
    EXPECT_EQ(p.buttonRowY, 675 - 90);
    EXPECT_EQ(p.opacityBoxY, 675 - 70);

    const ColumnLayout a = animatorLayout(1000, 700).column; // HP = 605
    EXPECT_EQ(a.layerBox, (Rect{786, 234, 206, 605 - 238}));
    EXPECT_EQ(a.scrollTrack, (Rect{973, 253, 15, 605 - 301}));
    EXPECT_EQ(a.lineYs, (std::array<int, 3>{238, 605 - 48, 605 - 32}));
    EXPECT_EQ(a.listBottom, 605 - 48);
    EXPECT_EQ(a.buttonRowY, 605 - 47);
    EXPECT_EQ(a.opacityBoxY, 605 - 26);
}

TEST(AnimatorLayout, PickerWidthIsCappedAt600) {
    EXPECT_EQ(animatorLayout(1200, 700).picker.w, 600);
}

TEST(AnimatorLayout, SmallWindowKeepsTheStartUpRectangles) {
    test::FakePlatform platform;
    Editor e(platform);
    e.clientWidth = 500;
    e.clientHeight = 300;
    Panels initial;
    layoutAll(e);
    for (auto [now, first] : {std::pair{&e.panels.commandBar, &initial.commandBar},
                              {&e.panels.right, &initial.right},
                              {&e.panels.canvas, &initial.canvas},
                              {&e.panels.palette, &initial.palette},
                              {&e.panels.picker, &initial.picker},
                              {&e.panels.frame, &initial.frame}}) {
        EXPECT_EQ(now->rect(), first->rect());
        EXPECT_EQ(now->image.width(), first->width);
        EXPECT_EQ(now->image.height(), first->height);
    }
}

TEST(AnimatorLayout, StepsRenderTheirBackgrounds) {
    test::FakePlatform platform;
    Editor e(platform);
    e.clientWidth = 1000;
    e.clientHeight = 700;
    layoutAll(e);
    const Bitmap& canvas = e.panels.canvas.image;
    EXPECT_EQ(canvas.pixel(10, 0), colors::black) << "line along the top";
    EXPECT_EQ(canvas.pixel(10, 10), Color::rgb(128, 128, 128));
    const Bitmap& palette = e.panels.palette.image;
    EXPECT_EQ(palette.pixel(5, 0), colors::black);
    EXPECT_EQ(palette.pixel(5, 30), Color::rgb(212, 208, 200));
    const Bitmap& frame = e.panels.frame.image;
    EXPECT_EQ(frame.pixel(100, 8), Color::rgb(212, 208, 200)) << "plain left part of the strip";
    Color a = frame.pixel(600, 8), b = frame.pixel(601, 8);
    EXPECT_NE(a, b) << "the right part of the strip is a 50-percent hatch";
    EXPECT_EQ(frame.pixel(458, 5), Color::rgb(128, 128, 128)) << "outline of the left part";
    const Bitmap& bar = e.panels.commandBar.image;
    EXPECT_EQ(bar.pixel(0, 300), colors::black) << "black outline";
    EXPECT_EQ(bar.pixel(40, 200), Color::rgb(212, 208, 200)) << "the tool box";
    EXPECT_EQ(bar.pixel(40, 605 - 50), Color::rgb(212, 208, 200)) << "the onion-skin box";
    const Bitmap& right = e.panels.right.image;
    EXPECT_EQ(right.pixel(100, 100), Color::rgb(212, 208, 200)) << "preview box";
    EXPECT_EQ(right.pixel(10, 100), Color::rgb(128, 128, 128)) << "preview frame";
    EXPECT_EQ(right.pixel(100, 300), Color::rgb(230, 230, 230)) << "layer list";
    EXPECT_EQ(right.pixel(100, 605 - 48), Color::rgb(80, 80, 80)) << "list line";
    const Bitmap& picker = e.panels.picker.image;
    EXPECT_EQ(picker.pixel(0, 0), colors::black);
    EXPECT_EQ(picker.pixel(2, 2), colors::white);
    EXPECT_EQ(picker.pixel(picker.width() - 2, 100), Color::rgb(128, 128, 128));
    EXPECT_EQ(picker.pixel(50, 50), Color::rgb(212, 208, 200));
}

TEST(PainterCanvasLayout, PlacesTheZoomedPictureInTheView) {
    test::FakePlatform platform;
    Editor e(platform);
    e.clientWidth = 1000;
    e.clientHeight = 700;
    e.mode(Mode::Painter).width = 100;
    e.mode(Mode::Painter).height = 1000;
    layoutCanvas(e, Mode::Painter);
    EXPECT_EQ(layoutOf(e, Mode::Painter).canvas.w, 689);
    EXPECT_EQ(layoutOf(e, Mode::Painter).canvas.h, 603);
    EXPECT_FLOAT_EQ(e.mode(Mode::Painter).canvas.pictureX, 294) << "689 / 2 - 50, whole";
    EXPECT_FLOAT_EQ(e.mode(Mode::Painter).canvas.pictureY, 0) << "raised to 0";
    EXPECT_FLOAT_EQ(e.mode(Mode::Painter).canvas.pictureHeight, 603) << "lowered to the view";
    EXPECT_EQ(e.mode(Mode::Painter).canvasBackdrop.width(), 689);
}

TEST(PainterCanvasLayout, PreparedBarAndColumnLookAsIfDrawnOnTheFrame) {
    test::FakePlatform platform;
    Editor e(platform);
    e.clientWidth = 1000;
    e.clientHeight = 700;
    layoutAll(e);
    e.shownMode = Mode::Painter;
    Bitmap frame;
    paintWindow(e, frame);
    // The same construction drawn straight onto a blank frame.
    Bitmap direct(1000, 700, PixelFormat::Rgb);
    {
        Graphics g(direct);
        drawCommandBarBackground(g, Mode::Painter, 675);
        drawRightColumnBackground(g, Mode::Painter, painterLayout(1000, 700).column, 0);
    }
    // Rows where nothing but the backgrounds draws (the status strip covers row 675; the layer
    // list's scroll button starts at row 238, its buttons' separators end at row 600).
    for (int y : {1, 5, 300, 500, 674})
        for (int x = 0; x < 92; ++x)
            ASSERT_EQ(frame.pixel(x, y), direct.pixel(x, y)) << x << "," << y;
    for (int y : {1, 8, 236, 602, 674})
        for (int x = 780; x < 1000; ++x)
            ASSERT_EQ(frame.pixel(x, y), direct.pixel(x, y)) << x << "," << y;
}

TEST(FrameStripLayout, ToolbarCellsScrollBarAndPopupsFollowTheStrip) {
    const FrameStripLayout s = animatorLayout(1000, 700).strip;
    EXPECT_EQ(s.rect, (Rect{0, 605, 1000, 95}));
    EXPECT_EQ(s.toolbarY, 607);
    EXPECT_EQ(s.cellsY, 622);
    EXPECT_EQ(s.scrollBar, (RectF{459, 607, 540, 14}));
    EXPECT_EQ(s.shownWidth, 1000);
    EXPECT_EQ(frameCellRect(s, 0, 0), (Rect{0, 622, 65, 75}));
    EXPECT_EQ(frameCellRect(s, 3, 100), (Rect{95, 622, 65, 75}));
    EXPECT_EQ(defaultDelayPopupOrigin(s), (Point{50, 387}));
    EXPECT_EQ(frameDelayPopupOrigin(s, 130), (Point{130, 404}));

    // A window narrower than the strip's least width shows only its left part.
    const FrameStripLayout narrow = animatorLayout(500, 300).strip;
    EXPECT_EQ(narrow.rect, (Rect{0, 399, 673, 95}));
    EXPECT_EQ(narrow.shownWidth, 500);
    EXPECT_EQ(narrow.scrollBar, (RectF{459, 401, 213, 14}));
}

TEST(FrameStripLayout, OnlyTheCellsInsideTheWindowAreShown) {
    const FrameStripLayout s = animatorLayout(1000, 700).strip;
    auto shown = [&](int count, int scroll) {
        const FrameRange r = shownFrameCells(s, count, scroll);
        return std::pair{r.first, r.last};
    };
    EXPECT_EQ(shown(0, 0), std::pair(0, 0));
    EXPECT_EQ(shown(3, 0), std::pair(0, 3));
    EXPECT_EQ(shown(1000, 0), std::pair(0, 16)) << "cell 15 starts at 975, cell 16 at 1040";
    EXPECT_EQ(shown(1000, 64), std::pair(0, 17)) << "one column of cell 0 is left";
    EXPECT_EQ(shown(1000, 65), std::pair(1, 17));
    EXPECT_EQ(shown(1000, 65 * 984), std::pair(984, 1000));
    EXPECT_EQ(shown(1000, 65 * 1000), std::pair(1000, 1000)) << "scrolled past every cell";
    EXPECT_EQ(shown(10, -500), std::pair(0, 8)) << "a negative scroll shows the first ones";
    EXPECT_EQ(shown(10, -2000), std::pair(0, 0));
    EXPECT_EQ(shown(std::numeric_limits<int>::max(), std::numeric_limits<int>::max()),
              std::pair(33038209, 33038226))
        << "no overflow";
}
