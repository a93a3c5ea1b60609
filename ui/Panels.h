// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The screen regions of the Animator, each with its background image.
#include "gfx/Bitmap.h"
#include "gfx/Geometry.h"

namespace vork {

// A screen region of the Animator: its current rectangle, the rectangle it was made with (the
// lower bounds of the layout) and its background image, rendered when the layout changes.
struct Panel {
    Panel(Rect initial)
        : x(initial.x), y(initial.y), width(initial.w), height(initial.h), minX(initial.x),
          minY(initial.y), minWidth(initial.w), minHeight(initial.h) {}
    int x, y, width, height;
    int minX, minY, minWidth, minHeight;
    Bitmap image; // RGB, width x height
    Rect rect() const { return {x, y, width, height}; }
    // Moves the panel and gives it a new background image of its size, to be rendered; false
    // when the panel already stands there with its background rendered, which then stays (a
    // background depends on the panel's rectangle alone).
    bool place(Rect r) {
        if (!image.isNull() && rect() == r)
            return false;
        x = r.x;
        y = r.y;
        width = r.w;
        height = r.h;
        image = Bitmap(r.w, r.h, PixelFormat::Rgb);
        return true;
    }
};

struct Panels {
    Panel commandBar{{0, 0, 92, 399}};
    Panel right{{493, 0, 220, 399}};
    Panel canvas{{92, 0, 401, 327}};
    Panel palette{{92, 327, 401, 72}};
    Panel picker{{102, 67, 381, 250}};
    Panel frame{{0, 399, 673, 95}};
};

} // namespace vork
