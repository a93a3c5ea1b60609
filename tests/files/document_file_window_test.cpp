// SPDX-License-Identifier: GPL-3.0-or-later
// Picture and animation files read through a window of bounded size: whatever the window and
// whatever the bytes, the read gives what decoding the same bytes in memory gives, and a file
// changed between the check of its runs and their decoding is refused, not half believed.
#include "DocumentFileTestSupport.h"
#include "files/AnimationFile.h"
#include "files/DocumentFileBlocks.h"
#include "files/PictureFile.h"
#include "support/PixelChecks.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vork {
namespace {

using test::FileBuilder;

DocumentReadResult decodeInMemory(std::span<const uint8_t> bytes, DocumentFileFormat format) {
    return format == DocumentFileFormat::Picture ? decodePicture(bytes) : decodeAnimation(bytes);
}

DocumentReadResult readThroughWindow(const std::string& path, DocumentFileFormat format,
                                     size_t windowBytes) {
    FileInput in(windowBytes);
    std::string why;
    if (auto f = in.open(path, maxDocumentFileBytes, why); f != ReadFailure::None)
        return DocumentReadResult::failed(f, format, why);
    return format == DocumentFileFormat::Picture ? decodePicture(in, maxDecodedBytes)
                                                 : decodeAnimation(in, maxDecodedBytes);
}

void expectSameRead(const DocumentReadResult& file, const DocumentReadResult& memory,
                    DocumentFileFormat format) {
    ASSERT_EQ(file.failure, memory.failure);
    EXPECT_EQ(file.reason, memory.reason);
    if (memory) {
        test::expectReadBack(*memory.document, *file.document, format);
        test::expectSameColours(file.smallPalette, memory.smallPalette);
    }
}

TEST(DocumentFileWindow, AnyWindowReadsAFileAsItsBytesDecodeInMemory) {
    test::TempDir dir;
    const std::string path = dir.file("f");
    for (const auto format : {DocumentFileFormat::Picture, DocumentFileFormat::Animation}) {
        std::mt19937 rng(11);
        const auto palette = test::randomPalette(rng);
        const std::vector<uint8_t> valid =
            format == DocumentFileFormat::Picture
                ? encodePicture(*test::randomPicture(rng, 5, 3), palette)
                : encodeAnimation(*test::randomAnimation(rng, 4, 3, 2), palette);
        // A truncation every 7 bytes (so at every place within a run), a trailing byte, and a
        // byte made 0xFF every 13 bytes (counts, flags, run ends and colours alike).
        std::vector<std::vector<uint8_t>> files;
        for (size_t n = 0; n < valid.size(); n += 7)
            files.emplace_back(valid.begin(), valid.begin() + std::ptrdiff_t(n));
        files.push_back(valid);
        files.back().push_back(0);
        for (size_t at = 0; at < valid.size(); at += 13) {
            files.push_back(valid);
            files.back()[at] = 0xFF;
        }
        for (const auto& bytes : files) {
            test::writeBytes(path, std::string(bytes.begin(), bytes.end()));
            const DocumentReadResult memory = decodeInMemory(bytes, format);
            for (size_t window : {size_t(1), size_t(9), size_t(4096)}) {
                SCOPED_TRACE(testing::Message() << bytes.size() << " bytes, window " << window);
                expectSameRead(readThroughWindow(path, format, window), memory, format);
            }
        }
        EXPECT_TRUE(decodeInMemory(valid, format)) << "the comparisons include a document";
    }
}

// A 2 x 2 picture of three layers of one run each; the run end of layer k lies at runEndAt(k).
FileBuilder threeLayers() {
    FileBuilder f;
    f.header("trnl", 0, 2, 2).int32(1).int32(3).int32(3);
    for (int k = 0; k < 3; ++k)
        f.int32(k + 1).int32(1).int32(255).run(4, test::red);
    return f;
}
constexpr size_t runEndAt(int k) {
    return headerBytes + paletteBlockBytes + 12 + size_t(k) * 20 + 12;
}

TEST(DocumentFileWindow, AFileChangedWhileItIsBuiltIsDamaged) {
    struct Change {
        const char* what;
        std::function<void(const std::string&)> apply;
    };
    const std::vector<Change> changes{
        {"a run end of the last layer no longer advances",
         [](const std::string& path) {
             std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
             f.seekp(std::streamoff(runEndAt(2)));
             f.write("\0\0\0\0", 4);
         }},
        {"the last layer ends earlier",
         [](const std::string& path) {
             std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
             f.seekp(std::streamoff(runEndAt(2)));
             f.write("\1\0\0\0", 4);
         }},
        {"the file was cut short",
         [](const std::string& path) { std::filesystem::resize_file(path, runEndAt(2)); }},
    };
    test::TempDir dir;
    const std::string path = dir.file("p.trnl");
    for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        const FileBuilder file = threeLayers();
        test::writeBytes(path, std::string(file.bytes.begin(), file.bytes.end()));
        ASSERT_TRUE(readPictureFile(path));
        // The first layer built: the scan accepted every run, the rest are still to come.
        const DocumentReadResult read = readPictureFile(path, [&](int done, int) {
            if (done == 1)
                change.apply(path);
            return true;
        });
        EXPECT_FALSE(read);
        EXPECT_EQ(read.failure, ReadFailure::Damaged);
        EXPECT_EQ(read.reason, readFailureText(ReadFailure::Damaged, DocumentFileFormat::Picture));
    }
}

} // namespace
} // namespace vork
