// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Merging the frames of another animation into the current one.
//
// The other animation arrives already read in full, so a file that could not be read never
// gets this far and changes nothing.
#include "gfx/Geometry.h"
#include "model/Document.h"
#include "pixels/EditResult.h"

namespace vork {

// The three places of the merge dialog.
enum class MergePlace { AtBeginning, AtEnd, AfterFrame };

// The index before which the merged frames go: 0 at the beginning, the frame count at the end,
// and after frame number n (1-based) the index n, kept within 0..frameCount (so 0 is the same
// as the beginning, and a negative n as well).
int mergePosition(MergePlace place, int frameNumber, int frameCount);

// Where the merged animation's top-left pixel lands in the current one: per axis
// size / 2 - (mergedSize div 2), truncated toward zero, so a smaller animation is centred and a
// larger one cropped round its centre. 50 x 40 into 300 x 264 lands at (125, 112).
Point mergeOffset(int width, int height, int mergedWidth, int mergedHeight);

// Inserts a copy of every frame of `merged` before the frame at index `position` (clamped to
// 0..frameCount). Each merged frame has the current animation's size and keeps its own delay,
// enabled flag and layers, with their visibility, opacity and pixels (placed at mergeOffset,
// unchanged); its layers get the ids 1..N, its top layer is current, and its thumbnails are
// built. The last merged frame becomes current. The current animation's default delay and
// everything outside the frames (the palette among them) are left alone.
//
// Refused with TooLarge, changing nothing, when the merged layers would pass the memory budget
// or could not be allocated; SizeOutOfRange when the current animation's size is outside the
// limits.
EditResult mergeAnimation(Document& animation, const Document& merged, int position);

} // namespace vork
