// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/FrameCommands.h"

#include "model/Composite.h"
#include "model/Limits.h"
#include "ui/DocumentChanges.h"
#include "ui/Layout.h"

#include <algorithm>

namespace vork {

namespace {

ModeState& animator(Editor& e) {
    return e.mode(Mode::Animator);
}

// What every change of the current frame by the strip ends in. The frame's thumbnails are
// rebuilt only where the command asks for it.
enum class Thumbnails { Keep, Rebuild };

void currentFrameChanged(Editor& e, Thumbnails thumbnails) {
    ModeState& m = animator(e);
    Document& animation = *m.document;
    if (m.layers.singleLayerView)
        m.layers.viewedLayer = animation.currentLayer().serial;
    if (thumbnails == Thumbnails::Rebuild)
        refreshCurrentThumbnails(animation);
    rebuildShownOnionSkin(e);
    e.requestRepaint();
}

// After frames were switched on or off: the onion skin's source may be another frame now.
void enabledFlagsChanged(Editor& e) {
    rebuildShownOnionSkin(e);
    animator(e).previewUpToDate = false;
    e.requestRepaint();
}

} // namespace

void rebuildShownOnionSkin(Editor& e) {
    ModeState& m = animator(e);
    if (!m.document || !e.animator.onion.on)
        return;
    rebuildOnionSkin(*m.document, e.animator.onion, m.layers.singleLayerView);
    // The canvas rebuilds it when the frame it shows changes; this one is up to date.
    e.animator.onionRememberedFrame = m.document->current().serial;
}

void scrollToCurrentFrame(Editor& e) {
    if (!e.animation())
        return;
    const FrameStripLayout strip = layoutOf(e, Mode::Animator).strip;
    int& scroll = e.animator.strip.stripScroll;
    const Rect cell = frameCellRect(strip, e.animation()->currentFrameIndex(), scroll);
    if (cell.x < 0)
        scroll += cell.x;
    else if (cell.x + cell.w > strip.shownWidth)
        scroll += std::min(cell.x, cell.x + cell.w - strip.shownWidth);
}

void deleteFrame(Editor& e) {
    Document* animation = e.animation().get();
    if (!animation || !animation->current().enabled || animation->frameCount() <= 1)
        return;
    animation->deleteCurrentFrame();
    animation->renumberFrames();
    markDocumentChanged(e, Mode::Animator);
    scrollToCurrentFrame(e);
    currentFrameChanged(e, Thumbnails::Keep);
}

// Past the most frames a file may hold, the animation could not be opened again.
bool roomForFrame(const Document* animation) {
    return animation && animation->frameCount() < maxFrames;
}

void newFrame(Editor& e) {
    Document* animation = e.animation().get();
    if (!roomForFrame(animation))
        return;
    animation->insertFrameAfter(animation->currentFrameIndex());
    animation->renumberFrames();
    markDocumentChanged(e, Mode::Animator);
    scrollToCurrentFrame(e);
    currentFrameChanged(e, Thumbnails::Rebuild);
}

void duplicateFrame(Editor& e) {
    Document* animation = e.animation().get();
    if (!roomForFrame(animation))
        return;
    const Frame& source = animation->current();
    Frame& copy = animation->frame(animation->insertFrameAfter(animation->currentFrameIndex()));
    while (copy.layerCount() < source.layerCount())
        copy.insertLayerAfter(copy.currentLayerIndex());
    for (int i = 0; i < source.layerCount(); ++i) {
        Layer& layer = copy.layer(i);
        layer.visible = source.layer(i).visible;
        layer.opacity = source.layer(i).opacity;
        copyPixels(source.layer(i).image, layer.image);
    }
    animation->renumberFrames();
    markDocumentChanged(e, Mode::Animator);
    refreshCurrentFrameThumbnails(*animation);
    animator(e).previewUpToDate = false;
    scrollToCurrentFrame(e);
    currentFrameChanged(e, Thumbnails::Keep); // all of them were just rebuilt
}

void goToFrame(Editor& e, int index) {
    Document* animation = e.animation().get();
    if (!animation || index < 0 || index >= animation->frameCount() ||
        index == animation->currentFrameIndex())
        return;
    animation->setCurrentFrame(index);
    currentFrameChanged(e, Thumbnails::Rebuild);
}

void stepFrame(Editor& e, Direction direction) {
    Document* animation = e.animation().get();
    if (!animation)
        return;
    animation->stepToEnabledFrame(direction, Wrap::Around);
    scrollToCurrentFrame(e);
    currentFrameChanged(e, Thumbnails::Rebuild);
}

void enableAllFrames(Editor& e) {
    Document* animation = e.animation().get();
    if (!animation)
        return;
    for (Frame& frame : animation->frames())
        frame.enabled = true;
    markDocumentChanged(e, Mode::Animator);
    enabledFlagsChanged(e);
}

void toggleFrameEnabled(Editor& e, int index) {
    Document* animation = e.animation().get();
    if (!animation || index < 0 || index >= animation->frameCount())
        return;
    Frame& frame = animation->frame(index);
    frame.enabled = !frame.enabled;
    markDocumentChanged(e, Mode::Animator);
    enabledFlagsChanged(e);
}

bool moveFrameToGap(Editor& e, uint64_t frame, int gap) {
    Document* animation = e.animation().get();
    if (!animation)
        return false;
    const int from = animation->frameWithSerial(frame);
    if (from < 0)
        return false;
    // Taking the frame out closes its own place, which shifts the gaps after it by one.
    const int to = gap > from ? gap - 1 : gap;
    animation->moveFrame(from, to);
    if (to != from)
        markDocumentChanged(e, Mode::Animator);
    animation->renumberFrames();
    animator(e).previewUpToDate = false;
    currentFrameChanged(e, Thumbnails::Keep); // the frame is the same, and so are its pictures
    return true;
}

} // namespace vork
