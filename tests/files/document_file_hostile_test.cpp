// SPDX-License-Identifier: GPL-3.0-or-later
// Damaged and hostile picture and animation files: every one is refused with the right kind of
// failure, without reading or writing outside a buffer (the tests run under the sanitizers)
// and without allocating what the file merely claims.
#include "DocumentFileTestSupport.h"
#include "files/AnimationFile.h"
#include "files/FileBytes.h"
#include "files/PictureFile.h"
#include "model/Limits.h"
#include "support/PixelChecks.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

namespace vork {
namespace {

using test::FileBuilder;
using Decoder = std::function<DocumentReadResult(std::span<const uint8_t>)>;

const Decoder decodePictureBytes = [](std::span<const uint8_t> b) { return decodePicture(b); };
const Decoder decodeAnimationBytes = [](std::span<const uint8_t> b) { return decodeAnimation(b); };

// W x H as a run end, 1 where that is no valid count.
int32_t pixelsOf(int32_t w, int32_t h) {
    const int64_t n = int64_t(w) * h;
    return n > 0 && n <= INT_MAX ? int32_t(n) : 1;
}

// A picture of W x H with one layer of one run, after the given counts.
FileBuilder pictureWith(int32_t w, int32_t h, int32_t layerCount = 1, int32_t end = -1) {
    FileBuilder f;
    f.header("trnl", 0, w, h).int32(1).int32(1).int32(layerCount);
    f.int32(1).int32(1).int32(255).run(end < 0 ? pixelsOf(w, h) : end, test::red);
    return f;
}

// An animation of W x H with `frames` frames of one layer of one run each.
FileBuilder animationWith(int32_t w, int32_t h, int32_t frames = 1) {
    FileBuilder f;
    f.header("gelm", 100, w, h).int32(frames);
    for (int j = 0; j < std::max(frames, 0); ++j)
        f.int32(100).int32(1).int32(1).int32(1).int32(255).run(pixelsOf(w, h), test::red);
    return f;
}

ReadFailure failureOf(const Decoder& decode, const FileBuilder& file) {
    const auto read = decode(file.span());
    EXPECT_EQ(bool(read), read.failure == ReadFailure::None);
    if (!read) {
        EXPECT_TRUE(read.smallPalette.empty());
    }
    return read.failure;
}

// A small valid file of several frames, layers and runs, through the writers.
std::vector<uint8_t> smallValidFile(DocumentFileFormat format) {
    std::mt19937 rng(5);
    const auto palette = test::randomPalette(rng);
    if (format == DocumentFileFormat::Picture)
        return encodePicture(*test::randomPicture(rng, 4, 3), palette);
    return encodeAnimation(*test::randomAnimation(rng, 3, 3, 2), palette);
}

TEST(HostileFiles, EveryTruncationOfAValidFileFailsCleanly) {
    for (auto format : {DocumentFileFormat::Picture, DocumentFileFormat::Animation}) {
        const auto bytes = smallValidFile(format);
        const Decoder& decode =
            format == DocumentFileFormat::Picture ? decodePictureBytes : decodeAnimationBytes;
        ASSERT_TRUE(decode(bytes));
        for (size_t n = 0; n < bytes.size(); ++n) {
            // A heap copy of exactly n bytes, so a read past the end is caught.
            const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + ptrdiff_t(n));
            const auto read = decode(cut);
            ASSERT_FALSE(read) << n << " bytes";
            EXPECT_EQ(read.failure, n < 4 ? ReadFailure::WrongFormat : ReadFailure::Truncated)
                << n << " bytes";
            EXPECT_FALSE(read.reason.empty());
        }
    }
}

TEST(HostileFiles, TrailingBytesAfterTheLastLayerAreDamage) {
    for (auto format : {DocumentFileFormat::Picture, DocumentFileFormat::Animation}) {
        auto bytes = smallValidFile(format);
        bytes.push_back(0);
        const auto read =
            format == DocumentFileFormat::Picture ? decodePicture(bytes) : decodeAnimation(bytes);
        EXPECT_EQ(read.failure, ReadFailure::Damaged);
    }
}

TEST(HostileFiles, RunsThatDoNotAdvanceOrOverrunAreDamage) {
    auto withRuns = [](std::initializer_list<int32_t> ends) {
        FileBuilder f;
        f.header("trnl", 0, 3, 1).int32(1).int32(1).int32(1).int32(1).int32(1).int32(255);
        for (int32_t end : ends)
            f.run(end, test::red);
        return f;
    };
    EXPECT_EQ(failureOf(decodePictureBytes, withRuns({2, 3})), ReadFailure::None);
    EXPECT_EQ(failureOf(decodePictureBytes, withRuns({0, 3})), ReadFailure::Damaged);
    EXPECT_EQ(failureOf(decodePictureBytes, withRuns({2, 2, 3})), ReadFailure::Damaged);
    EXPECT_EQ(failureOf(decodePictureBytes, withRuns({2, 1, 3})), ReadFailure::Damaged);
    EXPECT_EQ(failureOf(decodePictureBytes, withRuns({4})), ReadFailure::Damaged);
    EXPECT_EQ(failureOf(decodePictureBytes, withRuns({2, 4})), ReadFailure::Damaged);
    EXPECT_EQ(failureOf(decodePictureBytes, withRuns({-1, 3})), ReadFailure::Damaged);
    EXPECT_EQ(failureOf(decodePictureBytes, withRuns({INT_MIN, 3})), ReadFailure::Damaged);
    EXPECT_EQ(failureOf(decodePictureBytes, withRuns({2})), ReadFailure::Truncated);
}

TEST(HostileFiles, SidesOutsideOneTo5000AreRefused) {
    for (const Decoder* decode : {&decodePictureBytes, &decodeAnimationBytes}) {
        auto file = [&](int32_t w, int32_t h) {
            return decode == &decodePictureBytes ? pictureWith(w, h, 1, 1) : animationWith(w, h);
        };
        EXPECT_EQ(failureOf(*decode, file(0, 5)), ReadFailure::Damaged);
        EXPECT_EQ(failureOf(*decode, file(5, 0)), ReadFailure::Damaged);
        EXPECT_EQ(failureOf(*decode, file(-3, 5)), ReadFailure::Damaged);
        EXPECT_EQ(failureOf(*decode, file(INT_MIN, INT_MIN)), ReadFailure::Damaged);
        EXPECT_EQ(failureOf(*decode, file(maxDocumentSide + 1, 1)), ReadFailure::TooLarge);
        EXPECT_EQ(failureOf(*decode, file(1, INT_MAX)), ReadFailure::TooLarge);
    }
    // The largest side itself is fine.
    EXPECT_EQ(failureOf(decodePictureBytes, pictureWith(maxDocumentSide, 1)), ReadFailure::None);
}

TEST(HostileFiles, LayerAndFrameCountsAreCheckedBeforeAnyRecordIsMade) {
    EXPECT_EQ(failureOf(decodePictureBytes, pictureWith(2, 2, 0)), ReadFailure::Damaged);
    EXPECT_EQ(failureOf(decodePictureBytes, pictureWith(2, 2, -1)), ReadFailure::Damaged);
    EXPECT_EQ(failureOf(decodePictureBytes, pictureWith(2, 2, 2)), ReadFailure::Truncated);
    // A count the pixel budget allows but the file cannot hold, and one beyond the budget.
    EXPECT_EQ(failureOf(decodePictureBytes, pictureWith(1, 1, 1000)), ReadFailure::Truncated);
    EXPECT_EQ(failureOf(decodePictureBytes, pictureWith(1, 1, INT_MAX)), ReadFailure::TooLarge);

    EXPECT_EQ(failureOf(decodeAnimationBytes, animationWith(2, 2, 0)), ReadFailure::Damaged);
    EXPECT_EQ(failureOf(decodeAnimationBytes, animationWith(2, 2, -4)), ReadFailure::Damaged);
    for (int32_t frames : {1000, INT_MAX}) {
        FileBuilder f;
        f.header("gelm", 0, 1, 1).int32(frames).int32(1).int32(1).int32(1);
        f.int32(1).int32(255).run(1, test::red);
        EXPECT_EQ(failureOf(decodeAnimationBytes, f),
                  frames == 1000 ? ReadFailure::Truncated : ReadFailure::TooLarge);
    }
    for (int32_t layers : {0, -1, 1000, INT_MAX}) {
        FileBuilder f;
        f.header("gelm", 0, 1, 1).int32(1).int32(10).int32(1).int32(layers);
        f.int32(1).int32(255).run(1, test::red);
        const ReadFailure expected = layers == 1000      ? ReadFailure::Truncated
                                     : layers == INT_MAX ? ReadFailure::TooLarge
                                                         : ReadFailure::Damaged;
        EXPECT_EQ(failureOf(decodeAnimationBytes, f), expected) << layers;
    }
}

TEST(HostileFiles, AnOpacityOutside0To255IsDamage) {
    for (int32_t opacity : {256, -1}) {
        FileBuilder f;
        f.header("trnl", 0, 1, 1).int32(1).int32(1).int32(1);
        f.int32(1).int32(1).int32(opacity).run(1, test::red);
        EXPECT_EQ(failureOf(decodePictureBytes, f), ReadFailure::Damaged);
    }
}

TEST(HostileFiles, ATinyFileClaimingGiantLayersIsTooLarge) {
    // 50 layers of 5000 x 5000 are 5 GB of pixels in about a kilobyte of runs; the reader must
    // refuse before making a single layer (the sanitizers would run out of memory otherwise).
    FileBuilder picture;
    picture.header("trnl", 0, 5000, 5000).int32(1).int32(50).int32(50);
    for (int k = 0; k < 50; ++k)
        picture.int32(k + 1).int32(1).int32(255).run(5000 * 5000, test::red);
    EXPECT_EQ(failureOf(decodePictureBytes, picture), ReadFailure::TooLarge);

    const auto frames = animationWith(5000, 5000, 50);
    EXPECT_EQ(failureOf(decodeAnimationBytes, frames), ReadFailure::TooLarge);

    // The same in the layers of one frame, after a first frame of one layer.
    FileBuilder layers;
    layers.header("gelm", 0, 5000, 5000).int32(2);
    layers.int32(1).int32(1).int32(1).int32(1).int32(255).run(5000 * 5000, test::red);
    layers.int32(1).int32(1).int32(45);
    for (int k = 0; k < 45; ++k)
        layers.int32(1).int32(255).run(5000 * 5000, test::red);
    EXPECT_EQ(failureOf(decodeAnimationBytes, layers), ReadFailure::TooLarge);
}

TEST(HostileFiles, TheBudgetCountsEveryLayerOfEveryFrame) {
    // Three frames of 10 x 10, the second with two layers: four layers of 400 bytes of pixels,
    // each layer and frame with what it costs besides.
    constexpr uint64_t layer = 400 + layerOverheadBytes;
    Document doc(10, 10, 100.0);
    doc.insertFrameAfter(0);
    doc.frame(1).appendLayer();
    doc.insertFrameAfter(1);
    const auto bytes = encodeAnimation(doc, makePalette(smallPaletteSize));
    const uint64_t animation = 4 * layer + 3 * frameOverheadBytes;
    EXPECT_TRUE(decodeAnimation(bytes, animation));
    EXPECT_EQ(decodeAnimation(bytes, animation - 1).failure, ReadFailure::TooLarge);

    Document picture(10, 10, 0.0);
    picture.current().appendLayer();
    const auto pictureBytes = encodePicture(picture, makePalette(smallPaletteSize));
    EXPECT_TRUE(decodePicture(pictureBytes, 2 * layer + frameOverheadBytes));
    EXPECT_EQ(decodePicture(pictureBytes, 2 * layer + frameOverheadBytes - 1).failure,
              ReadFailure::TooLarge);
}

// Millions of 1 x 1 layers cost gigabytes in thumbnails and objects though their pixels are
// nothing: the counts have limits of their own, checked before anything is made, and the
// reason names the count and the limit. A document at the limits reads.
TEST(HostileFiles, CountsPastTheirLimitsAreRefusedByName) {
    const auto layersInPicture = [](int32_t layers, bool withRecords) {
        FileBuilder f;
        f.header("trnl", 0, 1, 1).int32(1).int32(layers).int32(layers);
        for (int32_t k = 0; withRecords && k < layers; ++k)
            f.int32(k + 1).int32(1).int32(255).run(1, test::red);
        return f;
    };
    const auto layersInFrame = [](int32_t layers, bool withRecords) {
        FileBuilder f;
        f.header("gelm", 0, 1, 1).int32(1).int32(10).int32(1).int32(layers);
        for (int32_t k = 0; k < (withRecords ? layers : 1); ++k)
            f.int32(1).int32(255).run(1, test::red);
        return f;
    };
    const auto frames = [](int32_t count, bool withRecords) {
        FileBuilder f;
        f.header("gelm", 0, 1, 1).int32(count);
        for (int32_t j = 0; j < (withRecords ? count : 1); ++j)
            f.int32(100).int32(1).int32(1).int32(1).int32(255).run(1, test::red);
        return f;
    };
    const struct {
        std::function<FileBuilder(int32_t, bool)> file;
        const Decoder* decode;
        int32_t limit;
        std::string (*reason)(int64_t);
    } cases[] = {{layersInPicture, &decodePictureBytes, maxLayersPerFrame, tooManyLayersText},
                 {layersInFrame, &decodeAnimationBytes, maxLayersPerFrame, tooManyLayersText},
                 {frames, &decodeAnimationBytes, maxFrames, tooManyFramesText}};
    for (const auto& c : cases) {
        EXPECT_TRUE((*c.decode)(c.file(c.limit, true).span())) << c.limit;
        for (int32_t count : {c.limit + 1, 1000000, INT_MAX}) {
            const auto read = (*c.decode)(c.file(count, false).span());
            EXPECT_EQ(read.failure, ReadFailure::TooLarge) << count;
            EXPECT_EQ(read.reason, c.reason(count));
        }
    }
    EXPECT_EQ(tooManyFramesText(300000), "Слишком много кадров: 300000, наибольшее число — 10000.");
}

TEST(DocumentFilePaths, OnlyARegularFileOfASaneSizeIsRead) {
    test::TempDir dir;
    const DocumentReadResult missing = readPictureFile(dir.file("missing.trnl"));
    EXPECT_EQ(missing.failure, ReadFailure::Unreadable);
    EXPECT_EQ(missing.reason, "Файл не удаётся прочитать: файл не найден.") << "says why";
    EXPECT_EQ(readAnimationFile(dir.path.string()).failure, ReadFailure::Unreadable);
    EXPECT_EQ(readPictureFile("/dev/zero").failure, ReadFailure::Unreadable); // endless

    test::writeBytes(dir.file("a.gelm"), std::string(600, 'x'));
    std::vector<uint8_t> bytes;
    EXPECT_EQ(readFileBytes(dir.file("a.gelm"), bytes, 599), ReadFailure::TooLarge);
    EXPECT_EQ(readFileBytes(dir.file("a.gelm"), bytes, 600), ReadFailure::None);
    EXPECT_EQ(bytes.size(), 600u);
    const auto read = readAnimationFile(dir.file("a.gelm"));
    EXPECT_EQ(read.failure, ReadFailure::WrongFormat);
    EXPECT_EQ(read.reason, "Это не файл формата gelum.");
}

} // namespace
} // namespace vork
