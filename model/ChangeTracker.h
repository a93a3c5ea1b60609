// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What changed in an image, and when. Everything derived from a layer's pixels (its
// reductions, the Painter's layer caches, the undo history, the transparency lock) remembers
// the revision it was last brought up to date with and asks what changed since, so that it
// updates only that rectangle.
//
// Writers report the rectangle they touched through an ImageEdit around their writes. Pixels
// written without a report are noticed all the same through the bitmap's content key, and
// count as a change of the whole image: a missing report costs time, never correctness.
#include "gfx/Bitmap.h"
#include "gfx/Geometry.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vork {

class ChangeTracker {
  public:
    // Grows by one with every change noticed.
    uint64_t revision(const Bitmap& image) const;
    // The part of the image changed after revision `since`, within the image; empty when
    // nothing changed since. Older changes are kept as coarser rectangles, never forgotten.
    Rect changedSince(const Bitmap& image, uint64_t since) const;

  private:
    friend class ImageEdit;
    // Writes nobody reported become a change of the whole image.
    void notice(const Bitmap& image) const;
    // The writes since the last notice lie inside r (none at all when r is empty).
    void report(const Bitmap& image, Rect r);
    void append(Rect r) const;

    struct Entry {
        uint64_t revision; // the last change the rectangle holds
        Rect rect;
    };
    static constexpr size_t maxEntries = 32;
    // The tracker and the derived data it serves are caches of the image: noticing a write is
    // not a change of the tracked object, so it happens in const reads too.
    mutable uint64_t revision_ = 0;
    mutable uint64_t accountedKey_ = 0; // the content key when the last change was accounted for
    mutable bool keyKnown_ = false;
    mutable std::vector<Entry> entries_;
};

// Brackets writes whose rectangle the writer knows:
//
//     ImageEdit edit(layer.image, layer.changes);
//     ... write pixels ...
//     edit.touched(rectangle); // every written pixel lies inside; may be called again
//
// Unreported writes made before the edit are noticed first. An edit that is told no rectangle
// reports nothing, so whatever it wrote counts as a change of the whole image; one told an
// empty rectangle says that no pixel changed.
class ImageEdit {
  public:
    ImageEdit(const Bitmap& image, ChangeTracker& changes);
    ~ImageEdit();
    ImageEdit(const ImageEdit&) = delete;
    ImageEdit& operator=(const ImageEdit&) = delete;

    void touched(Rect r);

  private:
    const Bitmap& image_;
    ChangeTracker& changes_;
    Rect touched_;
    bool told_ = false;
};

} // namespace vork
