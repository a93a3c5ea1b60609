// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/Playback.h"

#include "commands/FrameCommands.h"

#include <algorithm>

namespace vork {

namespace {

// Plays on to the next switched-on frame and keeps it for its delay; stops when there is none.
void advance(Editor& e, Document& animation, uint32_t now) {
    const Direction direction =
        e.animator.playState == PlayState::Forward ? Direction::Forward : Direction::Backward;
    const Wrap wrap = e.animator.strip.loopPlayback ? Wrap::Around : Wrap::Stop;
    const int before = animation.currentFrameIndex();
    if (!animation.stepToEnabledFrame(direction, wrap)) {
        setPlayState(e, PlayState::Stopped);
        return;
    }
    e.animator.strip.nextFrameTime = now + delayTicks(animation.current().delay);
    if (animation.currentFrameIndex() != before)
        scrollToCurrentFrame(e);
}

// The due time is kept from the last playback, so a quick restart waits out the frame's time.
// One further ahead than the current frame's delay could have put it is left from long ago
// (the tick has come round since, or it is still the 0 of the start): playback starts at once.
void forgetStaleDueTime(Editor& e, const Document& animation) {
    const uint32_t now = e.platform.tickCount();
    uint32_t& due = e.animator.strip.nextFrameTime;
    if (!tickReached(now, due) && due - now > delayTicks(animation.current().delay))
        due = now;
}

} // namespace

bool tickReached(uint32_t now, uint32_t due) {
    // The difference read as signed: at or after `due` when it is not negative.
    return int32_t(now - due) >= 0;
}

uint32_t delayTicks(double milliseconds) {
    constexpr double longest = 24.0 * 24 * 60 * 60 * 1000;
    if (!(milliseconds > 0)) // negative, zero or NaN
        return 0;
    return uint32_t(std::min(milliseconds, longest));
}

void setPlayState(Editor& e, PlayState state) {
    if (e.animator.playState == PlayState::Stopped && state != PlayState::Stopped && e.animation())
        forgetStaleDueTime(e, *e.animation());
    e.animator.playState = state;
    if (state == PlayState::Stopped && e.animation()) {
        ModeState& m = e.mode(Mode::Animator);
        m.previewUpToDate = false;
        rebuildShownOnionSkin(e);
    }
    e.requestRepaint();
}

void togglePlayback(Editor& e) {
    setPlayState(e, e.animator.playState == PlayState::Stopped ? PlayState::Forward
                                                               : PlayState::Stopped);
}

void playbackFrame(Editor& e) {
    Document* animation = e.animation().get();
    if (!animation)
        return;
    if (animation->frameCount() == 1)
        e.animator.playState = PlayState::Stopped;
    if (e.animator.playState == PlayState::Stopped)
        return;
    const uint32_t now = e.platform.tickCount();
    if (tickReached(now, e.animator.strip.nextFrameTime))
        advance(e, *animation, now);
    if (e.animator.playState != PlayState::Stopped)
        e.requestRepaint();
}

} // namespace vork
