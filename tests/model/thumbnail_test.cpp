// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Document.h"
#include "support/PixelChecks.h"

#include <gtest/gtest.h>

using namespace vork;

namespace {
const Color grey200 = Color::rgb(200, 200, 200);
using test::blue;
using test::green;
using test::paintRect;
using test::red;

// The backdrop's 4 x 4 squares, aligned to the thumbnail's origin, grey in the top-left one.
Color checker(int x, int y) {
    return (x / 4 + y / 4) % 2 == 0 ? grey200 : colors::white;
}

bool inside(int v, int first, int last) {
    return v >= first && v <= last;
}
} // namespace

TEST(ThumbnailPlacement, KeepsTheProportionsCentredInTheBox) {
    EXPECT_EQ(thumbnailPlacement(30, 30, 100, 50), (RectF{0, 7.5f, 30, 15}));
    EXPECT_EQ(thumbnailPlacement(30, 30, 50, 100), (RectF{7.5f, 0, 15, 30}));
    EXPECT_EQ(thumbnailPlacement(30, 30, 64, 64), (RectF{0, 0, 30, 30}));
    RectF frame = thumbnailPlacement(55, 50, 300, 264);
    EXPECT_FLOAT_EQ(frame.x, 0);
    EXPECT_FLOAT_EQ(frame.y, 3);
    EXPECT_FLOAT_EQ(frame.w, 55);
    EXPECT_FLOAT_EQ(frame.h, 44);
    // A tall source in a wide box is narrowed, not stretched.
    RectF tall = thumbnailPlacement(55, 50, 100, 200);
    EXPECT_FLOAT_EQ(tall.w, 27.5f);
    EXPECT_FLOAT_EQ(tall.h, 50);
    EXPECT_FLOAT_EQ(tall.x, 13.75f);
    EXPECT_EQ(thumbnailPlacement(30, 30, 0, 50), RectF{}) << "no band for an empty source";
}

TEST(LayerThumbnail, WideTransparentLayerShowsTheCheckerboardBandOnly) {
    Layer l(1, 100, 50); // made with its thumbnail
    ASSERT_EQ(l.thumbnail.width(), 30);
    ASSERT_EQ(l.thumbnail.height(), 30);
    for (int pass = 0; pass < 2; ++pass) {
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 30; ++x) {
                // The band (0, 7.5, 30, 15) holds the pixel centres of rows 8..22.
                Color expected = inside(y, 8, 22) ? checker(x, y) : colors::transparent;
                ASSERT_EQ(l.thumbnail.pixel(x, y), expected) << x << "," << y << " pass " << pass;
            }
        l.rebuildThumbnail(30, 30); // the rebuilt one is the same as the first
    }
}

