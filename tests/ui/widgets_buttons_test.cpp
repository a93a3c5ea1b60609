// SPDX-License-Identifier: GPL-3.0-or-later
// Buttons and swatches driven frame by frame: pointer state in, pixels and clicks out.
#include "support/FakePlatform.h"
#include "ui/Editor.h"
#include "ui/Widgets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace vork;

namespace {

constexpr Color grey220 = Color::rgb(220, 220, 220);
constexpr Color red = Color::rgb(255, 0, 0);
constexpr Color blue = Color::rgb(0, 0, 255);

class ButtonFrames : public ::testing::Test {
  protected:
    ButtonFrames() {
        // A 6 x 6 red cell at (12, 24) of the sheet with a blue top-left pixel, so the place of
        // a face or icon can be read from one pixel.
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 6; ++x)
                editor.toolSheet.setPixel(12 + x, 24 + y, x == 0 && y == 0 ? blue : red);
    }

    // One paint: the pointer state of this frame, the widgets, then what the paint does after
    // the panels (the latch is forgotten once the button is up). Returns what `draw` returns.
    bool frame(int x, int y, bool down, const std::function<bool(Graphics&)>& draw) {
        editor.input.mouseX = x;
        editor.input.mouseY = y;
        editor.input.mouseDown = down;
        target.fill(colors::transparent);
        bool result;
        {
            Graphics g(target);
            result = draw(g);
        }
        endFrame();
        return result;
    }
    void endFrame() {
        if (!editor.input.mouseDown)
            editor.input.clickLatch = false;
    }

    bool drawIcon(Graphics& g, Rect r) { return iconButton(editor.widgets(), g, r, cell); }

    test::FakePlatform platform;
    Editor editor{platform};
    Bitmap target{60, 40};
    const Rect cell{12, 24, 6, 6};
    const Rect a{10, 10, 20, 20}; // icon centred at (10 + 10 - 3, 10 + 10 - 3) = (17, 17)
    const Rect b{32, 10, 20, 20};
};

// ---- geometry -------------------------------------------------------------------------------

TEST(WidgetGeometry, PointerInsideIsStrictOnAllFourSides) {
    InputState in;
    const Rect r{10, 20, 5, 4};
    auto at = [&](int x, int y) {
        in.mouseX = x;
        in.mouseY = y;
        return pointerInside(in, r);
    };
    EXPECT_TRUE(at(11, 21));
    EXPECT_TRUE(at(14, 23));
    EXPECT_FALSE(at(10, 22)) << "left edge";
    EXPECT_FALSE(at(15, 22)) << "right edge";
    EXPECT_FALSE(at(12, 20)) << "top edge";
    EXPECT_FALSE(at(12, 24)) << "bottom edge";
}

TEST(WidgetGeometry, WithinClientAllowsTouchingTheRightAndBottomEdges) {
    test::FakePlatform p;
    Editor e(p);
    e.clientWidth = 100;
    e.clientHeight = 50;
    EXPECT_TRUE(withinClient(e.widgets(), {80, 30, 20, 20}));
    EXPECT_FALSE(withinClient(e.widgets(), {81, 30, 20, 20}));
    EXPECT_FALSE(withinClient(e.widgets(), {80, 31, 20, 20}));
}

TEST(WidgetGeometry, RaisedBevelIsLightTopLeftAndDarkBottomRightSunkenSwaps) {
    const Rect r{2, 3, 8, 6};
    Bitmap raised(14, 12), sunken(14, 12);
    {
        Graphics g(raised);
        raisedBevel(g, r, bevelLight, bevelDark);
    }
    {
        Graphics g(sunken);
        sunkenBevel(g, r, bevelLight, bevelDark);
    }
    EXPECT_EQ(raised.pixel(6, 3), bevelLight) << "top";
    EXPECT_EQ(raised.pixel(2, 6), bevelLight) << "left";
    EXPECT_EQ(raised.pixel(6, 9), bevelDark) << "bottom at y + h";
    EXPECT_EQ(raised.pixel(10, 6), bevelDark) << "right at x + w";
    EXPECT_EQ(raised.pixel(6, 6), colors::transparent) << "the inside is left alone";
    EXPECT_EQ(sunken.pixel(6, 3), bevelDark);
    EXPECT_EQ(sunken.pixel(2, 6), bevelDark);
    EXPECT_EQ(sunken.pixel(6, 9), bevelLight);
    EXPECT_EQ(sunken.pixel(10, 6), bevelLight);
}

