// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a document file's facts, or one frame of an animation, through a window gives what the
// whole-file readers give, and refuses what they refuse.
#include "files/AnimationFile.h"
#include "files/DocumentFileBlocks.h"
#include "files/DocumentSummary.h"
#include "files/PictureFile.h"
#include "support/PixelChecks.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace vork;

namespace {

// An animation of four 9 x 7 frames, each with its own delay, switch, layers and pixels.
Document animation() {
    Document d(9, 7, 80);
    for (int j = 1; j < 4; ++j)
        d.insertFrameAfter(j - 1);
    for (int j = 0; j < 4; ++j) {
        Frame& f = d.frame(j);
        f.delay = 40 + 30 * j;
        for (int k = 0; k < j % 3; ++k)
            f.appendLayer();
        for (int k = 0; k < f.layerCount(); ++k) {
            f.layer(k).opacity = 200 + k;
            f.layer(k).visible = (j + k) % 2 == 0;
            for (int x = 0; x <= j + k; ++x)
                f.layer(k).image.setPixel(x, k, Color::fromArgb(255, 10 * j, 20 * k, x));
        }
    }
    d.frame(2).enabled = false;
    return d;
}

Document picture() {
    Document d(5, 4, 0);
    d.current().appendLayer();
    d.current().appendLayer();
    d.frame(0).layer(1).visible = false;
    d.frame(0).layer(2).opacity = 7;
    d.frame(0).layer(2).image.setPixel(3, 3, Color::rgb(1, 2, 3));
    return d;
}

void expectSameFacts(const DocumentSummary& s, const Document& d, DocumentFileFormat format) {
    ASSERT_TRUE(s) << s.reason;
    EXPECT_EQ(s.width, d.width);
    EXPECT_EQ(s.height, d.height);
    EXPECT_EQ(s.defaultDelay, d.defaultDelay);
    ASSERT_EQ(int(s.frames.size()), d.frameCount());
    for (int j = 0; j < d.frameCount(); ++j) {
        const Frame& f = d.frame(j);
        EXPECT_EQ(s.frames[size_t(j)].delay, f.delay) << j;
        EXPECT_EQ(s.frames[size_t(j)].enabled, f.enabled) << j;
        ASSERT_EQ(int(s.frames[size_t(j)].layers.size()), f.layerCount()) << j;
        for (int k = 0; k < f.layerCount(); ++k) {
            const LayerSummary& l = s.frames[size_t(j)].layers[size_t(k)];
            EXPECT_EQ(l.visible, f.layer(k).visible);
            EXPECT_EQ(l.opacity, f.layer(k).opacity);
            if (format == DocumentFileFormat::Picture) {
                EXPECT_EQ(l.id, f.layer(k).id);
            }
        }
    }
}

} // namespace

TEST(DocumentSummary, TellsWhatTheWholeReadTells) {
    test::TempDir dir;
    const auto palette = makePalette(smallPaletteSize);
    ASSERT_TRUE(writeAnimationFile(dir.file("a.gelm"), animation(), palette));
    ASSERT_TRUE(writePictureFile(dir.file("p.trnl"), picture(), palette));
    const DocumentReadResult a = readAnimationFile(dir.file("a.gelm"));
    const DocumentReadResult p = readPictureFile(dir.file("p.trnl"));
    ASSERT_TRUE(a && p);
    expectSameFacts(summariseDocumentFile(dir.file("a.gelm"), DocumentFileFormat::Animation),
                    *a.document, DocumentFileFormat::Animation);
    expectSameFacts(summariseDocumentFile(dir.file("p.trnl"), DocumentFileFormat::Picture),
                    *p.document, DocumentFileFormat::Picture);
}

TEST(DocumentSummary, OneFrameIsTheFrameOfTheWholeRead) {
    test::TempDir dir;
    ASSERT_TRUE(writeAnimationFile(dir.file("a.gelm"), animation(), makePalette(smallPaletteSize)));
    const DocumentReadResult whole = readAnimationFile(dir.file("a.gelm"));
    ASSERT_TRUE(whole);
    for (int n = 1; n <= 4; ++n) {
        const AnimationFrameRead one = readAnimationFrame(dir.file("a.gelm"), n);
        ASSERT_TRUE(one.read) << n << one.read.reason;
        const Document& d = *one.read.document;
        ASSERT_EQ(d.frameCount(), 1);
        EXPECT_EQ(d.defaultDelay, whole.document->defaultDelay);
        const Frame& got = d.frame(0);
        const Frame& want = whole.document->frame(n - 1);
        EXPECT_EQ(got.delay, want.delay);
        EXPECT_EQ(got.enabled, want.enabled);
        ASSERT_EQ(got.layerCount(), want.layerCount());
        for (int k = 0; k < want.layerCount(); ++k) {
            EXPECT_EQ(got.layer(k).visible, want.layer(k).visible);
            EXPECT_EQ(got.layer(k).opacity, want.layer(k).opacity);
            EXPECT_TRUE(test::samePixels(got.layer(k).image, want.layer(k).image))
                << "frame " << n << " layer " << k;
        }
        EXPECT_EQ(one.read.smallPalette.size(), whole.smallPalette.size());
    }
    const AnimationFrameRead past = readAnimationFrame(dir.file("a.gelm"), 5);
    EXPECT_FALSE(past.read);
    EXPECT_TRUE(past.summary);
    EXPECT_EQ(past.summary.frames.size(), 4u);
}

// Every cut of the file, a byte changed into a run that does not advance, trailing bytes, counts
// of frames and layers past the program's limits and a missing file: refused exactly as the
// whole read refuses them, with the same reason.
TEST(DocumentSummary, RefusesWhatTheWholeReadRefuses) {
    test::TempDir dir;
    const std::string file = dir.file("a.gelm");
    ASSERT_TRUE(writeAnimationFile(file, animation(), makePalette(smallPaletteSize)));
    const std::string bytes = test::readBytes(file);
    std::vector<std::string> variants;
    for (size_t n :
         {size_t(0), size_t(3), size_t(20), size_t(470), bytes.size() / 2, bytes.size() - 1})
        variants.push_back(bytes.substr(0, n));
    variants.push_back(bytes + "x");
    std::string backwards = bytes;
    backwards[bytes.size() - 8] = 0; // the last run ends at pixel 0
    variants.push_back(backwards);
    // The frame count, then the first frame's layer count (after its delay and switch).
    const size_t frameCountAt = headerBytes + paletteBlockBytes, layerCountAt = frameCountAt + 12;
    for (auto [at, count] :
         {std::pair{frameCountAt, maxFrames + 1}, std::pair{layerCountAt, maxLayersPerFrame + 1}}) {
        std::string past = bytes;
        for (int b = 0; b < 4; ++b)
            past[at + size_t(b)] = char((count >> (8 * b)) & 0xFF);
        variants.push_back(past);
    }
    for (size_t v = 0; v < variants.size(); ++v) {
        test::writeBytes(file, variants[v]);
        const DocumentReadResult whole = readAnimationFile(file);
        const DocumentSummary s = summariseDocumentFile(file, DocumentFileFormat::Animation);
        EXPECT_EQ(s.failure, whole.failure) << "variant " << v;
        EXPECT_EQ(s.reason, whole.reason) << "variant " << v;
        EXPECT_EQ(readAnimationFrame(file, 1).read.failure, whole.failure) << "variant " << v;
    }
    const DocumentSummary missing =
        summariseDocumentFile(dir.file("none.gelm"), DocumentFileFormat::Animation);
    EXPECT_EQ(missing.reason, readAnimationFile(dir.file("none.gelm")).reason);
}
