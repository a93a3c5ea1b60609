// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small texts kept as images. Laying out a text costs several times more than copying an image
// of it, and the frame strip draws two texts in every cell on every paint; each label is
// rendered once onto its own plain background and then copied, pixel for pixel what drawing
// the text there directly gives.
#include "gfx/Graphics.h"

#include <string>
#include <unordered_map>

namespace vork {

class LabelCache {
  public:
    // Draws `text` in the small font, vertically centred and aligned as asked in r, over r
    // filled with `background` (the caller's background there, which the label covers).
    void draw(Graphics& g, Rect r, const std::string& text, Color background, Color ink,
              Align align);

    size_t size() const { return images_.size(); }

  private:
    // Enough for every label a window of cells shows many times over; beyond it the images
    // are dropped and made again as they are needed.
    static constexpr size_t maxImages = 1024;
    std::unordered_map<std::string, Bitmap> images_;
};

} // namespace vork
