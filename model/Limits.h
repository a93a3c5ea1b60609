#pragma once
// The largest documents and decoded images the program accepts, shared by the file readers,
// the image import and the operations that resize documents.
#include <cstdint>

namespace vork {

// Every side of a document, in pixels.
inline constexpr int minDocumentSide = 1, maxDocumentSide = 5000;

// The most pixel memory one decoded file or one resized document may take, in bytes: a few
// bytes of a file can describe far more pixels than the machine holds.
inline constexpr int64_t maxDecodedBytes = int64_t(4) << 30;

} // namespace vork
