// SPDX-License-Identifier: GPL-3.0-or-later
// Rescaling a whole document and resizing its canvas around an anchor.
#include "model/Limits.h"
#include "pixels/DocumentResize.h"
#include "support/PixelChecks.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vork;
using test::countPixels;

namespace {

// A w x h animation of two frames; the second has two layers. Every layer has its own colour
// in its top-left pixel and another in its bottom-right one.
Document twoFrames(int w, int h) {
    Document d(w, h, 100);
    d.insertFrameAfter(0);
    d.frame(1).appendLayer();
    int n = 0;
    for (Frame& frame : d.frames())
        for (Layer& layer : frame.layers()) {
            layer.image.setPixel(0, 0, Color::rgb(10 * ++n, 0, 0));
            layer.image.setPixel(w - 1, h - 1, Color::rgb(0, 10 * n, 0));
        }
    return d;
}

std::vector<Bitmap> allImages(const Document& d) {
    std::vector<Bitmap> out;
    for (const Frame& frame : d.frames())
        for (const Layer& layer : frame.layers())
            out.push_back(layer.image.clone());
    return out;
}

void expectSize(const Document& d, int w, int h) {
    EXPECT_EQ(d.width, w);
    EXPECT_EQ(d.height, h);
    for (const Frame& frame : d.frames()) {
        EXPECT_EQ(frame.width, float(w));
        EXPECT_EQ(frame.height, float(h));
        for (const Layer& layer : frame.layers()) {
            EXPECT_EQ(layer.image.width(), w);
            EXPECT_EQ(layer.image.height(), h);
        }
    }
}

void expectUnchanged(const Document& d, const std::vector<Bitmap>& before, int w, int h) {
    expectSize(d, w, h);
    size_t i = 0;
    for (const Frame& frame : d.frames())
        for (const Layer& layer : frame.layers())
            EXPECT_TRUE(test::samePixels(layer.image, before[i++]));
}

// An opaque 5 x 5 image, each pixel its own colour.
Bitmap numbered5x5() {
    Bitmap b(5, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            b.setPixel(x, y, Color::rgb(x, y, 200));
    return b;
}

// The single layer of a 5 x 5 picture holding numbered5x5, after a canvas resize.
Bitmap canvasResized(int w, int h, Anchor anchor) {
    Document d(5, 5, 0);
    d.currentLayer().image = numbered5x5();
    EXPECT_EQ(resizeCanvas(d, w, h, anchor), EditResult::Done);
    expectSize(d, w, h);
    return d.currentLayer().image.clone();
}

// Where numbered5x5's pixel (0, 0) landed, found through the pixels that came through.
Point placementOf(const Bitmap& b) {
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            if (b.pixel(x, y).a() != 0)
                return {x - b.pixel(x, y).r(), y - b.pixel(x, y).g()};
    return {-99, -99};
}

} // namespace

TEST(RescaleDocument, ScalesEveryLayerOfEveryFrameAndSetsEverySize) {
    Document d = twoFrames(2, 2);
    const Bitmap thumbnailBefore = d.frame(1).layer(1).thumbnail.clone();
    ASSERT_EQ(rescaleDocument(d, 4, 6, Interpolation::NearestNeighbor), EditResult::Done);
    expectSize(d, 4, 6);
    int n = 0;
    for (const Frame& frame : d.frames())
        for (const Layer& layer : frame.layers()) {
            ++n;
            EXPECT_EQ(countPixels(layer.image, Color::rgb(10 * n, 0, 0)), 2 * 3);
            EXPECT_EQ(layer.image.pixel(1, 2), Color::rgb(10 * n, 0, 0));
            EXPECT_EQ(countPixels(layer.image, Color::rgb(0, 10 * n, 0)), 2 * 3);
            EXPECT_EQ(layer.image.pixel(2, 3), Color::rgb(0, 10 * n, 0));
        }
    EXPECT_EQ(n, 3);
    EXPECT_TRUE(test::samePixels(d.frame(1).layer(1).thumbnail, thumbnailBefore))
        << "thumbnails are the aftermath's work";
}

TEST(RescaleDocument, RefusesSizesOutsideTheLimitsAndChangesNothing) {
    Document d = twoFrames(3, 2);
    const auto before = allImages(d);
    EXPECT_EQ(rescaleDocument(d, 0, 4, Interpolation::Bicubic), EditResult::SizeOutOfRange);
    EXPECT_EQ(rescaleDocument(d, 4, maxDocumentSide + 1, Interpolation::Bilinear),
              EditResult::SizeOutOfRange);
    expectUnchanged(d, before, 3, 2);
}

TEST(RescaleDocument, RefusesAResultBeyondTheMemoryBudgetBeforeAllocatingIt) {
    // Enough one-pixel frames that the full-size layers would pass the budget.
    const int64_t layerBytes = int64_t(maxDocumentSide) * maxDocumentSide * 4;
    Document d(1, 1, 100);
    for (int64_t i = 0; i < int64_t(maxDecodedBytes) / layerBytes; ++i)
        d.insertFrameAfter(d.currentFrameIndex());
    EXPECT_EQ(rescaleDocument(d, maxDocumentSide, maxDocumentSide, Interpolation::Bicubic),
              EditResult::TooLarge);
    expectSize(d, 1, 1);
}

TEST(RescaleDocument, ReportsProgressPerLayerAndACancelChangesNothing) {
    Document d = twoFrames(3, 3);
    const auto before = allImages(d);
    std::vector<std::pair<int, int>> calls;
    auto stopAtTwo = [&](int done, int total) {
        calls.push_back({done, total});
        return done < 2;
    };
    EXPECT_EQ(rescaleDocument(d, 6, 6, Interpolation::Bilinear, stopAtTwo), EditResult::Cancelled);
    EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}}));
    expectUnchanged(d, before, 3, 3);

    calls.clear();
    EXPECT_EQ(rescaleDocument(d, 6, 6, Interpolation::Bilinear,
                              [&](int done, int total) {
                                  calls.push_back({done, total});
                                  return true;
                              }),
              EditResult::Done);
    EXPECT_EQ(calls.back(), (std::pair{3, 3}));
}

