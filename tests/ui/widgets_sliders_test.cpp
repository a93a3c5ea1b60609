// SPDX-License-Identifier: GPL-3.0-or-later
// Sliders and scroll bars: the value they return for a pointer, and where they draw the knob.
#include "support/FakePlatform.h"
#include "ui/Editor.h"
#include "ui/Widgets.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vork;

namespace {

constexpr Color knobGrey = Color::rgb(212, 208, 200);

class SliderFrames : public ::testing::Test {
  protected:
    void pointer(int x, int y, bool down) {
        editor.input.mouseX = x;
        editor.input.mouseY = y;
        editor.input.mouseDown = down;
    }
    float horizontal(RectF r, float maximum, float value) {
        return run([&](Graphics& g) {
            return horizontalSlider(editor.widgets(), g, r, maximum, 1, value);
        });
    }
    float vertical(RectF r, float maximum, float value) {
        return run(
            [&](Graphics& g) { return verticalSlider(editor.widgets(), g, r, maximum, 1, value); });
    }
    float hScroll(RectF r, float total, float visible, float value) {
        return run([&](Graphics& g) {
            return horizontalScrollBar(editor.widgets(), g, r, total, visible, value);
        });
    }
    float vScroll(RectF r, float total, float visible, float value) {
        return run([&](Graphics& g) {
            return verticalScrollBar(editor.widgets(), g, r, total, visible, value);
        });
    }
    template <class F> float run(F&& draw) {
        target.fill(colors::transparent);
        Graphics g(target);
        return draw(g);
    }
    bool untouched() const {
        for (int y = 0; y < target.height(); ++y)
            for (int x = 0; x < target.width(); ++x)
                if (target.pixel(x, y) != colors::transparent)
                    return false;
        return true;
    }