TEST(WidgetGeometry, PressedBackgroundIsAGreyAndWhiteHatchCoveringExactlyTheRectangle) {
    Bitmap bmp(12, 12);
    {
        Graphics g(bmp);
        pressedBackground(g, {2, 2, 6, 6});
    }
    int greys = 0, whites = 0;
    for (int y = 2; y < 8; ++y)
        for (int x = 2; x < 8; ++x) {
            const Color c = bmp.pixel(x, y);
            greys += c == grey220;
            whites += c == colors::white;
            if (x > 2) {
                EXPECT_NE(c, bmp.pixel(x - 1, y)) << "neighbours alternate at " << x << "," << y;
            }
        }
    EXPECT_EQ(greys, 18);
    EXPECT_EQ(whites, 18);
    EXPECT_EQ(bmp.pixel(8, 5), colors::transparent);
    EXPECT_EQ(bmp.pixel(5, 1), colors::transparent);
}

// ---- the click rule -------------------------------------------------------------------------

TEST_F(ButtonFrames, HoldingOverAButtonShowsItPressedAndTheReleaseClicksOnce) {
    auto icon = [&](Graphics& g) { return drawIcon(g, a); };
    EXPECT_FALSE(frame(20, 20, false, icon)) << "hover alone is no click";
    EXPECT_EQ(target.pixel(17, 17), blue) << "icon in place while up";
    EXPECT_EQ(target.pixel(15, 10), bevelLight) << "hovered: raised";

    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(frame(20, 20, true, icon)) << "held frame " << i;
        EXPECT_TRUE(editor.input.clickLatch);
    }
    EXPECT_EQ(target.pixel(18, 18), blue) << "held: icon moved by (1, 1)";
    EXPECT_EQ(target.pixel(15, 10), bevelDark) << "held: sunken";
    const Color under = target.pixel(12, 12);
    EXPECT_TRUE(under == grey220 || under == colors::white) << "held: hatched background";
    EXPECT_EQ(platform.invalidations, 0) << "pressing asks for no repaint";

    EXPECT_TRUE(frame(20, 20, false, icon)) << "the frame after the release clicks";
    EXPECT_EQ(platform.invalidations, 1);
    EXPECT_FALSE(frame(20, 20, false, icon)) << "exactly once";
    EXPECT_EQ(platform.invalidations, 1);
}

TEST_F(ButtonFrames, PressOnOneButtonAndReleaseOnAnotherClicksTheSecond) {
    bool clickedA = false, clickedB = false;
    auto both = [&](Graphics& g) {
        clickedA = drawIcon(g, a);
        clickedB =
            textButton(editor.widgets(), g, b, FontKind::Button, Brush::solid(colors::black), "Ok");
        return clickedA || clickedB;
    };
    frame(20, 20, true, both);
    frame(40, 20, true, both); // dragged over B, still held
    frame(40, 20, false, both);
    EXPECT_FALSE(clickedA);
    EXPECT_TRUE(clickedB);
}

TEST_F(ButtonFrames, ReleaseOutsideEveryButtonClicksNothingAndForgetsThePress) {
    auto icon = [&](Graphics& g) { return drawIcon(g, a); };
    frame(20, 20, true, icon);
    EXPECT_FALSE(frame(5, 5, false, icon)) << "released outside";
    EXPECT_FALSE(editor.input.clickLatch) << "the paint forgot the press";
    EXPECT_FALSE(frame(20, 20, false, icon)) << "coming back with the button up is no click";
    EXPECT_EQ(platform.invalidations, 0);
}

