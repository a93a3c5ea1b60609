// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reductions of an image kept between paints, so that drawing a big picture small (the canvas
// below 100 %, the preview, the thumbnails) costs what is drawn, not what the picture holds.
//
// Level k (1 <= k <= maxLevel) averages each block of 2^k x 2^k pixels into one, in
// premultiplied colour: every pixel's red, green and blue are first multiplied by its alpha
// / 255 (rounded), then each channel is summed over the block and divided by the number of
// pixels, rounded once. That is the exact box average, also where a block is cut by the
// right or bottom edge of the image (it averages the pixels it has). A level is made the
// first time it is asked for and afterwards updated only in the rectangle the image's
// ChangeTracker reports as changed; all levels are computed from the image itself, so a
// level is the same whether it was made at once or kept up to date through many changes.
#include "gfx/Bitmap.h"
#include "model/ChangeTracker.h"

#include <array>
#include <cstdint>

namespace vork {

class Reductions {
  public:
    static constexpr int maxLevel = 7;

    // Level k of the image, up to date with what `changes` reports: a premultiplied bitmap of
    // levelExtent(width, k) x levelExtent(height, k). Null for a null image or k outside
    // 1..maxLevel.
    const Bitmap& level(const Bitmap& image, const ChangeTracker& changes, int k);

    // The pixels a side of `size` has at level k: size / 2^k rounded up.
    static int levelExtent(int size, int k) { return size <= 0 ? 0 : ((size - 1) >> k) + 1; }

    // The coarsest level whose blocks are no wider than `ratio` image pixels, the number of
    // image pixels that go into one drawn pixel: 0 (the image itself) below a ratio of 2.
    static int levelFor(double ratio);

    // The image drawn reduced at one placement (target and source of drawKeptReduced), kept
    // between paints with the revision of the image it shows, so that a paint that shows the
    // same part at the same zoom redraws only the rows a change reaches.
    struct KeptView {
        RectF target, source;
        int imageWidth = 0, imageHeight = 0;
        uint64_t revision = 0;
        Bitmap pixels; // premultiplied; null while nothing is kept
    };
    KeptView& keptView() { return view_; }

  private:
    void bringUpToDate(const Bitmap& image, const ChangeTracker& changes);
    // Recomputes the levels in `levels` (bit k for level k) over the blocks that meet r.
    void compute(const Bitmap& image, Rect r, unsigned levels);

    std::array<Bitmap, maxLevel + 1> levels_; // index 0 unused
    unsigned made_ = 0;                       // bit k: level k exists and is kept up to date
    uint64_t revision_ = 0;                   // the image's revision the levels show
    int width_ = 0, height_ = 0;              // the image size the levels were made for
    KeptView view_;
};

} // namespace vork
