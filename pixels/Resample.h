// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Resampling a whole bitmap to a new size with one of the three interpolations of the picture
// size dialog.
//
// NearestNeighbor: every new pixel is an exact copy of the source pixel under its centre,
//   column floor((x + 0.5) * W / W') (likewise for rows); a centre that falls exactly on the
//   border of two source pixels takes the right (or lower) one. Doubling turns every pixel
//   into a 2 x 2 block.
// Bilinear: per axis, enlarging interpolates linearly between the two source pixels whose
//   centres are nearest to the new pixel's centre, at (x + 0.5) * W / W' - 0.5, the border
//   pixels repeated beyond the edge; when reducing, the triangle is widened to span every
//   source pixel a new pixel covers, so thin lines are averaged in rather than dropped.
// Bicubic: the same with the Catmull-Rom cubic through the four nearest source pixels. Being
//   interpolating, it keeps edges sharp, and overshoots a little next to a hard edge (clamped
//   to 0..255).
//
// The two filtered modes (stb_image_resize, in float) weight every colour by its alpha, so a
// transparent pixel lends no colour to its neighbours (no dark or foreign fringe along
// transparent edges), a constant area stays exactly constant, and every new pixel whose alpha
// ends at 0 is transparent black.
//
// Qt's own scaling is not used: both its fast and its smooth mode pass through 8-bit
// premultiplied colour, which changes translucent colours (alpha 1 white comes back as
// (254, 254, 254), a reduced area of (200, 100, 50) at alpha 128 as (199, 100, 50)) and
// blanks the colour of transparent pixels even in the nearest-neighbour mode.
#include "gfx/Bitmap.h"
#include "gfx/Graphics.h"

namespace vork {

// The source scaled to width x height; a null bitmap when a size is not positive, the source
// is null, or the memory for the result could not be had.
Bitmap resampled(const Bitmap& source, int width, int height, Interpolation interpolation);

} // namespace vork
