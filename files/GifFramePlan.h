// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which part of each frame an animated GIF stores, and how each frame is cleared away after it
// has shown.
//
// A GIF viewer keeps one canvas: each frame is drawn over it, its transparent pixels letting the
// canvas show through, and after the frame's delay the frame is either kept or its rectangle is
// cleared to transparency. So a frame need store only the rectangle in which it differs from the
// canvas, with the pixels the canvas already shows left transparent. The one change a frame
// cannot draw is a pixel going from a colour to transparency: such pixels are cleared by the
// frame before, whose rectangle grows to cover them and whose disposal becomes a clear.
#include "gfx/Bitmap.h"
#include "gfx/Geometry.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace vork {

// A frame as a GIF can show it: width x height pixels row by row, each either transparent (0)
// or an opaque colour 0xFFRRGGBB.
struct GifFramePixels {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;

    uint32_t at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    const uint32_t* row(int y) const { return pixels.data() + size_t(y) * size_t(width); }
};

inline constexpr uint32_t gifTransparent = 0;

// The composite cut at alpha 128: a pixel below it becomes transparent, one from it on opaque
// with its own colour.
GifFramePixels cutToGifPixels(const Bitmap& composite);

enum class GifDisposal { Keep, Clear };

// One frame as it is stored: the pixels of `rect` where target and canvas differ are drawn in the
// target's colour, the others are left transparent. Wherever the target is transparent, so is
// the canvas.
struct PlannedGifFrame {
    int index = 0;                          // 0-based, in the order the frames were added
    const GifFramePixels* target = nullptr; // what the viewer shows once the frame is drawn
    const GifFramePixels* canvas = nullptr; // what it shows before
    Rect rect;                              // never empty, inside the screen
    GifDisposal disposal = GifDisposal::Keep;

    bool stored(int x, int y) const { return target->at(x, y) != canvas->at(x, y); }
};

// Plans the frames of one animation, all of one size, in order. A frame is handed on once the
// next one is known, since that decides its disposal. The first frame is planned on a
// transparent canvas, as viewers begin every round of the loop; the last is cleared as the first
// needs, so that a viewer which keeps the canvas between rounds shows the first frame right too.
class GifFramePlanner {
  public:
    // Receives each planned frame; false stops the planning.
    using Emit = std::function<bool(const PlannedGifFrame&)>;

    GifFramePlanner(int width, int height, Emit handOn);
    // Adds the next frame; false when the frame before it was handed on and refused.
    bool add(GifFramePixels target);
    // Hands on the last frame; false when it was refused or no frame was added.
    bool finish();

  private:
    bool settle(const GifFramePixels& next);

    int width, height;
    Emit handOn;
    int added = 0;
    GifFramePixels first;  // kept for the last frame's disposal
    GifFramePixels target; // the frame waiting to be handed on
    GifFramePixels canvas; // what the viewer shows before drawing it
    Rect changed;          // where the two differ; may be empty
};

// The smallest rectangle holding every pixel that differs between a and b; empty when none does.
Rect differingRect(const GifFramePixels& a, const GifFramePixels& b);
// The smallest rectangle holding every pixel opaque in `before` and transparent in `after`.
Rect vanishingRect(const GifFramePixels& before, const GifFramePixels& after);

} // namespace vork
