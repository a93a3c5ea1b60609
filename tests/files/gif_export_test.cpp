// SPDX-License-Identifier: GPL-3.0-or-later
// Exporting animations as GIF files, read back with giflib's decoder and with Qt's GIF reader.
#include "files/GifDelays.h"
#include "files/GifExport.h"
#include "files/GifReadBack.h"
#include "support/PixelChecks.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numeric>
#include <random>

using namespace vork;
using test::TempDir;

namespace {

// What a GIF can show of a composite: alpha below 128 transparent, the rest opaque.
Bitmap asGifShowsIt(const Bitmap& composite) {
    Bitmap out(composite.width(), composite.height());
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            const Color c = composite.pixel(x, y);
            out.setPixel(x, y, c.a() >= 128 ? c.withAlpha(255) : colors::transparent);
        }
    return out;
}

// Every pixel of alpha 0 made transparent black, whatever colour the reader left in it.
Bitmap transparentAsZero(Bitmap b) {
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            if (b.pixel(x, y).a() == 0)
                b.setPixel(x, y, colors::transparent);
    return b;
}

// The images the GIF should show: the enabled frames composed as the PNG export does.
std::vector<Bitmap> expectedFrames(const Document& d, SingleLayerView view) {
    std::vector<Bitmap> out;
    for (const Frame& frame : d.frames())
        if (frame.enabled)
            out.push_back(asGifShowsIt(
                composeLayers(frame, d.width, d.height, view, frame.currentLayerIndex())));
    return out;
}

std::vector<double> enabledDelays(const Document& d) {
    std::vector<double> out;
    for (const Frame& frame : d.frames())
        if (frame.enabled)
            out.push_back(frame.delay);
    return out;
}

// A random animation the way people draw them: each frame starts from the one before and a few
// rectangles change, painted in one of a few colours, a half-transparent one among them, or
// erased. Some frames have a second, translucent or hidden layer; some are switched off.
Document randomAnimation(unsigned seed) {
    std::mt19937 rng(seed);
    auto below = [&](int n) { return int(rng() % unsigned(n)); };
    const int w = 1 + below(40), h = 1 + below(40), n = 1 + below(40);
    const Color palette[] = {
        Color::rgb(250, 10, 10), Color::rgb(0, 128, 255),         Color::rgb(255, 255, 255),
        Color::rgb(0, 0, 0),     Color::fromArgb(127, 0, 200, 0), Color::fromArgb(128, 90, 60, 30),
        colors::transparent};
    const double delays[] = {0, 10, 33, 40, 1000, 100};
    Document d(w, h, 100);
    for (int i = 0; i < n; ++i) {
        if (i > 0) {
            const Bitmap previous = d.currentLayer().image.clone();
            d.insertFrameAfter(d.currentFrameIndex());
            d.currentLayer().image = previous.clone();
        }
        Frame& frame = d.current();
        frame.delay = delays[below(6)];
        frame.enabled = i == 0 || below(5) != 0;
        for (int k = below(4); k >= 0; --k)
            test::paintRect(frame.layer(0).image,
                            {below(w), below(h), 1 + below(w / 2 + 1), 1 + below(h / 2 + 1)},
                            palette[below(7)]);
        if (below(4) == 0) {
            frame.appendLayer();
            test::paintRect(frame.layer(1).image, {0, 0, 1 + below(w), 1 + below(h)},
                            palette[below(4)]);
            frame.layer(1).opacity = below(2) ? 128 : 255;
            frame.layer(1).visible = below(3) != 0;
            frame.setCurrentLayer(below(2));
        }
    }
    return d;
}

std::string describe(unsigned seed, const Document& d) {
    return "seed " + std::to_string(seed) + ", " + std::to_string(d.width) + " x " +
           std::to_string(d.height) + ", " + std::to_string(d.frameCount()) + " frames";
}

} // namespace

