// SPDX-License-Identifier: GPL-3.0-or-later
#include "gfx/Graphics.h"
#include "support/PixelChecks.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vork;

using vork::test::boundsOf;
using vork::test::touched;

TEST(BitmapMemory, PixelsAreBgraBytesInRowOrder) {
    Bitmap b(3, 2);
    EXPECT_EQ(b.stride(), 12);
    b.setPixel(2, 1, Color::fromArgb(0x40, 0x10, 0x20, 0x30));
    const uint8_t* p = b.bytes() + 4 * (1 * 3 + 2);
    EXPECT_EQ(p[0], 0x30); // B
    EXPECT_EQ(p[1], 0x20); // G
    EXPECT_EQ(p[2], 0x10); // R
    EXPECT_EQ(p[3], 0x40); // A
    EXPECT_EQ(b.pixel(0, 0).argb, 0u) << "a new bitmap is transparent black";
    EXPECT_EQ(b.pixel(5, 5).argb, 0u) << "outside reads as transparent";
}

TEST(GraphicsFill, IntegerRectangleCoversExactlyItsColumnsAndRows) {
    Bitmap b(20, 20);
    Graphics g(b);
    g.fillRect(Brush::solid(colors::black), Rect{3, 4, 5, 6});
    auto pts = touched(b);
    EXPECT_EQ(pts.size(), 30u);
    EXPECT_EQ(boundsOf(pts), (Rect{3, 4, 5, 6}));
}

TEST(GraphicsOutline, OnePixelPenCoversBothEdgesInclusive) {
    Bitmap b(20, 20);
    Graphics g(b);
    g.drawRect(Pen{colors::black, 1}, Rect{2, 3, 5, 4});
    EXPECT_EQ(boundsOf(touched(b)), (Rect{2, 3, 6, 5}));
    EXPECT_EQ(b.pixel(4, 5).argb, 0u) << "the inside stays empty";
    EXPECT_EQ(b.pixel(2, 5), colors::black);
    EXPECT_EQ(b.pixel(7, 5), colors::black);
}

TEST(GraphicsLine, HorizontalLineThroughPixelCentres) {
    Bitmap b(20, 5);
    Graphics g(b);
    g.drawLine(Pen{colors::white, 1}, {0, 2}, {9, 2});
    auto pts = touched(b);
    ASSERT_FALSE(pts.empty());
    EXPECT_EQ(boundsOf(pts).y, 2);
    EXPECT_EQ(boundsOf(pts).h, 1);
}

TEST(GraphicsBlend, SourceOverAndClear) {
    Bitmap b(4, 4);
    Graphics g(b);
    g.clear(Color::rgb(0, 0, 255));
    g.fillRect(Brush::solid(Color::fromArgb(128, 255, 0, 0)), Rect{0, 0, 4, 4});
    Color c = b.pixel(1, 1);
    EXPECT_EQ(c.a(), 255);
    EXPECT_NEAR(c.r(), 128, 2);
    EXPECT_NEAR(c.b(), 127, 2);
    g.clear(Color::fromArgb(10, 1, 2, 3));
    EXPECT_EQ(b.pixel(3, 3), Color::fromArgb(10, 1, 2, 3)) << "clear replaces alpha too";
}

TEST(GraphicsHatch, PatternsAlignToTheBitmapOrigin) {
    Bitmap b(16, 16);
    Graphics g(b);
    Color fg = Color::rgb(200, 200, 200), bg = colors::white;
    g.fillRect(Brush::hatch(HatchStyle::LargeCheckerBoard, fg, bg), Rect{0, 0, 16, 16});
    EXPECT_EQ(b.pixel(0, 0), fg);
    EXPECT_EQ(b.pixel(3, 3), fg);
    EXPECT_EQ(b.pixel(4, 0), bg);
    EXPECT_EQ(b.pixel(0, 4), bg);
    EXPECT_EQ(b.pixel(4, 4), fg);
    EXPECT_EQ(b.pixel(8, 0), fg) << "the pattern repeats every 8 pixels";

    Bitmap c(8, 8);
    Graphics gc(c);
    gc.fillRect(Brush::hatch(HatchStyle::Percent50, Color::rgb(1, 1, 1), colors::white),
                Rect{1, 1, 4, 4});
    EXPECT_NE(c.pixel(1, 1), c.pixel(2, 1)) << "neighbours alternate";
    EXPECT_EQ(c.pixel(1, 1), c.pixel(2, 2));
}

