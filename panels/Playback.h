// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Playback of the animation: each frame is shown for its own delay, forwards or backwards,
// once or in a loop, with switched-off frames skipped. There is no timer: while playing, every
// Animator paint asks for the next one and compares the millisecond tick with the time the
// next frame is due.
#include "ui/Editor.h"

#include <cstdint>

namespace vork {

// Whether the tick `now` has reached `due`. The tick counter wraps round about every 49 days;
// the comparison holds across the wrap for any due time within 24 days of now.
bool tickReached(uint32_t now, uint32_t due);

// A frame's delay as ticks: truncated, with negative and NaN delays as 0 and the longest
// capped at 24 days, so the due time always stays comparable.
uint32_t delayTicks(double milliseconds);

// The stop and play buttons: the playback state becomes `state`. Stopping (even when already
// stopped) marks the preview stale and rebuilds the onion skin, which playback leaves alone.
void setPlayState(Editor& e, PlayState state);

// The space bar: forwards when stopped, stop when playing.
void togglePlayback(Editor& e);

// Once per Animator paint with an animation, after the toolbar: a one-frame animation is
// stopped; while playing, the next frame is shown once the current one's delay has passed, and
// the next paint is asked for.
void playbackFrame(Editor& e);

} // namespace vork
