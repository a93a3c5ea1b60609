#pragma once
// How large a document may be: the sides a new document may have, and how many bytes of
// decoded pixels a document read from a file may need.
#include <cstdint>

namespace vork {

inline constexpr int minDocumentSide = 1;
inline constexpr int maxDocumentSide = 5000;

inline constexpr bool validDocumentSide(int side) {
    return side >= minDocumentSide && side <= maxDocumentSide;
}

// A few bytes of run-length data can describe a huge document, so a reader refuses a file whose
// layers together (frames x layers x width x height x 4 bytes) would need more than this.
inline constexpr uint64_t maxDecodedPixelBytes = uint64_t(4) << 30; // 4 GiB

} // namespace vork