TEST(GraphicsScale, NearestNeighbourMatchesThePointerMapping) {
    // A 4-column source with distinct columns, drawn at zoom 8 from x = 10.
    Bitmap src(4, 1);
    for (int x = 0; x < 4; ++x)
        src.setPixel(x, 0, Color::rgb(x * 50, 0, 0));
    Bitmap dst(60, 8, PixelFormat::Rgb);
    Graphics g(dst);
    g.setInterpolation(Interpolation::NearestNeighbor);
    g.drawImage(src, RectF{10, 0, 32, 8}, RectF{0, 0, 4, 1});
    for (int i = 10; i < 42; ++i) {
        int expected = (i - 10) / 8;
        EXPECT_EQ(dst.pixel(i, 3).r(), expected * 50) << "screen column " << i;
    }
    // Every column, the first and the last too, is 8 screen pixels wide.
    EXPECT_EQ(dst.pixel(17, 0).r(), 0);
    EXPECT_EQ(dst.pixel(18, 0).r(), 50);
    EXPECT_EQ(dst.pixel(34, 0).r(), 150);
    EXPECT_EQ(dst.pixel(41, 0).r(), 150);
    EXPECT_EQ(dst.pixel(9, 0).r(), 0);
    EXPECT_EQ(dst.pixel(9, 0).a(), 255);
    EXPECT_EQ(dst.pixel(42, 0).r(), 0) << "nothing past the destination";
}

TEST(GraphicsScale, OpacityScalesTheSourceAlpha) {
    Bitmap src(1, 1);
    src.setPixel(0, 0, Color::rgb(255, 255, 255));
    Bitmap dst(2, 2);
    Graphics g(dst);
    g.setInterpolation(Interpolation::NearestNeighbor);
    g.drawImage(src, RectF{0, 0, 2, 2}, RectF{0, 0, 1, 1}, 0.5f);
    EXPECT_NEAR(dst.pixel(0, 0).a(), 128, 1);
}

TEST(GraphicsImage, UnscaledDrawPlacesPixelsExactly) {
    Bitmap src(2, 2);
    src.setPixel(0, 0, Color::rgb(9, 9, 9));
    src.setPixel(1, 1, Color::rgb(7, 7, 7));
    Bitmap dst(10, 10);
    Graphics g(dst);
    g.drawImage(src, 3, 4);
    EXPECT_EQ(dst.pixel(3, 4), Color::rgb(9, 9, 9));
    EXPECT_EQ(dst.pixel(4, 5), Color::rgb(7, 7, 7));
    EXPECT_EQ(touched(dst).size(), 2u);
}

TEST(GraphicsImage, RedTintHalvesGreenAndBlue) {
    Bitmap src(1, 1);
    src.setPixel(0, 0, Color::rgb(200, 100, 50));
    Bitmap dst(1, 1);
    Graphics g(dst);
    g.setInterpolation(Interpolation::NearestNeighbor);
    g.drawImageRedTint(src, RectF{0, 0, 1, 1}, RectF{0, 0, 1, 1});
    EXPECT_EQ(dst.pixel(0, 0), Color::rgb(200, 50, 25));
}

TEST(GraphicsState, RotationAndClipEndWithTheSavedState) {
    Bitmap b(20, 20);
    Graphics g(b);
    {
        Graphics::State s(g);
        g.translate(10, 10);
        g.rotate(90);
        // (2, 0) rotated by 90 degrees lands at (10, 12).
        g.fillRect(Brush::solid(colors::black), RectF{2, 0, 1, 1});
    }
    EXPECT_EQ(b.pixel(10, 12), colors::black);
    g.fillRect(Brush::solid(colors::white), RectF{0, 0, 1, 1});
    EXPECT_EQ(b.pixel(0, 0), colors::white) << "the transform ended with the state";

    Bitmap c(10, 10);
    Graphics gc(c);
    Path clip;
    clip.addRectangle(RectF{0, 0, 5, 10});
    gc.setClip(clip);
    gc.fillRect(Brush::solid(colors::black), Rect{0, 0, 10, 10});
    EXPECT_EQ(c.pixel(2, 2), colors::black);
    EXPECT_EQ(c.pixel(7, 2).argb, 0u) << "outside the clip nothing is drawn";
    gc.resetClip();
    gc.fillRect(Brush::solid(colors::black), Rect{0, 0, 10, 10});
    EXPECT_EQ(c.pixel(7, 2), colors::black);
}

TEST(GraphicsText, AlignmentPlacesTheInk) {
    auto inkBounds = [](Align a) {
        Bitmap b(200, 30);
        Graphics g(b);
        g.drawText("Ab", FontKind::Title, Brush::solid(colors::black), RectF{0, 0, 200, 30}, a);
        return boundsOf(touched(b));
    };
    Rect nearB = inkBounds(Align::Near), centre = inkBounds(Align::Center),
         farB = inkBounds(Align::Far);
    EXPECT_LT(nearB.x, 20);
    EXPECT_GT(farB.x + farB.w, 180);
    EXPECT_GT(centre.x, 70);
    EXPECT_LT(centre.x + centre.w, 130);
    EXPECT_GT(centre.y, 3) << "vertically centred";
    EXPECT_LT(centre.y + centre.h, 27);
}

TEST(GraphicsEllipse, AliasedFillCoversItsBoxSymmetrically) {
    Bitmap b(40, 30);
    Graphics g(b);
    g.fillEllipse(Brush::solid(colors::black), RectF{4, 6, 20, 12});
    Rect r = boundsOf(touched(b));
    EXPECT_EQ(r.y, 6) << "the top row of the box is reached";
    EXPECT_EQ(r.y + r.h, 18);
    EXPECT_EQ(r.x, 4);
    EXPECT_EQ(r.x + r.w, 24);
    for (int y = 6; y < 18; ++y)
        for (int x = 4; x < 24; ++x)
            EXPECT_EQ(b.pixel(x, y), b.pixel(4 + 23 - x, y)) << x << "," << y;
}

