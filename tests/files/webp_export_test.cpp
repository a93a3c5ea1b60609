// SPDX-License-Identifier: GPL-3.0-or-later
// Exporting animations as animated WebP files, read back frame by frame with Qt's WebP reader.
#include "files/GifReadBack.h"
#include "files/WebpExport.h"
#include "support/PixelChecks.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

using namespace vork;
using test::TempDir;

namespace {

// Five frames of 9 x 7: random pixels with every alpha (transparent ones keep a colour), a
// translucent second layer on one frame whose current layer is the first, and a frame off.
Document fiveFrames() {
    Document d(9, 7, 100);
    const double delays[] = {40, 33, 1000, 250, 70};
    for (int i = 0; i < 5; ++i) {
        if (i > 0)
            d.insertFrameAfter(d.currentFrameIndex());
        d.currentLayer().image = test::randomBitmap(9, 7, unsigned(i + 10));
        d.current().delay = delays[i];
    }
    Frame& layered = d.frame(1);
    layered.appendLayer();
    test::paintRect(layered.layer(1).image, {2, 1, 5, 4}, Color::fromArgb(128, 0, 200, 0));
    layered.layer(1).opacity = 200;
    layered.setCurrentLayer(0);
    d.frame(3).enabled = false;
    return d;
}

} // namespace

TEST(WebpDurations, RoundingErrorsAreCarriedAndEveryFrameLasts) {
    EXPECT_EQ(webpDurations(std::vector<double>{40, 100, 1000}), (std::vector<int>{40, 100, 1000}));
    EXPECT_EQ(webpDurations(std::vector<double>{33.4, 33.4, 33.4}), (std::vector<int>{33, 34, 33}));
    // 0 ms frames last 1 ms and owe it to no one; out-of-range delays are clamped.
    const double nan = std::nan("");
    EXPECT_EQ(webpDurations(std::vector<double>{0, 40, -5, nan, 1e12}),
              (std::vector<int>{1, 40, 1, 1, longestWebpDuration}));
}

TEST(WebpExport, FramesReadBackExactlyWithTheirAlphaAndDelays) {
    const Document d = fiveFrames();
    for (const SingleLayerView view : {SingleLayerView::Off, SingleLayerView::On}) {
        const WebpEncoding webp = encodeAnimationWebp(d, view);
        ASSERT_TRUE(webp) << webp.detail;
        const test::QtRead back = test::readWithQt(webp.bytes);
        EXPECT_EQ(back.format, "webp");
        EXPECT_EQ(back.loopCount, -1) << "loops forever";
        std::vector<Bitmap> expected;
        std::vector<int> delays;
        for (const Frame* frame : d.enabledFrames()) {
            expected.push_back(
                composeLayers(*frame, d.width, d.height, view, frame->currentLayerIndex()));
            delays.push_back(int(frame->delay));
        }
        ASSERT_EQ(back.frames.size(), expected.size());
        EXPECT_EQ(back.delaysMs, delays);
        for (size_t i = 0; i < expected.size(); ++i)
            EXPECT_TRUE(test::samePixels(back.frames[i], expected[i])) << "frame " << i;
    }
}

TEST(WebpExportFile, WritesUnderTheWebpNameAndRefusesWhatItCannotWrite) {
    TempDir dir;
    Document d = fiveFrames();
    const ExportResult written = exportAnimationWebp(d, dir.file("walk.gif"), SingleLayerView::Off);
    ASSERT_TRUE(written) << written.outcome.shown();
    EXPECT_EQ(written.written, std::vector<std::string>{dir.file("walk.webp")});
    const std::string bytes = test::readBytes(dir.file("walk.webp"));
    EXPECT_EQ(test::readWithQt({bytes.begin(), bytes.end()}).frames.size(), 4u);

    // A cancel, a missing folder and no enabled frame write nothing and leave the old file.
    const std::string before = bytes;
    const ExportResult cancelled = exportAnimationWebp(d, dir.file("walk"), SingleLayerView::Off,
                                                       [](int done, int) { return done < 2; });
    EXPECT_EQ(cancelled.outcome.failure, ImageFailure::Cancelled);
    EXPECT_EQ(
        exportAnimationWebp(d, dir.file("missing/walk"), SingleLayerView::Off).outcome.failure,
        ImageFailure::CannotWrite);
    for (Frame& frame : d.frames())
        frame.enabled = false;
    EXPECT_EQ(exportAnimationWebp(d, dir.file("walk"), SingleLayerView::Off).outcome.failure,
              ImageFailure::NoEnabledFrames);
    EXPECT_EQ(test::readBytes(dir.file("walk.webp")), before);
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));
}
