// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What reading a picture or animation file gives: a new document with the palette colours the
// file holds, or the reason it could not be read. The reader never touches the document being
// edited; the caller replaces its document (and palette colours) only on success.
#include "model/Document.h"
#include "model/Palette.h"

#include <memory>
#include <string>
#include <vector>

namespace vork {

enum class DocumentFileFormat { Picture, Animation }; // ".trnl" and ".gelm"

enum class ReadFailure {
    None,
    WrongFormat, // the file does not begin with the format's four letters
    Truncated,   // the file ends before the data it announces
    Damaged,     // a value no writer produces: a run that does not advance, a count of 0, ...
    TooLarge,    // a side beyond the limit, more decoded pixels than the memory budget allows
    Unreadable,  // missing, not a regular file, or the read failed
    Cancelled,   // the progress callback asked to stop
};

// The short Russian reason shown to the user, UTF-8; empty for None.
std::string readFailureText(ReadFailure failure, DocumentFileFormat format);

// The reasons for a count past its limit (model/Limits.h), naming the count and the limit.
std::string tooManyFramesText(int64_t frames);
std::string tooManyLayersText(int64_t layers);

struct DocumentReadResult {
    // The new document, its current frame and layers as after a read: for a picture the last
    // layer read; for an animation the last frame, and in each frame its last layer. Null on
    // failure. Thumbnails are only backdrops: see rebuildThumbnailsAfterRead.
    std::unique_ptr<Document> document;
    // The file's palette block: smallPaletteSize entries, ids 0.. in order. Empty on failure.
    std::vector<PaletteEntry> smallPalette;
    ReadFailure failure = ReadFailure::None;
    std::string reason; // readFailureText of the failure

    explicit operator bool() const { return document != nullptr; }

    // `why` is what the system said of an Unreadable file ("файл не найден"), added to the
    // reason.
    static DocumentReadResult failed(ReadFailure failure, DocumentFileFormat format,
                                     const std::string& why = {});
};

// Rebuilds what a read leaves out because it is drawing, not reading: every layer's 30 x 30
// thumbnail, and for an animation every frame's 55 x 50 one.
void rebuildThumbnailsAfterRead(Document& document, DocumentFileFormat format);

} // namespace vork
