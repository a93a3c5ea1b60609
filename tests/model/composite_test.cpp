// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Composite.h"

#include <gtest/gtest.h>

using namespace vork;

namespace {
bool allTransparent(const Bitmap& b) {
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            if (b.pixel(x, y).a() != 0)
                return false;
    return true;
}
} // namespace

TEST(ScaleAlpha, MultipliesNonZeroAlphaTruncatingAndKeepsColour) {
    Bitmap b(4, 1);
    b.setPixel(0, 0, Color::fromArgb(255, 10, 20, 30));
    b.setPixel(1, 0, Color::fromArgb(1, 10, 20, 30));
    b.setPixel(2, 0, Color(0x00ABCDEFu));
    b.setPixel(3, 0, Color::fromArgb(200, 1, 2, 3));
    scaleAlpha(b, 128);
    EXPECT_EQ(b.pixel(0, 0), Color::fromArgb(128, 10, 20, 30));
    EXPECT_EQ(b.pixel(1, 0), Color::fromArgb(0, 10, 20, 30)) << "1 x 128 / 255 truncates to 0";
    EXPECT_EQ(b.pixel(2, 0), Color(0x00ABCDEFu)) << "alpha 0 keeps its colour bytes";
    EXPECT_EQ(b.pixel(3, 0).a(), 200 * 128 / 255);
}

TEST(ScaleAlpha, ValuesOutsideTheRangeAndNullBitmapsDoNothing) {
    Bitmap b(2, 2);
    b.fill(Color::fromArgb(100, 1, 2, 3));
    scaleAlpha(b, 256);
    scaleAlpha(b, -1);
    scaleAlpha(b, 255);
    EXPECT_EQ(b.pixel(1, 1), Color::fromArgb(100, 1, 2, 3));
    scaleAlpha(b, 0);
    EXPECT_EQ(b.pixel(1, 1), Color::fromArgb(0, 1, 2, 3));
    Bitmap none;
    scaleAlpha(none, 10);
    EXPECT_TRUE(none.isNull());
}

namespace {
// A picture of three 4 x 4 layers, the middle one current.
struct Caches {
    Document picture{4, 4, 0};
    Layer below{0, 10, 10};
    Layer above{0, 10, 10};
    Caches() {
        picture.current().appendLayer();
        picture.current().appendLayer();
        picture.current().setCurrentLayer(1);
        resizeLayerCaches(below, above, 4, 4);
    }
    Layer& layer(int i) { return picture.current().layer(i); }
    void rebuild() { rebuildLayerCaches(picture, below, above); }
};
} // namespace

TEST(LayerCaches, LayersBelowAndAboveTheCurrentOneWithTheirOpacity) {
    Caches c;
    c.layer(0).image.fill(Color::fromArgb(255, 10, 20, 30));
    c.layer(0).opacity = 128;
    c.layer(1).image.fill(colors::white); // the current layer is in neither cache
    c.layer(2).image.setPixel(3, 3, Color::fromArgb(200, 1, 2, 3));
    c.rebuild();
    EXPECT_TRUE(c.below.visible);
    EXPECT_TRUE(c.above.visible);
    EXPECT_EQ(c.below.image.pixel(0, 0), Color::fromArgb(128, 10, 20, 30));
    Color translucent = c.above.image.pixel(3, 3);
    EXPECT_EQ(translucent.a(), 200);
    // Composition is premultiplied, so a translucent colour may move by one step.
    EXPECT_NEAR(translucent.r(), 1, 1);
    EXPECT_NEAR(translucent.g(), 2, 1);
    EXPECT_NEAR(translucent.b(), 3, 1);
    EXPECT_EQ(c.above.image.pixel(0, 0), colors::transparent);
}

