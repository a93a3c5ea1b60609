// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The image of a frame as the exports write it: its layers composed with their opacity.
//
// Why a second composition beside model/Composite: the display's layer caches and onion skin
// are composed in premultiplied colour, row by row with vector instructions, where a
// translucent colour may come out a step off; a file must get exact colours (a pixel drawn
// onto transparency comes through unchanged), so the exports compose in plain colour here.
#include "gfx/Bitmap.h"
#include "model/Document.h"

namespace vork {

// With single-layer view on, one layer is shown alone instead of every visible layer.
enum class SingleLayerView { Off, On };

// A transparent width x height image onto which the chosen layers of the frame are drawn at
// (0, 0), bottom first, source-over: with the view off every visible layer, with it on only
// the layer at `viewedLayer` (none when that is no layer of the frame), visible or not. Each
// layer's alpha is first multiplied by opacity / 255, truncated, wherever it is not 0. The
// blend is exact to rounding on plain (not premultiplied) colour: a pixel drawn onto a
// transparent one comes through unchanged, and one whose alpha ends at 0 draws nothing.
Bitmap composeLayers(const Frame& frame, int width, int height, SingleLayerView view,
                     int viewedLayer);

// The composite of the picture's one frame at the picture's size.
Bitmap composePicture(const Document& picture, SingleLayerView view, int viewedLayer);

} // namespace vork
