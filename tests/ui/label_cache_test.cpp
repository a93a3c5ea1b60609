// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/LabelCache.h"

#include "support/PixelChecks.h"

#include <gtest/gtest.h>

#include <string>

using namespace vork;

TEST(LabelCache, DrawsWhatDrawingTheTextThereDirectlyDraws) {
    const Color grey = Color::rgb(230, 230, 230), blue = Color::rgb(0, 0, 139);
    for (Align align : {Align::Near, Align::Center, Align::Far}) {
        Bitmap direct(80, 30, PixelFormat::Rgb), cached(80, 30, PixelFormat::Rgb);
        {
            Graphics g(direct);
            g.clear(blue);
            g.fillRect(Brush::solid(grey), Rect{7, 9, 30, 14});
            g.drawText("0.125", FontKind::Small, Brush::solid(colors::white), RectF{7, 9, 30, 14},
                       align);
        }
        LabelCache labels;
        {
            Graphics g(cached);
            g.clear(blue);
            labels.draw(g, {7, 9, 30, 14}, "0.125", grey, colors::white, align);
        }
        EXPECT_TRUE(test::samePixels(direct, cached)) << int(align);
    }
}

TEST(LabelCache, KeepsOneImageALabelAndDropsThemAllPastItsLimit) {
    Bitmap target(100, 20, PixelFormat::Rgb);
    Graphics g(target);
    LabelCache labels;
    for (int i = 0; i < 3; ++i)
        labels.draw(g, {0, 0, 30, 14}, "12", colors::white, colors::black, Align::Far);
    EXPECT_EQ(labels.size(), 1u);
    labels.draw(g, {0, 0, 30, 14}, "12", colors::white, colors::white, Align::Far);
    labels.draw(g, {0, 0, 31, 14}, "12", colors::white, colors::black, Align::Far);
    EXPECT_EQ(labels.size(), 3u) << "another ink or size is another image";
    for (int i = 0; i < 1100; ++i)
        labels.draw(g, {0, 0, 30, 14}, std::to_string(i), colors::white, colors::black, Align::Far);
    EXPECT_LE(labels.size(), 1024u);
    Bitmap last(100, 20, PixelFormat::Rgb);
    {
        Graphics direct(last);
        direct.fillRect(Brush::solid(colors::white), Rect{0, 0, 30, 14});
        direct.drawText("1099", FontKind::Small, Brush::solid(colors::black), RectF{0, 0, 30, 14},
                        Align::Far);
    }
    EXPECT_TRUE(test::samePixels(target.copy({0, 0, 30, 14}), last.copy({0, 0, 30, 14})))
        << "labels past the limit are still drawn";
}