TEST(LayerCaches, OpacityScalesEveryAlphaTruncated) {
    // One layer over nothing: the cache alpha is exactly trunc(alpha x opacity / 255) for
    // every alpha, through the four-pixel path and the single-pixel one (width 259).
    Document picture(259, 1, 0);
    Frame& frame = picture.current();
    frame.appendLayer();
    for (int x = 0; x < 259; ++x)
        frame.layer(0).image.setPixel(x, 0, Color::fromArgb(x % 256, 255, 255, 255));
    Layer below(0, 1, 1), above(0, 1, 1);
    for (int opacity : {1, 77, 128, 200, 254, 255}) {
        frame.layer(0).opacity = opacity;
        rebuildLayerCaches(picture, below, above);
        for (int x = 0; x < 259; ++x)
            ASSERT_EQ(below.image.pixel(x, 0).a(), (x % 256) * opacity / 255)
                << "alpha " << x % 256 << " opacity " << opacity;
    }
}

TEST(LayerCaches, LayersAreComposedSourceOverInListOrder) {
    Caches c;
    c.picture.current().setCurrentLayer(2);
    c.layer(0).image.fill(Color::rgb(0, 0, 255));
    c.layer(1).image.fill(Color::fromArgb(128, 255, 0, 0));
    c.layer(1).image.setPixel(0, 0, Color::rgb(0, 255, 0));
    c.rebuild();
    EXPECT_EQ(c.below.image.pixel(0, 0), Color::rgb(0, 255, 0)) << "an opaque pixel covers";
    Color mixed = c.below.image.pixel(1, 1);
    EXPECT_EQ(mixed.a(), 255);
    EXPECT_NEAR(mixed.r(), 128, 1);
    EXPECT_EQ(mixed.g(), 0);
    EXPECT_NEAR(mixed.b(), 127, 1);
    EXPECT_FALSE(c.above.visible) << "nothing above the top layer";
    EXPECT_TRUE(allTransparent(c.above.image));
}

TEST(LayerCaches, ContentFlagFollowsVisibilityNotPixels) {
    Caches c;
    c.layer(0).image.fill(colors::white);
    c.layer(0).visible = false;
    c.layer(2).image.fill(colors::white);
    c.layer(2).opacity = 0;
    c.rebuild();
    EXPECT_FALSE(c.below.visible) << "a hidden layer does not count";
    EXPECT_TRUE(allTransparent(c.below.image));
    EXPECT_TRUE(c.above.visible) << "a visible layer at opacity 0 still counts";
    EXPECT_TRUE(allTransparent(c.above.image));

    // A rebuild starts from empty caches.
    c.layer(2).visible = false;
    c.layer(0).visible = true;
    c.picture.current().setCurrentLayer(2);
    c.rebuild();
    EXPECT_TRUE(c.below.visible);
    EXPECT_FALSE(c.above.visible);
    EXPECT_EQ(c.below.image.pixel(2, 2), colors::white);
}

TEST(LayerCaches, TheLayersOwnPixelsAreNotTouched) {
    Caches c;
    c.layer(0).image.fill(Color::fromArgb(255, 10, 20, 30));
    c.layer(0).opacity = 50;
    c.rebuild();
    EXPECT_EQ(c.layer(0).image.pixel(1, 1), Color::fromArgb(255, 10, 20, 30));
}

TEST(LayerCaches, ResizingGivesNewTransparentImagesAndRebuildFollowsThePicture) {
    Layer below(0, 10, 10), above(0, 10, 10);
    below.image.fill(colors::white);
    resizeLayerCaches(below, above, 30.9f, 20);
    EXPECT_EQ(below.image.width(), 30);
    EXPECT_EQ(above.image.height(), 20);
    EXPECT_TRUE(allTransparent(below.image));
    resizeLayerCaches(below, above, 0, 20);
    EXPECT_TRUE(below.image.isNull());

    // Caches left at another size are remade at the picture's size.
    Document picture(6, 5, 0);
    picture.current().appendLayer();
    picture.current().layer(0).image.fill(colors::black);
    rebuildLayerCaches(picture, below, above);
    EXPECT_EQ(below.image.width(), 6);
    EXPECT_EQ(below.image.height(), 5);
    EXPECT_EQ(below.image.pixel(5, 4), colors::black);
    EXPECT_EQ(above.image.width(), 6);

    Document empty(0, 0, 0);
    rebuildLayerCaches(empty, below, above); // no pixels anywhere: nothing to do, no fault
    EXPECT_TRUE(below.image.isNull());
}

