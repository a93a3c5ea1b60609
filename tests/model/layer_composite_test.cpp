// SPDX-License-Identifier: GPL-3.0-or-later
// The composition the exports write: plain colour, each layer's alpha scaled by its opacity.
#include "model/LayerComposite.h"

#include <gtest/gtest.h>

using namespace vork;

TEST(LayerComposite, ATranslucentLayerOnTransparencyComesThroughWithItsAlphaScaled) {
    Frame frame(3, 1, 0);
    frame.layer(0).image.setPixel(0, 0, Color::fromArgb(100, 10, 20, 30));
    frame.layer(0).image.setPixel(1, 0, Color::fromArgb(1, 200, 100, 50));
    frame.layer(0).opacity = 128;
    const Bitmap out = composeLayers(frame, 3, 1, SingleLayerView::Off, 0);
    EXPECT_EQ(out.pixel(0, 0), Color::fromArgb(50, 10, 20, 30)) << "100 x 128 / 255 truncated";
    EXPECT_EQ(out.pixel(1, 0), colors::transparent) << "alpha 1 truncates to 0: nothing is drawn";
    EXPECT_EQ(out.pixel(2, 0), colors::transparent);
    EXPECT_EQ(composeLayers(frame, 3, 1, SingleLayerView::On, 5).pixel(0, 0), colors::transparent)
        << "a viewed layer that is not in the frame shows nothing";
}