TEST(GifDelays, RoundingErrorsAreCarriedSoTheTotalStaysRight) {
    EXPECT_EQ(gifDelays(std::vector<double>{40, 40, 40}), (std::vector<int>{4, 4, 4}));
    EXPECT_EQ(gifDelays(std::vector<double>{33, 33, 34}), (std::vector<int>{3, 4, 3}));
    EXPECT_EQ(gifDelays(std::vector<double>{1000, 25, 25, 100}), (std::vector<int>{100, 3, 2, 10}));
    // Long random runs of delays browsers honour: the running total is never off by more than
    // half a hundredth, and no frame by more than one hundredth.
    std::mt19937 rng(7);
    for (int run = 0; run < 50; ++run) {
        std::vector<double> ms(200);
        for (double& d : ms)
            d = 20 + rng() % 200;
        const std::vector<int> written = gifDelays(ms);
        ASSERT_EQ(written.size(), ms.size());
        double trueTotal = 0;
        int writtenTotal = 0;
        for (size_t i = 0; i < ms.size(); ++i) {
            trueTotal += ms[i];
            writtenTotal += written[i] * 10;
            ASSERT_LE(std::abs(writtenTotal - trueTotal), 5) << "run " << run << ", frame " << i;
            ASSERT_LT(std::abs(written[i] * 10 - ms[i]), 10) << "run " << run << ", frame " << i;
        }
    }
}

TEST(GifDelays, NoFrameGetsADelayBrowsersWouldStretch) {
    // 0 and 1 hundredth play as a tenth of a second in browsers: 2 is the shortest they honour.
    EXPECT_EQ(gifDelays(std::vector<double>{0, 10, 14, 15, 5}), (std::vector<int>{2, 2, 2, 2, 2}));
    // A clamped frame does not shorten the frames after it.
    EXPECT_EQ(gifDelays(std::vector<double>{0, 40, 10, 40}), (std::vector<int>{2, 4, 2, 4}));
    const double nan = std::nan("");
    EXPECT_EQ(gifDelays(std::vector<double>{-50, nan, 1e9, 655350, 655360}),
              (std::vector<int>{2, 2, longestGifDelay, longestGifDelay, longestGifDelay}));
    EXPECT_TRUE(gifDelays(std::vector<double>{}).empty());
}

TEST(GifExport, RandomAnimationsReadBackExactlyWithGiflib) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        const Document d = randomAnimation(seed);
        const GifEncoding gif = encodeAnimationGif(d, SingleLayerView::Off);
        ASSERT_TRUE(gif) << describe(seed, d) << ": " << gif.detail;
        const test::GiflibRead back = test::readWithGiflib(gif.bytes);
        ASSERT_TRUE(back.ok) << describe(seed, d) << ": " << back.error;
        EXPECT_EQ(back.width, d.width);
        EXPECT_EQ(back.height, d.height);
        EXPECT_EQ(back.loopCount, 0) << "loops forever";
        EXPECT_EQ(gif.framesQuantised, 0);
        EXPECT_TRUE(back.globalPalette) << "a few colours: one palette for all frames";
        const std::vector<Bitmap> expected = expectedFrames(d, SingleLayerView::Off);
        const std::vector<int> delays = gifDelays(enabledDelays(d));
        ASSERT_EQ(back.frames.size(), expected.size()) << describe(seed, d);
        EXPECT_EQ(gif.framesWritten, int(expected.size()));
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_TRUE(test::samePixels(back.frames[i].shown, expected[i]))
                << describe(seed, d) << ": frame " << i;
            EXPECT_EQ(back.frames[i].delay, delays[i]) << describe(seed, d) << ": frame " << i;
        }
        EXPECT_TRUE(test::samePixels(back.firstFrameSecondRound, expected[0]))
            << describe(seed, d) << ": the first frame over the last one";
    }
}

