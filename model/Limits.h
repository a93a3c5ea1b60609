// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The largest documents the program makes or reads. A side outside 1..5000 pixels is refused
// everywhere: by the new-document dialogs, the file readers, the image import and the size
// dialogs. The pixel budget keeps a file of a few bytes from asking for more memory than the
// machine has: a reader refuses a document whose decoded layers (frames x layers x width x
// height x 4 bytes) would pass it, before it allocates anything.
#include <cstdint>

namespace vork {

inline constexpr int minDocumentSide = 1;
inline constexpr int maxDocumentSide = 5000;

inline constexpr bool validDocumentSide(int64_t side) {
    return side >= minDocumentSide && side <= maxDocumentSide;
}

inline constexpr uint64_t maxDecodedBytes = uint64_t(4) << 30; // 4 GiB of layer pixels

} // namespace vork