namespace {
// Frames 1..4, each with one layer holding one opaque pixel at (k, 0) for frame k.
Document fourFrames() {
    Document d(5, 2, 100);
    for (int k = 2; k <= 4; ++k)
        d.insertFrameAfter(d.currentFrameIndex());
    for (int k = 1; k <= 4; ++k)
        d.frame(k - 1).layer(0).image.setPixel(k, 0, Color::rgb(200, 100, 0));
    return d;
}
int litColumn(const Bitmap& skin) {
    int found = -1;
    for (int x = 0; x < skin.width(); ++x)
        if (skin.pixel(x, 0).a() != 0)
            found = found == -1 ? x : -2;
    return found;
}
} // namespace

TEST(OnionSkin, BuiltFromTheNearestEnabledFrameBeforeTheCurrentOneWrapping) {
    Document d = fourFrames();
    OnionSkin onion;
    onion.on = true;
    onion.grey = false;
    d.goToFirstFrame();
    d.frame(1).enabled = false;
    d.frame(3).enabled = false;
    rebuildOnionSkin(d, onion, false);
    ASSERT_TRUE(onion.image.has_value());
    EXPECT_EQ(onion.frameNumber, 3) << "from 1 the search wraps to 4, then finds 3";
    EXPECT_EQ(litColumn(*onion.image), 3);
    EXPECT_EQ(onion.image->pixel(3, 0), Color::rgb(200, 100, 0)) << "grey is off";
    EXPECT_TRUE(onion.on);
    EXPECT_EQ(onion.image->width(), 5);
    EXPECT_EQ(onion.image->height(), 2);

    d.frame(3).enabled = true;
    rebuildOnionSkin(d, onion, false);
    EXPECT_EQ(onion.frameNumber, 4);

    d.setCurrentFrame(2);
    rebuildOnionSkin(d, onion, false);
    EXPECT_EQ(onion.frameNumber, 1) << "frame 2 is off, so 1";
}

TEST(OnionSkin, WithNoOtherEnabledFrameTheCurrentOneIsTheSource) {
    Document d = fourFrames();
    OnionSkin onion;
    d.setCurrentFrame(1);
    for (int i : {0, 2, 3})
        d.frame(i).enabled = false;
    d.frame(1).number = 99; // stale numbers are renumbered first
    rebuildOnionSkin(d, onion, false);
    EXPECT_EQ(onion.frameNumber, 2);
    EXPECT_EQ(litColumn(*onion.image), 2);
}

TEST(OnionSkin, OneFrameSwitchesItOffAndLeavesTheImage) {
    Document d(5, 2, 100);
    OnionSkin onion;
    onion.on = true;
    onion.image = Bitmap(1, 1);
    onion.frameNumber = 7;
    rebuildOnionSkin(d, onion, false);
    EXPECT_FALSE(onion.on);
    EXPECT_EQ(onion.image->width(), 1);
    EXPECT_EQ(onion.frameNumber, 7);
}

TEST(OnionSkin, VisibleLayersOrOnlyTheCurrentOneWithoutOpacity) {
    Document d(3, 1, 100);
    Frame& source = d.current();
    source.layer(0).image.setPixel(0, 0, Color::rgb(90, 90, 90));
    source.layer(0).opacity = 0; // the onion skin ignores opacity
    source.appendLayer();
    source.layer(1).image.setPixel(1, 0, Color::rgb(30, 30, 30));
    source.layer(1).visible = false;
    source.appendLayer();
    source.layer(2).image.setPixel(2, 0, Color::rgb(60, 60, 60));
    source.setCurrentLayer(1);
    d.insertFrameAfter(0);

    OnionSkin onion;
    rebuildOnionSkin(d, onion, false);
    EXPECT_EQ(onion.image->pixel(0, 0), Color::rgb(90, 90, 90));
    EXPECT_EQ(onion.image->pixel(1, 0), colors::transparent);
    EXPECT_EQ(onion.image->pixel(2, 0), Color::rgb(60, 60, 60));

    rebuildOnionSkin(d, onion, true);
    EXPECT_EQ(onion.image->pixel(0, 0), colors::transparent);
    EXPECT_EQ(onion.image->pixel(1, 0), Color::rgb(30, 30, 30)) << "the viewed layer alone";
    EXPECT_EQ(onion.image->pixel(2, 0), colors::transparent);
}

