// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A copy of a document for another thread to read while the program goes on changing the
// original. Frames and layers are new records, but every layer's pixels are shared with the
// original: the images are copy-on-write, so neither side sees the other's later changes, and
// the copy costs next to nothing however large the layers are. The first change of a shared
// layer after the copy was made copies that layer's pixels once.
//
// The copy holds what the document files hold: sizes, delays, flags, ids, counters and pixels.
// Its thumbnails are empty and its serials are its own.
#include "model/Document.h"

#include <memory>

namespace vork {

std::unique_ptr<Document> sharedPixelCopy(const Document& document);

} // namespace vork