TEST_F(ButtonFrames, IconButtonsConsumeTheLatchToolButtonsKeepItForTheRestOfThePaint) {
    const ToolButton tool = makeToolButton(editor.toolSheet, cell, 7);
    // Two widgets on the same rectangle: whether the second sees the click tells whether the
    // first kept the latch.
    bool first = false, second = false;
    auto toolThenIcon = [&](Graphics& g) {
        first = toolButton(editor.widgets(), g, tool, a, 0);
        second = drawIcon(g, a);
        return first;
    };
    auto iconThenTool = [&](Graphics& g) {
        first = drawIcon(g, a);
        second = toolButton(editor.widgets(), g, tool, a, 0);
        return first;
    };
    frame(20, 20, true, toolThenIcon);
    frame(20, 20, false, toolThenIcon);
    EXPECT_TRUE(first);
    EXPECT_TRUE(second) << "the ToolButton left the latch set";

    frame(20, 20, true, iconThenTool);
    frame(20, 20, false, iconThenTool);
    EXPECT_TRUE(first);
    EXPECT_FALSE(second) << "the icon button cleared the latch";
}

TEST_F(ButtonFrames, NoRepaintIsAskedWhileADialogHasTheInput) {
    auto icon = [&](Graphics& g) { return drawIcon(g, a); };
    frame(20, 20, true, icon);
    editor.input.inputEnabled = false;
    EXPECT_TRUE(frame(20, 20, false, icon));
    EXPECT_EQ(platform.invalidations, 0);
}

// ---- the client area ------------------------------------------------------------------------

TEST_F(ButtonFrames, AButtonPastTheClientAreaIsNeitherDrawnNorClickable) {
    editor.clientWidth = 29; // a ends at 30
    const ToolButton tool = makeToolButton(editor.toolSheet, cell, 3);
    auto all = [&](Graphics& g) {
        bool any = drawIcon(g, a);
        any |= toolButton(editor.widgets(), g, tool, a, 3);
        any |= holdButton(editor.widgets(), g, a, cell);
        any |= paletteSwatch(editor.widgets(), g, PaletteEntry{1, red}, a, 1);
        any |=
            textButton(editor.widgets(), g, a, FontKind::Button, Brush::solid(colors::black), "X");
        return any;
    };
    EXPECT_FALSE(frame(20, 20, true, all));
    EXPECT_FALSE(editor.input.clickLatch) << "a skipped widget does not latch";
    EXPECT_FALSE(frame(20, 20, false, all));
    for (int y = 0; y < target.height(); ++y)
        for (int x = 0; x < target.width(); ++x)
            ASSERT_EQ(target.pixel(x, y), colors::transparent) << x << "," << y;

    editor.clientWidth = 30; // exactly fits
    frame(20, 20, false, all);
    EXPECT_NE(target.pixel(20, 20), colors::transparent);
}

// ---- ToolButton -----------------------------------------------------------------------------

TEST(ToolButtonFace, IsACopyOfTheSheetCellSizedLikeIt) {
    Bitmap sheet(20, 20);
    sheet.setPixel(5, 6, red);
    sheet.setPixel(19, 19, blue);
    const ToolButton b = makeToolButton(sheet, {5, 6, 4, 3}, 9);
    EXPECT_EQ(b.id, 9);
    EXPECT_EQ(b.faceWidth, 4);
    EXPECT_EQ(b.faceHeight, 3);
    EXPECT_EQ(b.face.width(), 4);
    EXPECT_EQ(b.face.height(), 3);
    EXPECT_EQ(b.face.pixel(0, 0), red);
    EXPECT_EQ(b.face.pixel(1, 0), colors::transparent);

    const ToolButton edge = makeToolButton(sheet, {18, 18, 4, 4}, 1);
    EXPECT_EQ(edge.face.width(), 4) << "a cell reaching past the sheet keeps its size";
    EXPECT_EQ(edge.face.pixel(1, 1), blue);
    EXPECT_EQ(edge.face.pixel(3, 3), colors::transparent);
}

