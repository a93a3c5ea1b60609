// SPDX-License-Identifier: GPL-3.0-or-later
// A copy of a document that shares its layers' pixels until either side writes to them.
#include "gfx/Graphics.h"
#include "model/SharedCopy.h"

#include <gtest/gtest.h>

#include <thread>

namespace vork {
namespace {

constexpr Color red = Color::rgb(255, 0, 0);
constexpr Color blue = Color::rgb(0, 0, 255);

std::unique_ptr<Document> twoFrames() {
    auto d = std::make_unique<Document>(6, 4, 80);
    Frame& first = d->current();
    first.appendLayer();
    first.current().image.setPixel(1, 1, red);
    first.current().opacity = 90;
    first.layer(0).visible = false;
    d->insertFrameAfter(0);
    d->current().delay = 250;
    d->current().enabled = false;
    d->current().current().image.fill(blue);
    d->goToFirstFrame();
    return d;
}

TEST(SharedCopy, HoldsWhatTheFilesHold) {
    const auto d = twoFrames();
    const auto copy = sharedPixelCopy(*d);
    EXPECT_EQ(copy->width, 6);
    EXPECT_EQ(copy->height, 4);
    EXPECT_EQ(copy->defaultDelay, 80);
    ASSERT_EQ(copy->frameCount(), 2);
    EXPECT_EQ(copy->currentFrameIndex(), 0);
    const Frame& first = copy->frame(0);
    ASSERT_EQ(first.layerCount(), 2);
    EXPECT_EQ(first.currentLayerIndex(), 1);
    EXPECT_EQ(first.layerCounter, 2);
    EXPECT_EQ(first.layer(1).id, 2);
    EXPECT_EQ(first.layer(1).opacity, 90);
    EXPECT_FALSE(first.layer(0).visible);
    EXPECT_EQ(first.layer(1).image.pixel(1, 1), red);
    EXPECT_EQ(copy->frame(1).delay, 250);
    EXPECT_FALSE(copy->frame(1).enabled);
    EXPECT_EQ(copy->frame(1).layer(0).image.pixel(5, 3), blue);
}

TEST(SharedCopy, NeitherSideSeesTheOthersLaterChanges) {
    auto d = twoFrames();
    const auto copy = sharedPixelCopy(*d);
    // Shared until written: no pixels were copied to make the copy.
    EXPECT_EQ(std::as_const(copy->frame(1).layer(0).image).bytes(),
              std::as_const(d->frame(1).layer(0).image).bytes());

    d->frame(0).layer(1).image.setPixel(1, 1, blue);
    {
        Graphics g(d->frame(1).layer(0).image);
        g.fillRect(Brush::solid(red), Rect{0, 0, 6, 4});
    }
    copy->frame(0).layer(0).image.fill(red);
    EXPECT_EQ(copy->frame(0).layer(1).image.pixel(1, 1), red);
    EXPECT_EQ(copy->frame(1).layer(0).image.pixel(0, 0), blue);
    EXPECT_EQ(d->frame(0).layer(0).image.pixel(0, 0), colors::transparent);
    d.reset(); // the copy's pixels outlive the original and its layers
    EXPECT_EQ(copy->frame(0).layer(1).image.pixel(1, 1), red);
}

TEST(SharedCopy, AnotherThreadReadsTheCopyWhileTheOriginalIsDrawnOn) {
    Document d(512, 512, 100);
    d.currentLayer().image.fill(red);
    const auto copy = sharedPixelCopy(d);
    uint64_t redPixels = 0;
    std::thread reader([&copy, &redPixels] {
        const Bitmap& image = copy->currentLayer().image;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                redPixels += image.pixel(x, y) == red;
    });
    for (int y = 0; y < 512; ++y)
        d.currentLayer().image.setPixel(y, y, blue);
    reader.join();
    EXPECT_EQ(redPixels, 512u * 512u);
    EXPECT_EQ(d.currentLayer().image.pixel(7, 7), blue);
}

} // namespace
} // namespace vork