TEST(GifExport, RandomAnimationsReadBackExactlyWithQt) {
    for (unsigned seed = 101; seed <= 130; ++seed) {
        const Document d = randomAnimation(seed);
        const GifEncoding gif = encodeAnimationGif(d, SingleLayerView::Off);
        ASSERT_TRUE(gif) << describe(seed, d);
        const test::QtRead back = test::readWithQt(gif.bytes);
        EXPECT_EQ(back.format, "gif");
        EXPECT_EQ(back.loopCount, -1) << "Qt's word for looping forever";
        const std::vector<Bitmap> expected = expectedFrames(d, SingleLayerView::Off);
        const std::vector<int> delays = gifDelays(enabledDelays(d));
        EXPECT_EQ(back.imageCount, int(expected.size())) << describe(seed, d);
        ASSERT_EQ(back.frames.size(), expected.size()) << describe(seed, d);
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_TRUE(test::samePixels(transparentAsZero(back.frames[i]), expected[i]))
                << describe(seed, d) << ": frame " << i;
            EXPECT_EQ(back.delaysMs[i], delays[i] * 10) << describe(seed, d) << ": frame " << i;
        }
    }
}

TEST(GifExport, FramesWithManyColoursBetweenThemGetExactPalettesOfTheirOwn) {
    // Three frames of 200 colours each, 600 in all: no palette holds them together.
    Document d(20, 10, 100);
    for (int i = 0; i < 3; ++i) {
        if (i > 0)
            d.insertFrameAfter(d.currentFrameIndex());
        for (int p = 0; p < 200; ++p)
            d.currentLayer().image.setPixel(p % 20, p / 20, Color::rgb(p, 80 * i, 255 - p));
    }
    const GifEncoding gif = encodeAnimationGif(d, SingleLayerView::Off);
    ASSERT_TRUE(gif);
    EXPECT_FALSE(gif.globalPalette);
    EXPECT_EQ(gif.framesQuantised, 0);
    const test::GiflibRead back = test::readWithGiflib(gif.bytes);
    ASSERT_TRUE(back.ok) << back.error;
    EXPECT_FALSE(back.globalPalette);
    const std::vector<Bitmap> expected = expectedFrames(d, SingleLayerView::Off);
    ASSERT_EQ(back.frames.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(back.frames[i].localPalette);
        EXPECT_TRUE(test::samePixels(back.frames[i].shown, expected[i])) << "frame " << i;
    }
    const test::QtRead qt = test::readWithQt(gif.bytes);
    ASSERT_EQ(qt.frames.size(), 3u);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_TRUE(test::samePixels(transparentAsZero(qt.frames[i]), expected[i]))
            << "Qt, frame " << i;
}

TEST(GifExport, AFrameOfThreeHundredColoursIsQuantisedCloseToTheOriginal) {
    // 300 random colours and a transparent border: more than a palette holds.
    Document d(22, 17, 40);
    std::mt19937 rng(300);
    Bitmap& image = d.currentLayer().image;
    for (int y = 1; y < 16; ++y)
        for (int x = 1; x < 21; ++x)
            image.setPixel(x, y, Color(rng() | 0xFF000000u));
    const GifEncoding gif = encodeAnimationGif(d, SingleLayerView::Off);
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif.framesQuantised, 1);
    const test::GiflibRead back = test::readWithGiflib(gif.bytes);
    ASSERT_TRUE(back.ok) << back.error;
    ASSERT_EQ(back.frames.size(), 1u);
    const Bitmap& shown = back.frames[0].shown;
    double error = 0;
    int worst = 0;
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 22; ++x) {
            const Color want = image.pixel(x, y), got = shown.pixel(x, y);
            ASSERT_EQ(got.a(), want.a()) << "transparency stays exact at " << x << ", " << y;
            for (int c : {std::abs(got.r() - want.r()), std::abs(got.g() - want.g()),
                          std::abs(got.b() - want.b())}) {
                error += c;
                worst = std::max(worst, c);
            }
        }
    const double meanError = error / (300 * 3);
    RecordProperty("meanErrorPerChannel", std::to_string(meanError));
    std::printf("300 colours through the quantiser: mean error %.2f per channel, worst %d\n",
                meanError, worst);
    EXPECT_LT(meanError, 3.0);
    EXPECT_EQ(test::countPixels(shown, colors::transparent), 22 * 17 - 300);
}