    test::FakePlatform platform;
    Editor editor{platform};
    Bitmap target{130, 130};
};

// ---- sliders --------------------------------------------------------------------------------

TEST_F(SliderFrames, HorizontalSliderMapsThePressAndSnapsNearTheEnds) {
    const RectF r{10, 5, 70, 10};
    pointer(79, 10, true);
    EXPECT_FLOAT_EQ(horizontal(r, 255, 3), 255) << "within 2 pixels of the right end";
    pointer(11, 10, true);
    EXPECT_FLOAT_EQ(horizontal(r, 255, 3), 0) << "within 2 pixels of the left end";
    pointer(45, 10, true);
    EXPECT_FLOAT_EQ(horizontal(r, 255, 3), 127.5f);
}

TEST_F(SliderFrames, SliderKeepsItsValueUnlessPressedInside) {
    const RectF r{10, 5, 70, 10};
    pointer(45, 10, false);
    EXPECT_FLOAT_EQ(horizontal(r, 255, 42), 42) << "hovering";
    pointer(45, 15, true);
    EXPECT_FLOAT_EQ(horizontal(r, 255, 42), 42) << "held on the bottom edge is outside";
    pointer(90, 10, true);
    EXPECT_FLOAT_EQ(horizontal(r, 255, 42), 42) << "held beyond the end";
    EXPECT_FALSE(editor.input.clickLatch) << "sliders do not latch";
    EXPECT_EQ(platform.invalidations, 0);
}

TEST_F(SliderFrames, HorizontalKnobIsFourPixelsCentredOnTheValue) {
    const RectF r{10, 5, 70, 10};
    pointer(0, 0, false);
    horizontal(r, 255, 127.5f); // kx = 35 + 10 - 2 = 43
    EXPECT_EQ(target.pixel(45, 10), knobGrey);
    EXPECT_EQ(target.pixel(43, 10), colors::white) << "left edge";
    EXPECT_EQ(target.pixel(45, 5), colors::white) << "top edge";
    EXPECT_EQ(target.pixel(47, 10), colors::black) << "right edge at kx + 4";
    EXPECT_EQ(target.pixel(45, 15), colors::black) << "bottom edge at y + h";
    EXPECT_EQ(target.pixel(41, 10), colors::transparent);
    EXPECT_EQ(target.pixel(49, 10), colors::transparent);
}

TEST_F(SliderFrames, SliderWhoseMaximumDoesNotExceedItsStepDrawsNoKnob) {
    pointer(0, 0, false);
    EXPECT_FLOAT_EQ(horizontal({10, 5, 70, 10}, 1, 0.5f), 0.5f);
    EXPECT_TRUE(untouched());
}

TEST_F(SliderFrames, SliderWithoutAScaleLeavesItsValueFinite) {
    pointer(45, 10, true);
    const float v = horizontal({10, 5, 70, 10}, 0, 7);
    EXPECT_TRUE(std::isfinite(v));
    EXPECT_FLOAT_EQ(v, 7);
    EXPECT_TRUE(untouched());
}

TEST_F(SliderFrames, VerticalSliderCountsFromTheTop) {
    const RectF r{5, 10, 10, 70};
    pointer(10, 45, true);
    EXPECT_FLOAT_EQ(vertical(r, 255, 3), 127.5f);
    EXPECT_EQ(target.pixel(10, 45), knobGrey) << "knob at ky = 43";
    EXPECT_EQ(target.pixel(10, 43), colors::white) << "top edge";
    EXPECT_EQ(target.pixel(10, 47), colors::black) << "bottom edge";
    EXPECT_EQ(target.pixel(5, 45), colors::white) << "left edge";
    EXPECT_EQ(target.pixel(15, 45), colors::black) << "right edge";
    EXPECT_EQ(target.pixel(10, 50), colors::transparent);
    pointer(10, 79, true);
    EXPECT_FLOAT_EQ(vertical(r, 255, 3), 255);
    pointer(10, 11, true);
    EXPECT_FLOAT_EQ(vertical(r, 255, 3), 0);
}

// ---- scroll bars ----------------------------------------------------------------------------

TEST_F(SliderFrames, HorizontalScrollBarDrawsAThumbOfTheVisibleShare) {
    // thumb = 100 / (20 / 5) = 25 pixels, 5 pixels a unit; value 3 puts it at x = 15.
    pointer(0, 0, false);
    EXPECT_FLOAT_EQ(hScroll({0, 0, 100, 10}, 20, 5, 3), 3);
    EXPECT_EQ(target.pixel(27, 5), knobGrey);
    EXPECT_EQ(target.pixel(15, 5), colors::white);
    EXPECT_EQ(target.pixel(40, 5), colors::black);
    EXPECT_EQ(target.pixel(13, 5), colors::transparent);
    EXPECT_EQ(target.pixel(42, 5), colors::transparent);
}

TEST_F(SliderFrames, DraggingCentresTheThumbOnThePointerWithinTheBar) {
    const RectF r{0, 0, 100, 10};
    pointer(50, 5, true);
    EXPECT_FLOAT_EQ(hScroll(r, 20, 5, 0), 7.5f);
    pointer(99, 5, true);
    EXPECT_FLOAT_EQ(hScroll(r, 20, 5, 0), 15) << "the thumb stops at the end";
    pointer(1, 5, true);
    EXPECT_FLOAT_EQ(hScroll(r, 20, 5, 9), 0);
    pointer(0, 0, false);
    EXPECT_FLOAT_EQ(hScroll(r, 20, 5, 40), 15) << "a stored value is clamped too";
    EXPECT_FLOAT_EQ(hScroll(r, 20, 5, -2), 0);
}

TEST_F(SliderFrames, ScrollBarWithNothingToScrollDrawsNothing) {
    const RectF r{0, 0, 100, 10};
    pointer(50, 5, true);
    EXPECT_FLOAT_EQ(hScroll(r, 5, 5, 3), 0) << "total == visible: the clamped value";
    EXPECT_TRUE(untouched());
    EXPECT_FLOAT_EQ(hScroll(r, 4, 5, 3), 0) << "total < visible";
    EXPECT_TRUE(untouched());
    EXPECT_FLOAT_EQ(vScroll({0, 0, 10, 100}, 4, 5, 3), 0);
    EXPECT_TRUE(untouched());
    EXPECT_FLOAT_EQ(hScroll(r, 0, 0, 3), 0) << "nothing visible";
    EXPECT_TRUE(untouched());
}

TEST_F(SliderFrames, TinyThumbIsWidenedToFourPixelsAroundItsPlace) {
    // thumb = 100 / (1000 / 10) = 1 pixel at x = 20: widened to columns 18..22.
    pointer(0, 0, false);
    hScroll({20, 0, 100, 10}, 1000, 10, 0);
    EXPECT_EQ(target.pixel(19, 5), knobGrey);
    EXPECT_EQ(target.pixel(21, 5), knobGrey);
    EXPECT_EQ(target.pixel(18, 5), colors::white);
    EXPECT_EQ(target.pixel(22, 5), colors::black);
    EXPECT_EQ(target.pixel(17, 5), colors::transparent);
    EXPECT_EQ(target.pixel(23, 5), colors::transparent);
}

TEST_F(SliderFrames, VerticalScrollBarCountsFromTheBottom) {
    const RectF r{0, 0, 10, 100};
    pointer(0, 0, false);
    EXPECT_FLOAT_EQ(vScroll(r, 20, 5, 0), 0);
    EXPECT_EQ(target.pixel(5, 85), knobGrey) << "value 0: thumb at the bottom, y = 75..100";
    EXPECT_EQ(target.pixel(5, 73), colors::transparent);

    pointer(5, 50, true);
    EXPECT_FLOAT_EQ(vScroll(r, 20, 5, 0), 7.5f) << "centred on the pointer";
    EXPECT_EQ(target.pixel(5, 50), knobGrey);
    pointer(5, 1, true);
    EXPECT_FLOAT_EQ(vScroll(r, 20, 5, 0), 15) << "the top is the largest value";
    EXPECT_EQ(target.pixel(5, 12), knobGrey);
    EXPECT_EQ(target.pixel(5, 30), colors::transparent);
    pointer(5, 98, true);
    EXPECT_FLOAT_EQ(vScroll(r, 20, 5, 9), 0);
}

TEST_F(SliderFrames, VerticalTinyThumbIsWidenedUpwards) {
    // thumb 1 at ky = 20 + 100 - 1 = 119, widened to rows 117..121.
    pointer(0, 0, false);
    vScroll({0, 20, 10, 100}, 1000, 10, 0);
    EXPECT_EQ(target.pixel(5, 118), knobGrey);
    EXPECT_EQ(target.pixel(5, 120), knobGrey);
    EXPECT_EQ(target.pixel(5, 117), colors::white);
    EXPECT_EQ(target.pixel(5, 121), colors::black);
    EXPECT_EQ(target.pixel(5, 116), colors::transparent);
    EXPECT_EQ(target.pixel(5, 122), colors::transparent);
}

TEST_F(SliderFrames, SlidersAndScrollBarsIgnoreTheClientArea) {
    editor.clientWidth = 20;
    editor.clientHeight = 20;
    pointer(45, 10, true);
    EXPECT_FLOAT_EQ(horizontal({10, 5, 70, 10}, 255, 0), 127.5f);
    pointer(50, 5, true);
    EXPECT_FLOAT_EQ(hScroll({0, 0, 100, 10}, 20, 5, 0), 7.5f);
    EXPECT_FALSE(untouched());
}

} // namespace