TEST_F(ButtonFrames, ToolButtonStandingForTheWatchedValueIsDrawnPressedUntouched) {
    const ToolButton tool = makeToolButton(editor.toolSheet, cell, 3);
    frame(0, 0, false, [&](Graphics& g) { return toolButton(editor.widgets(), g, tool, a, 3); });
    EXPECT_EQ(target.pixel(18, 18), blue) << "face moved by one pixel";
    EXPECT_NE(target.pixel(17, 17), blue);
    const Color c1 = target.pixel(12, 12), c2 = target.pixel(13, 12);
    EXPECT_TRUE((c1 == grey220 && c2 == colors::white) || (c1 == colors::white && c2 == grey220))
        << "hatched background";
    EXPECT_EQ(target.pixel(15, 10), tool.darkColor) << "sunken: dark on top";

    frame(0, 0, false, [&](Graphics& g) { return toolButton(editor.widgets(), g, tool, a, 4); });
    EXPECT_EQ(target.pixel(17, 17), blue) << "another watched value: face in place";
    EXPECT_EQ(target.pixel(12, 12), colors::transparent) << "no background";
    EXPECT_EQ(target.pixel(15, 10), colors::transparent) << "no bevel without the pointer";
}

TEST_F(ButtonFrames, ToolButtonHoveredIsRaisedAndShowsPressedWhileALatchWaits) {
    const ToolButton tool = makeToolButton(editor.toolSheet, cell, 3);
    auto draw = [&](Graphics& g) { return toolButton(editor.widgets(), g, tool, a, 0); };
    frame(20, 20, false, draw);
    EXPECT_EQ(target.pixel(15, 10), tool.lightColor) << "raised";
    EXPECT_EQ(target.pixel(17, 17), blue);

    // A press elsewhere keeps the latch; arriving over the button with it set looks pressed.
    editor.input.clickLatch = true;
    editor.input.mouseX = 20;
    editor.input.mouseY = 20;
    editor.input.mouseDown = false;
    target.fill(colors::transparent);
    bool clicked;
    {
        Graphics g(target);
        clicked = draw(g);
    }
    EXPECT_TRUE(clicked);
    EXPECT_TRUE(editor.input.clickLatch) << "kept for the rest of the paint";
    EXPECT_EQ(target.pixel(15, 10), tool.darkColor) << "pressed, not raised";
    EXPECT_EQ(target.pixel(18, 18), blue);
    endFrame();
    EXPECT_FALSE(editor.input.clickLatch);
}

// ---- hold button ----------------------------------------------------------------------------

TEST_F(ButtonFrames, HoldButtonReportsEveryHeldFrameUntilThePointerLeaves) {
    auto hold = [&](Graphics& g) { return holdButton(editor.widgets(), g, a, cell); };
    EXPECT_FALSE(frame(20, 20, false, hold));
    EXPECT_EQ(target.pixel(15, 10), bevelLight) << "always raised";
    EXPECT_EQ(target.pixel(17, 17), blue);

    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(frame(20, 20, true, hold)) << "held frame " << i;
    EXPECT_EQ(platform.invalidations, 3) << "each held frame asks for the next";
    EXPECT_EQ(target.pixel(10, 20), Color::rgb(128, 128, 128)) << "grey outline while held";
    EXPECT_EQ(target.pixel(18, 18), blue) << "icon moved by (1, 1)";
    EXPECT_FALSE(editor.input.clickLatch) << "the latch is not used";

    EXPECT_FALSE(frame(5, 5, true, hold)) << "left while still held";
    EXPECT_FALSE(frame(20, 20, false, hold)) << "and the release is no click";
}

TEST_F(ButtonFrames, HoldButtonLeavesALatchOfAnotherWidgetAlone) {
    editor.input.clickLatch = true;
    frame(20, 20, true, [&](Graphics& g) { return holdButton(editor.widgets(), g, a, cell); });
    EXPECT_TRUE(editor.input.clickLatch);
}

// ---- text button ----------------------------------------------------------------------------