TEST(GifExport, EachFrameStoresOnlyWhatChangedAndClearsWhatTheNextErases) {
    Document d(40, 30, 100);
    d.currentLayer().image.fill(Color::rgb(0, 0, 200));
    test::paintRect(d.currentLayer().image, {0, 0, 4, 4}, colors::transparent);
    // Frame 2: a 3 x 2 patch changes colour.
    d.insertFrameAfter(0);
    d.currentLayer().image = d.frame(0).layer(0).image.clone();
    test::paintRect(d.currentLayer().image, {10, 12, 3, 2}, test::red);
    // Frame 3: the same, but for one pixel erased.
    d.insertFrameAfter(1);
    d.currentLayer().image = d.frame(1).layer(0).image.clone();
    d.currentLayer().image.setPixel(30, 20, colors::transparent);
    // Frame 4: no change at all.
    d.insertFrameAfter(2);
    d.currentLayer().image = d.frame(2).layer(0).image.clone();

    const GifEncoding gif = encodeAnimationGif(d, SingleLayerView::Off);
    ASSERT_TRUE(gif);
    const test::GiflibRead back = test::readWithGiflib(gif.bytes);
    ASSERT_TRUE(back.ok) << back.error;
    ASSERT_EQ(back.frames.size(), 4u);
    EXPECT_EQ(back.frames[0].rect, (Rect{0, 0, 40, 30})) << "the opaque part of the first frame";
    EXPECT_EQ(back.frames[0].disposal, DISPOSE_DO_NOT);
    // The second frame is cleared after it shows, over its patch and the pixel the third erases.
    EXPECT_EQ(back.frames[1].rect, (Rect{10, 12, 21, 9}));
    EXPECT_EQ(back.frames[1].disposal, DISPOSE_BACKGROUND);
    EXPECT_EQ(back.frames[2].rect, (Rect{10, 12, 21, 9})) << "redraws what was cleared";
    EXPECT_EQ(back.frames[3].rect, (Rect{0, 0, 1, 1})) << "a frame that changes nothing";
    // The last frame keeps the first one's hole, so nothing needs clearing when the loop turns.
    EXPECT_EQ(back.frames[3].disposal, DISPOSE_DO_NOT);
    const std::vector<Bitmap> expected = expectedFrames(d, SingleLayerView::Off);
    for (size_t i = 0; i < 4; ++i)
        EXPECT_TRUE(test::samePixels(back.frames[i].shown, expected[i])) << "frame " << i;
}

TEST(GifExport, TheLastFrameClearsWhatTheFirstShowsTransparent) {
    // The first frame has a hole at (0, 0) that the second covers. Browsers start each round of
    // the loop on a transparent canvas; a viewer that keeps the canvas needs the clear.
    Document d(2, 1, 100);
    d.currentLayer().image.setPixel(1, 0, test::red);
    d.insertFrameAfter(0);
    d.currentLayer().image.fill(test::red);
    const test::GiflibRead back =
        test::readWithGiflib(encodeAnimationGif(d, SingleLayerView::Off).bytes);
    ASSERT_TRUE(back.ok && back.frames.size() == 2u) << back.error;
    EXPECT_EQ(back.frames[0].disposal, DISPOSE_DO_NOT);
    EXPECT_EQ(back.frames[1].disposal, DISPOSE_BACKGROUND);
    EXPECT_EQ(back.frames[1].rect, (Rect{0, 0, 1, 1}));
    EXPECT_EQ(back.firstFrameSecondRound.pixel(0, 0), colors::transparent);
    EXPECT_EQ(back.firstFrameSecondRound.pixel(1, 0), test::red);
}

