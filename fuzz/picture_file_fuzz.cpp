// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the picture file reader (see DocumentFuzzChecks.h).
#include "DocumentFuzzChecks.h"
#include "files/PictureFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vork;
    fuzz::checkDocumentFile(
        std::span<const uint8_t>(data, size), DocumentFileFormat::Picture,
        [](std::span<const uint8_t> b, uint64_t budget) { return decodePicture(b, budget); },
        [](const Document& d, const std::vector<PaletteEntry>& p) { return encodePicture(d, p); });
    return 0;
}
