// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the image import: the GIF frames import and the single-image load.
// Whatever the bytes, a result is either a document or image within the size limits, or a
// failure with its reason; never both, never neither.
#include "files/ImageImport.h"
#include "model/Limits.h"

#include <cstdlib>

namespace {

using namespace vork;

void require(bool holds) {
    if (!holds)
        std::abort();
}

void checkImported(const ImportedDocument& imported) {
    require(bool(imported) == imported.outcome.ok());
    if (!imported)
        return;
    const Document& d = *imported.document;
    require(validDocumentSide(d.width) && validDocumentSide(d.height));
    require(d.frameCount() >= 1);
    for (const Frame& frame : d.frames()) {
        // A GIF delay of 2 hundredths or more is kept; shorter ones and other images last 100 ms.
        require(frame.enabled && frame.delay >= 20 && frame.delay <= 655350 &&
                frame.layerCount() == 1);
        const Bitmap& image = frame.layer(0).image;
        require(image.width() == d.width && image.height() == d.height);
    }
}

void checkLoaded(const LoadedImage& loaded) {
    require(bool(loaded) == loaded.outcome.ok());
    if (loaded)
        require(validDocumentSide(loaded.image.width()) &&
                validDocumentSide(loaded.image.height()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    checkImported(importGifBytes(bytes));
    checkLoaded(loadImageBytes(bytes));
    return 0;
}