TEST(GifExport, SingleLayerViewShowsEachFramesCurrentLayerAlone) {
    Document d(3, 1, 100);
    d.currentLayer().image.fill(test::red);
    d.current().appendLayer();
    d.currentLayer().image.setPixel(1, 0, test::green);
    d.currentLayer().visible = false;
    for (SingleLayerView view : {SingleLayerView::Off, SingleLayerView::On}) {
        const GifEncoding gif = encodeAnimationGif(d, view);
        ASSERT_TRUE(gif);
        const test::GiflibRead back = test::readWithGiflib(gif.bytes);
        ASSERT_TRUE(back.ok && back.frames.size() == 1u) << back.error;
        EXPECT_TRUE(test::samePixels(back.frames[0].shown, expectedFrames(d, view)[0]));
    }
    const test::GiflibRead alone =
        test::readWithGiflib(encodeAnimationGif(d, SingleLayerView::On).bytes);
    EXPECT_EQ(alone.frames[0].shown.pixel(1, 0), test::green);
    EXPECT_EQ(alone.frames[0].shown.pixel(0, 0), colors::transparent);
}

TEST(GifExportFile, TheTypedExtensionIsReplacedAndTheFileReadsBack) {
    TempDir dir;
    const Document d = randomAnimation(5);
    for (const char* chosen : {"anim", "anim.png", "anim.gif"}) {
        const ExportResult result = exportAnimationGif(d, dir.file(chosen), SingleLayerView::Off);
        ASSERT_TRUE(result) << chosen << ": " << result.outcome.reason << result.outcome.detail;
        EXPECT_EQ(result.written, std::vector<std::string>{dir.file("anim.gif")});
        const test::QtRead back = test::readWithQt([&] {
            const std::string bytes = test::readBytes(dir.file("anim.gif"));
            return std::vector<uint8_t>(bytes.begin(), bytes.end());
        }());
        EXPECT_EQ(back.frames.size(), expectedFrames(d, SingleLayerView::Off).size()) << chosen;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("anim.png")));
}

TEST(GifExportFile, FailuresSayWhyAndLeaveTheOldFileAsItWas) {
    TempDir dir;
    Document d(8, 8, 100);
    for (int i = 1; i < 10; ++i)
        d.insertFrameAfter(d.currentFrameIndex());
    test::writeBytes(dir.file("old.gif"), "the old file");

    // Cancelled half way: nothing is written.
    int calls = 0;
    const ExportResult cancelled =
        exportAnimationGif(d, dir.file("old"), SingleLayerView::Off, [&](int done, int total) {
            EXPECT_EQ(done, ++calls);
            EXPECT_EQ(total, 2 * 10);
            return done < total / 2 + 1;
        });
    EXPECT_EQ(cancelled.outcome.failure, ImageFailure::Cancelled);
    EXPECT_EQ(cancelled.outcome.reason, "операция отменена");
    EXPECT_TRUE(cancelled.written.empty());
    EXPECT_EQ(test::readBytes(dir.file("old.gif")), "the old file");

    // A folder in the file's place, and a missing folder.
    std::filesystem::create_directories(dir.file("folder.gif"));
    for (const std::string& chosen : {dir.file("folder"), dir.file("missing/anim")}) {
        const ExportResult failed = exportAnimationGif(d, chosen, SingleLayerView::Off);
        EXPECT_EQ(failed.outcome.failure, ImageFailure::CannotWrite) << chosen;
        EXPECT_EQ(failed.outcome.reason, "не удалось записать файл");
        EXPECT_EQ(failed.outcome.file, chosen + ".gif");
        EXPECT_FALSE(failed.outcome.detail.empty());
        EXPECT_TRUE(failed.written.empty());
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("folder.gif")));

    Document off(4, 4, 100);
    off.current().enabled = false;
    const ExportResult none = exportAnimationGif(off, dir.file("old"), SingleLayerView::Off);
    EXPECT_EQ(none.outcome.failure, ImageFailure::NoEnabledFrames);
    EXPECT_EQ(test::readBytes(dir.file("old.gif")), "the old file");
}