TEST(GraphicsScale, ASourceOfTwoColumnsShowsOnlyThoseTwo) {
    Bitmap src(4, 1);
    for (int x = 0; x < 4; ++x)
        src.setPixel(x, 0, Color::rgb(x * 50, 0, 0));
    Bitmap dst(16, 1, PixelFormat::Rgb);
    Graphics g(dst);
    g.setInterpolation(Interpolation::NearestNeighbor);
    g.drawImage(src, RectF{0, 0, 16, 1}, RectF{0, 0, 2, 1});
    EXPECT_EQ(dst.pixel(7, 0).r(), 0);
    EXPECT_EQ(dst.pixel(8, 0).r(), 50);
    EXPECT_EQ(dst.pixel(15, 0).r(), 50) << "column 2 lies past the source rectangle";
}

TEST(GraphicsPath, LinesAddedEndToEndFormOneFillableFigure) {
    Path path;
    path.addLine({2, 2}, {12, 2});
    path.addLine({12, 2}, {12, 12}); // closes along the diagonal back to (2, 2)
    Bitmap b(16, 16);
    Graphics g(b);
    g.fillPath(Brush::solid(colors::black), path);
    EXPECT_EQ(b.pixel(9, 5), colors::black) << "the figure closes for the fill";
    EXPECT_EQ(b.pixel(11, 4), colors::black);
    EXPECT_EQ(b.pixel(3, 10).argb, 0u) << "outside the diagonal";
}

TEST(GraphicsScale, SmoothReductionKeepsAThinLineUnbroken) {
    // A 1-pixel diagonal-ish line reduced to a quarter must leave ink in every column.
    Bitmap src(400, 40);
    for (int x = 0; x < 400; ++x)
        src.setPixel(x, x / 20, colors::black);
    Bitmap dst(100, 10);
    Graphics g(dst);
    g.setInterpolation(Interpolation::Bicubic);
    g.drawImage(src, RectF{0, 0, 100, 10}, RectF{0, 0, 400, 40});
    for (int x = 0; x < 100; ++x) {
        int ink = 0;
        for (int y = 0; y < 10; ++y)
            ink = std::max(ink, int(dst.pixel(x, y).a()));
        EXPECT_GT(ink, 20) << "column " << x;
    }
}

TEST(GraphicsOnNullBitmap, EveryOperationIncludingTheSavedStateDoesNothing) {
    Bitmap nothing(0, 0);
    ASSERT_TRUE(nothing.isNull());
    Graphics g(nothing);
    {
        Graphics::State saved(g);
        g.translate(3, 4);
        g.rotate(45);
        g.fillRect(Brush::solid(colors::black), Rect{0, 0, 5, 5});
        g.drawLine(Pen{colors::black}, {0, 0}, {5, 5});
    }
    g.clear(colors::white);
    EXPECT_TRUE(nothing.isNull());
}

TEST(GraphicsScale, NearestOntoAnOpaqueTargetBlendsEachChannelExactly) {
    // Every alpha, opaque and transparent pixels among them, over random opaque colours; at
    // full opacity and faded. An opaque target gets (s * a + d * (255 - a) + 127) / 255.
    Bitmap src = test::randomBitmap(37, 23, 5);
    for (int x = 0; x < 37; ++x) {
        src.setPixel(x, 0, src.pixel(x, 0).withAlpha(255));
        src.setPixel(x, 1, src.pixel(x, 1).withAlpha(0));
    }
    const Bitmap background = test::randomBitmap(37, 23, 6);
    for (float opacity : {1.0f, 0.6f}) {
        Bitmap target(37, 23, PixelFormat::Rgb);
        for (int y = 0; y < 23; ++y)
            for (int x = 0; x < 37; ++x)
                target.setPixel(x, y, background.pixel(x, y));
        {
            Graphics g(target);
            g.setInterpolation(Interpolation::NearestNeighbor);
            g.drawImage(src, RectF{0, 0, 37, 23}, RectF{0, 0, 37, 23}, opacity);
        }
        const int op256 = int(std::lround(opacity * 256));
        for (int y = 0; y < 23; ++y)
            for (int x = 0; x < 37; ++x) {
                const Color s = src.pixel(x, y), d = background.pixel(x, y).withAlpha(255);
                const int a = s.a() * op256 >> 8;
                auto channel = [&](int sc, int dc) {
                    return (sc * a + dc * (255 - a) + 127) / 255;
                };
                const Color expected =
                    a == 0     ? d
                    : a == 255 ? s.withAlpha(255)
                               : Color::rgb(channel(s.r(), d.r()), channel(s.g(), d.g()),
                                            channel(s.b(), d.b()));
                ASSERT_EQ(target.pixel(x, y), expected)
                    << x << ", " << y << " opacity " << opacity << " alpha " << int(s.a());
            }
    }
}