TEST(CanvasResize, AnchorsCountByColumnsFromTheTopLeft) {
    // 5 x 5 to 9 x 9: the centred offset is 4 - 2.5, truncated to 1; the far one is 4.
    const std::vector<std::pair<Anchor, Point>> expected = {
        {Anchor::TopLeft, {0, 0}},   {Anchor::MiddleLeft, {0, 1}},  {Anchor::BottomLeft, {0, 4}},
        {Anchor::TopCentre, {1, 0}}, {Anchor::Centre, {1, 1}},      {Anchor::BottomCentre, {1, 4}},
        {Anchor::TopRight, {4, 0}},  {Anchor::MiddleRight, {4, 1}}, {Anchor::BottomRight, {4, 4}},
    };
    for (auto [anchor, offset] : expected) {
        EXPECT_EQ(canvasOffset(anchor, 5, 5, 9, 9), offset) << int(anchor);
        EXPECT_EQ(placementOf(canvasResized(9, 9, anchor)), offset) << int(anchor);
    }
}

TEST(CanvasResize, GrowingAroundTheCentrePlacesTheOldContentAtTwoTwo) {
    const Bitmap b = canvasResized(10, 10, Anchor::Centre);
    EXPECT_EQ(placementOf(b), (Point{2, 2}));
    EXPECT_EQ(countPixels(b, [](Color c) { return c.a() != 0; }), 25);
    EXPECT_EQ(b.pixel(6, 6), Color::rgb(4, 4, 200));
    EXPECT_EQ(b.pixel(7, 7), colors::transparent) << "new area is transparent";
}

TEST(CanvasResize, ShrinkingAroundTheCentreKeepsTheMiddleThreeByThree) {
    const Bitmap b = canvasResized(3, 3, Anchor::Centre);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(b.pixel(x, y), Color::rgb(x + 1, y + 1, 200));
}

TEST(CanvasResize, BottomRightAnchorKeepsTheBottomRightCorner) {
    const Bitmap grown = canvasResized(8, 7, Anchor::BottomRight);
    EXPECT_EQ(grown.pixel(7, 6), Color::rgb(4, 4, 200));
    EXPECT_EQ(grown.pixel(3, 2), Color::rgb(0, 0, 200));
    const Bitmap shrunk = canvasResized(2, 3, Anchor::BottomRight);
    EXPECT_EQ(shrunk.pixel(1, 2), Color::rgb(4, 4, 200));
    EXPECT_EQ(shrunk.pixel(0, 0), Color::rgb(3, 2, 200));
}

TEST(CanvasResize, MovesEveryLayerUnchangedAndRefusesBadSizes) {
    Document d = twoFrames(4, 3);
    d.frame(1).layer(1).image.setPixel(1, 1, Color::fromArgb(0, 9, 8, 7)); // invisible colour
    d.frame(1).layer(1).image.setPixel(2, 1, Color::fromArgb(3, 250, 1, 2));
    const auto before = allImages(d);
    EXPECT_EQ(resizeCanvas(d, 5001, 3, Anchor::Centre), EditResult::SizeOutOfRange);
    EXPECT_EQ(resizeCanvas(d, 4, 0, Anchor::Centre), EditResult::SizeOutOfRange);
    expectUnchanged(d, before, 4, 3);

    ASSERT_EQ(resizeCanvas(d, 6, 5, Anchor::TopLeft), EditResult::Done);
    expectSize(d, 6, 5);
    size_t i = 0;
    for (const Frame& frame : d.frames())
        for (const Layer& layer : frame.layers()) {
            const Bitmap& old = before[i++];
            EXPECT_TRUE(test::samePixels(layer.image.copy({0, 0, 4, 3}), old));
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 6; ++x)
                    if (x >= 4 || y >= 3) {
                        EXPECT_EQ(layer.image.pixel(x, y), colors::transparent);
                    }
        }
}
