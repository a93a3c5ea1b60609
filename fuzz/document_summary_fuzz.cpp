// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes, as a file, to the windowed document reader: its facts must be those of
// the whole-file reader, and it must refuse what that reader refuses, with the same reason; and
// to the picture and animation readers, which must read it as they decode its bytes in memory.
#include "DocumentFuzzChecks.h"
#include "files/AnimationFile.h"
#include "files/DocumentFileBlocks.h"
#include "files/DocumentSummary.h"
#include "files/PictureFile.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

using namespace vork;

void compare(const DocumentSummary& s, const DocumentReadResult& whole) {
    if (!whole) {
        // The whole read refuses small budgets the window does not have: only a failure of
        // the bytes themselves must be the same.
        if (whole.failure != ReadFailure::TooLarge)
            fuzz::require(s.failure == whole.failure && s.reason == whole.reason,
                          "the window refuses the bytes otherwise than the whole read");
        return;
    }
    fuzz::require(bool(s), "the window refuses a file the whole read takes");
    const Document& d = *whole.document;
    fuzz::require(s.width == d.width && s.height == d.height && s.defaultDelay == d.defaultDelay &&
                      int(s.frames.size()) == d.frameCount(),
                  "the window tells another size or frame count");
    for (int j = 0; j < d.frameCount(); ++j) {
        const FrameSummary& f = s.frames[size_t(j)];
        fuzz::require(f.delay == d.frame(j).delay && f.enabled == d.frame(j).enabled &&
                          int(f.layers.size()) == d.frame(j).layerCount(),
                      "the window tells another frame");
    }
}

// The file read through a window small enough that runs and fields straddle its edges must
// give exactly what decoding its bytes in memory gives.
void compareWindowed(const std::string& path, DocumentFileFormat format,
                     const DocumentReadResult& memory) {
    FileInput in(61);
    std::string why;
    fuzz::require(in.open(path, maxDocumentFileBytes, why) == ReadFailure::None,
                  "the scratch file cannot be opened");
    const DocumentReadResult read = format == DocumentFileFormat::Picture
                                        ? decodePicture(in, fuzz::fuzzPixelBudget)
                                        : decodeAnimation(in, fuzz::fuzzPixelBudget);
    fuzz::require(read.failure == memory.failure && read.reason == memory.reason,
                  "the windowed read refuses otherwise than the read in memory");
    if (memory)
        fuzz::requireSameDocument(read, memory);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("vork-summary-fuzz-" + std::to_string(::getpid())))
                                 .string();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    const DocumentReadResult animation = decodeAnimation(bytes, fuzz::fuzzPixelBudget);
    const DocumentReadResult picture = decodePicture(bytes, fuzz::fuzzPixelBudget);
    compare(summariseDocumentFile(path, DocumentFileFormat::Animation), animation);
    compare(summariseDocumentFile(path, DocumentFileFormat::Picture), picture);
    compareWindowed(path, DocumentFileFormat::Animation, animation);
    compareWindowed(path, DocumentFileFormat::Picture, picture);
    if (animation) {
        // Small enough to decode whole: so is any one frame of it.
        const AnimationFrameRead one = readAnimationFrame(path, 1);
        fuzz::require(bool(one.read) && one.read.document->frame(0).layerCount() ==
                                            animation.document->frame(0).layerCount(),
                      "the first frame alone differs");
    }
    std::filesystem::remove(path);
    return 0;
}