TEST(LayerThumbnail, TallOpaqueLayerIsScaledIntoAVerticalBand) {
    Layer l(1, 50, 100);
    l.image.fill(red);
    l.rebuildThumbnail(30, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(l.thumbnail.pixel(x, y), inside(x, 8, 22) ? red : colors::transparent)
                << x << "," << y;
}

TEST(LayerThumbnail, TheWholeImageIsScaledInAndTransparencyShowsTheBackdrop) {
    Layer l(1, 100, 50);
    paintRect(l.image, {0, 0, 40, 50}, blue);   // left part
    paintRect(l.image, {60, 0, 40, 50}, green); // right part; the middle stays transparent
    l.visible = false;                          // hidden layers are still shown in the list
    l.rebuildThumbnail(30, 30);
    EXPECT_EQ(l.thumbnail.pixel(2, 15), blue);
    EXPECT_EQ(l.thumbnail.pixel(27, 15), green);
    EXPECT_EQ(l.thumbnail.pixel(15, 15), checker(15, 15));
    EXPECT_EQ(l.thumbnail.pixel(15, 3), colors::transparent);
}

TEST(FrameThumbnail, VisibleLayersInListOrderWithoutOpacity) {
    Document d(60, 60, 100);
    Frame& f = d.current();
    paintRect(f.layer(0).image, {0, 0, 60, 60}, red);
    f.appendLayer();
    paintRect(f.layer(1).image, {0, 0, 30, 60}, blue); // left half over the red
    f.layer(1).opacity = 0;                            // not applied to thumbnails
    f.appendLayer();
    paintRect(f.layer(2).image, {0, 0, 60, 60}, green);
    f.layer(2).visible = false;
    f.setCurrentLayer(0);

    f.rebuildThumbnail();
    ASSERT_EQ(f.thumbnail.width(), 55);
    ASSERT_EQ(f.thumbnail.height(), 50);
    EXPECT_EQ(f.thumbnail.pixel(15, 25), blue);
    EXPECT_EQ(f.thumbnail.pixel(40, 25), red);
    EXPECT_EQ(f.thumbnail.pixel(54, 49), red) << "a square frame fills the 55 x 50 box";

    f.layer(1).visible = false;
    f.layer(0).visible = false;
    f.rebuildThumbnail();
    EXPECT_EQ(f.thumbnail.pixel(15, 25), checker(15, 25)) << "nothing visible: the backdrop";
}

TEST(FrameThumbnail, FittedByTheCurrentLayersImage) {
    Document d(60, 60, 100);
    Frame& f = d.current();
    f.appendLayer();
    f.current().image = Bitmap(50, 100);
    f.rebuildThumbnail(30, 30);
    EXPECT_EQ(f.thumbnail.pixel(4, 15), colors::transparent);
    EXPECT_EQ(f.thumbnail.pixel(15, 15), checker(15, 15));
    f.setCurrentLayer(0);
    f.rebuildThumbnail(30, 30);
    EXPECT_EQ(f.thumbnail.pixel(4, 15), checker(4, 15));
}

namespace {
// An animation of two frames of two layers each, every layer painted red, no thumbnail rebuilt.
Document redAnimation() {
    Document d(20, 20, 100);
    d.current().appendLayer();
    d.insertFrameAfter(0);
    d.current().appendLayer();
    for (Frame& frame : d.frames())
        for (Layer& layer : frame.layers())
            layer.image.fill(red);
    return d;
}
bool shows(const Bitmap& thumbnail, Color c) {
    return thumbnail.pixel(10, 10) == c;
}
} // namespace

TEST(ThumbnailRefresh, AllFramesRebuildTheirOwnAndTheirCurrentLayersThumbnails) {
    Document d = redAnimation();
    d.frame(0).setCurrentLayer(0);
    refreshAllFrameThumbnails(d, 55, 50);
    for (const Frame& frame : d.frames()) {
        EXPECT_EQ(frame.thumbnail.width(), 55);
        EXPECT_TRUE(shows(frame.thumbnail, red));
        EXPECT_TRUE(shows(frame.current().thumbnail, red));
    }
    EXPECT_FALSE(shows(d.frame(0).layer(1).thumbnail, red)) << "only the current layers";
    EXPECT_FALSE(shows(d.frame(1).layer(0).thumbnail, red));
}

TEST(ThumbnailRefresh, CurrentThumbnailsTouchOnlyTheCurrentFrameAndLayer) {
    Document d = redAnimation(); // current: frame 1, layer 1
    refreshCurrentThumbnails(d);
    EXPECT_EQ(d.current().thumbnail.width(), 55);
    EXPECT_TRUE(shows(d.current().thumbnail, red));
    EXPECT_TRUE(shows(d.currentLayer().thumbnail, red));
    EXPECT_FALSE(shows(d.current().layer(0).thumbnail, red));
    EXPECT_EQ(d.frame(0).thumbnail.width(), 50) << "other frames keep their thumbnails";

    refreshCurrentFrameThumbnails(d);
    EXPECT_TRUE(shows(d.current().layer(0).thumbnail, red)) << "every layer of the frame";
    EXPECT_FALSE(shows(d.frame(0).layer(0).thumbnail, red));
    EXPECT_EQ(d.frame(0).thumbnail.width(), 50);
}