TEST_F(ButtonFrames, TextButtonTextStaysInPlaceWhenPressed) {
    auto text = [&](Graphics& g) {
        return textButton(editor.widgets(), g, a, FontKind::Title, Brush::solid(blue), "W");
    };
    auto blueBounds = [&] {
        Rect r{1000, 1000, 0, 0};
        int x1 = -1, y1 = -1;
        for (int y = 0; y < target.height(); ++y)
            for (int x = 0; x < target.width(); ++x)
                if (target.pixel(x, y) == blue) {
                    r.x = std::min(r.x, x), r.y = std::min(r.y, y);
                    x1 = std::max(x1, x), y1 = std::max(y1, y);
                }
        r.w = x1 - r.x + 1;
        r.h = y1 - r.y + 1;
        return r;
    };
    frame(20, 20, false, text);
    const Rect up = blueBounds();
    ASSERT_GT(up.w, 0) << "the text was drawn";
    InputState centre;
    centre.mouseX = up.x + up.w / 2;
    centre.mouseY = up.y + up.h / 2;
    EXPECT_TRUE(pointerInside(centre, Rect{17, 17, 6, 6})) << "centred in the button";
    EXPECT_FALSE(frame(20, 20, true, text));
    EXPECT_EQ(blueBounds(), up);
    EXPECT_TRUE(frame(20, 20, false, text));
    EXPECT_FALSE(editor.input.clickLatch);
}

// ---- swatch ---------------------------------------------------------------------------------

TEST_F(ButtonFrames, TranslucentSwatchShowsTheCheckerboardOpaqueOneDoesNot) {
    const Rect r{4, 4, 24, 24};
    auto distinctInside = [&] {
        std::vector<Color> seen;
        for (int y = 6; y < 26; ++y)
            for (int x = 6; x < 26; ++x)
                if (std::find(seen.begin(), seen.end(), target.pixel(x, y)) == seen.end())
                    seen.push_back(target.pixel(x, y));
        return seen.size();
    };
    frame(0, 0, false, [&](Graphics& g) {
        return paletteSwatch(editor.widgets(), g, PaletteEntry{5, Color::fromArgb(128, 0, 0, 0)}, r,
                             0);
    });
    EXPECT_EQ(distinctInside(), 2u) << "two checker colours through the half-transparent black";
    EXPECT_EQ(target.pixel(4, 10), Color::rgb(60, 60, 60)) << "outline";

    frame(0, 0, false, [&](Graphics& g) {
        return paletteSwatch(editor.widgets(), g, PaletteEntry{5, Color::rgb(0, 0, 0)}, r, 0);
    });
    EXPECT_EQ(distinctInside(), 1u);
    EXPECT_EQ(target.pixel(15, 15), colors::black);
}

TEST_F(ButtonFrames, SelectedSwatchHasAWhiteAndVioletDashedFrame) {
    const Rect r{4, 4, 24, 24};
    const Color violet = Color::rgb(138, 43, 226);
    auto countOnFrameRow = [&](Color c) {
        int n = 0;
        for (int x = 5; x < 27; ++x)
            n += target.pixel(x, 5) == c;
        return n;
    };
    frame(0, 0, false, [&](Graphics& g) {
        return paletteSwatch(editor.widgets(), g, PaletteEntry{5, red}, r, 5);
    });
    EXPECT_GT(countOnFrameRow(violet), 3);
    EXPECT_GT(countOnFrameRow(colors::white), 3);
    EXPECT_EQ(target.pixel(15, 15), red);

    frame(0, 0, false, [&](Graphics& g) {
        return paletteSwatch(editor.widgets(), g, PaletteEntry{5, red}, r, 6);
    });
    EXPECT_EQ(countOnFrameRow(violet), 0) << "not selected: no frame";
}

TEST_F(ButtonFrames, SwatchClicksAndKeepsTheLatch) {
    auto swatch = [&](Graphics& g) {
        return paletteSwatch(editor.widgets(), g, PaletteEntry{1, red}, a, 0);
    };
    EXPECT_FALSE(frame(20, 20, true, swatch));
    editor.input.mouseDown = false;
    {
        Graphics g(target);
        EXPECT_TRUE(swatch(g));
    }
    EXPECT_TRUE(editor.input.clickLatch);
    EXPECT_EQ(platform.invalidations, 1);
}

} // namespace