TEST(OnionSkin, GreyAveragesTheChannelsAndKeepsAlpha) {
    Document d(3, 1, 100);
    d.currentLayer().image.setPixel(0, 0, Color::fromArgb(128, 10, 20, 40));
    d.currentLayer().image.setPixel(1, 0, Color::fromArgb(255, 255, 255, 254));
    d.insertFrameAfter(0);
    OnionSkin onion; // grey is on for a new record
    rebuildOnionSkin(d, onion, false);
    EXPECT_EQ(onion.image->pixel(0, 0), Color::fromArgb(128, 23, 23, 23));
    EXPECT_EQ(onion.image->pixel(1, 0), Color::rgb(254, 254, 254));
    EXPECT_EQ(onion.image->pixel(2, 0), colors::transparent);
}

TEST(OnionSkin, AnEmptyAnimationGivesAnEmptySkinWithoutFault) {
    Document d(0, 3, 100);
    d.insertFrameAfter(0);
    OnionSkin onion;
    rebuildOnionSkin(d, onion, true);
    ASSERT_TRUE(onion.image.has_value());
    EXPECT_TRUE(onion.image->isNull());
    EXPECT_EQ(onion.frameNumber, 1);
}

TEST(LayerCaches, RandomLayersMatchAPlainSourceOverReference) {
    // Rows of odd length and many layers: every pixel path (skipped, copied, blended) and
    // every channel, against straight-alpha source-over computed in doubles.
    const int w = 37, h = 5, layers = 6;
    Document picture(w, h, 0);
    Frame& frame = picture.current();
    for (int i = 1; i < layers; ++i)
        frame.appendLayer();
    frame.setCurrentLayer(layers - 1);
    uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
    for (int i = 0; i < layers; ++i) {
        frame.layer(i).opacity = i == 0 ? 255 : int(next() >> 24);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint32_t v = next();
                uint32_t a = (v >> 30) == 0 ? 0 : (v >> 30) == 1 ? 255 : (next() >> 24);
                frame.layer(i).image.setPixel(x, y, Color((v & 0x00FFFFFFu) | (a << 24)));
            }
    }
    Layer below(0, 1, 1), above(0, 1, 1);
    rebuildLayerCaches(picture, below, above);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double ra = 0, rc[3] = {0, 0, 0};
            for (int i = 0; i < layers - 1; ++i) {
                Color s = frame.layer(i).image.pixel(x, y);
                double sa = double(s.a() * frame.layer(i).opacity / 255) / 255;
                double oa = sa + ra * (1 - sa);
                int sc[3] = {s.r(), s.g(), s.b()};
                for (int k = 0; k < 3; ++k)
                    rc[k] = oa > 0 ? (sc[k] * sa + rc[k] * ra * (1 - sa)) / oa : 0;
                ra = oa;
            }
            Color got = below.image.pixel(x, y);
            ASSERT_NEAR(got.a(), ra * 255, 1.0) << x << "," << y;
            // Premultiplied bytes hold a colour to within 255 / alpha, a little per blend.
            double tolerance = 1 + 3 * 255.0 / std::max<int>(got.a(), 1);
            if (got.a() >= 16) {
                ASSERT_NEAR(got.r(), rc[0], tolerance) << x << "," << y;
                ASSERT_NEAR(got.g(), rc[1], tolerance) << x << "," << y;
                ASSERT_NEAR(got.b(), rc[2], tolerance) << x << "," << y;
            }
        }
}
