// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What only the Painter keeps.
#include "gfx/Bitmap.h"
#include "model/Composite.h"

namespace vork {

// The Painter renders the backgrounds of its bar and column once per layout, like the
// Animator's panel images.
struct PainterBackgrounds {
    Bitmap commandBar, column;
    // The window's client size they were rendered for: the Painter's layout follows from it.
    int clientWidth = -1, clientHeight = -1;
};

struct PainterState {
    // The composed layers below and above the current one, which the canvas draws around it.
    LayerCaches caches;
    PainterBackgrounds backgrounds;
};

} // namespace vork
