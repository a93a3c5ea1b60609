// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The frame commands of the Animator's frame strip and what follows each of them. Every one
// needs an animation and does nothing without one.
//
// After a command that makes another frame current, the single-layer view follows to that
// frame's current layer, the onion skin (when shown) is rebuilt from the frame before it and a
// repaint is asked for. The preview is left to the undo history, which starts afresh on the
// new frame's layer once playback is stopped; duplicating, moving and switching frames on or
// off mark it stale themselves. Remembered frames and layers are kept by
// serial, so a deleted or moved frame is never pointed at afterwards.
#include "ui/Editor.h"

#include <cstdint>

namespace vork {

// The onion skin, when it is switched on, rebuilt for the current frame.
void rebuildShownOnionSkin(Editor& e);

// Scrolls the strip so the current frame's cell lies wholly inside the window.
void scrollToCurrentFrame(Editor& e);

// Removes the current frame, only when it is switched on; the last frame stays.
void deleteFrame(Editor& e);
// A new empty frame after the current one, current with its thumbnails built.
void newFrame(Editor& e);
// A new frame after the current one with a copy of each of its layers (pixels, visibility and
// opacity) and the default delay.
void duplicateFrame(Editor& e);
// The frame at `index` becomes current; nothing happens when it already is. The strip is not
// scrolled: the first and last buttons scroll it, a press on a cell does not.
void goToFrame(Editor& e, int index);
// The Z and X keys and buttons: to the previous or next switched-on frame, round the ends.
void stepFrame(Editor& e, Direction direction);
// Every frame switched on.
void enableAllFrames(Editor& e);
// The frame at `index` switched off or on.
void toggleFrameEnabled(Editor& e, int index);

// Moves the frame with serial `frame` into the gap before the frame now at `gap` (the end of
// the list for frameCount()). It stays the same frame, with its delay, switch, layers and
// current layer, and becomes current. False, with nothing changed, when no such frame exists.
bool moveFrameToGap(Editor& e, uint64_t frame, int gap);

} // namespace vork
