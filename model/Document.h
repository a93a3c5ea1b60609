// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Documents, frames and layers: the picture and the animation are both Documents.
//
// A Document is an ordered list of Frames with a current frame; a Frame is an ordered list of
// Layers (first = bottom) with a current layer. No list is ever empty and the current
// positions always designate an element: every operation here keeps that so.
#include "gfx/Bitmap.h"
#include "model/ChangeTracker.h"
#include "model/OwnedView.h"
#include "model/Reductions.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace vork {

struct Layer {
    Layer(int id, float width, float height); // transparent image, thumbnail rebuilt at 30 x 30

    int id = 0;
    // Tells layers apart for the whole run, also across deletions: no two layers made by the
    // program share one, so a remembered layer is never confused with a new one at its place.
    uint64_t serial = 0;
    Bitmap image;     // ARGB, the document size
    Bitmap thumbnail; // ARGB, 30 x 30
    bool visible = true;
    int opacity = 255; // 0..255, applied to the alpha when composed

    // What changed in `image` and when; writers that know their rectangle report it through
    // an ImageEdit (see edit()). The reductions the thumbnails, the preview and the canvas
    // below 100 % draw from follow it.
    ChangeTracker changes;
    Reductions reductions;
    ImageEdit edit() { return ImageEdit(image, changes); }

    // Replaces the thumbnail by a w x h one: checkerboard band under the fitted image, drawn
    // whether or not the layer is visible. A box of no pixels gives a null thumbnail.
    void rebuildThumbnail(int w = 30, int h = 30);
};

struct Frame {
    Frame(float width, float height, double delay);

    // Tells frames apart for the whole run, as Layer::serial tells layers apart.
    uint64_t serial = 0;
    int number = 0;       // 1-based position, written by Document::renumberFrames
    int layerCounter = 1; // last layer id issued; ids are never reused
    float width = 0, height = 0;
    bool enabled = true;
    double delay = 0; // ms
    Bitmap thumbnail; // 50 x 50 empty when made, 55 x 50 once rebuilt

    Layer& current() { return *layers_[size_t(currentLayer_)]; }
    const Layer& current() const { return *layers_[size_t(currentLayer_)]; }
    int currentLayerIndex() const { return currentLayer_; }
    int layerCount() const { return int(layers_.size()); }
    Layer& layer(int i) { return *layers_[size_t(i)]; }
    const Layer& layer(int i) const { return *layers_[size_t(i)]; }
    // The layers, bottom first.
    OwnedView<Layer> layers() { return OwnedView<Layer>(layers_); }
    OwnedView<const Layer> layers() const { return OwnedView<const Layer>(layers_); }

    // Each returns the new current position; a position outside the list is clamped to it.
    int setCurrentLayer(int position);
    // An insertion issues the next id, makes the new layer current and switches the frame on
    // (the file readers rely on that). insertLayerAt puts the new layer at `index`
    // (0 = bottom, layerCount() = top); the others name the place by a neighbour.
    int insertLayerAt(int index);
    int insertLayerAfter(int position) { return insertLayerAt(clampedLayer(position) + 1); }
    int insertLayerBefore(int position) { return insertLayerAt(clampedLayer(position)); }
    int appendLayer() { return insertLayerAt(layerCount()); }
    // The layer that followed the removed one becomes current, or the new top one. Refused (no
    // change) when only one layer is left or the position is outside the list.
    int deleteCurrentLayer();
    int deleteLayer(int position);
    // Takes the layer at `from` out of the list and puts it back so that it ends at position
    // `to` of the reordered list (clamped to it); it becomes current. The layer itself moves,
    // with its id, pixels, visibility and opacity. A `from` outside the list changes nothing.
    int moveLayer(int from, int to);
    // The list becomes `layers` (made elsewhere; ids and the counter are the caller's), with
    // the one at `current` (clamped) current. Refused, with nothing changed, when `layers` is
    // empty or holds no layer at some place.
    bool replaceLayers(std::vector<std::unique_ptr<Layer>> layers, int current);

    // Replaces the thumbnail by a w x h one: the visible layers, bottom first, without opacity,
    // fitted by the current layer's image.
    void rebuildThumbnail(int w = 55, int h = 50);

    // The position of the layer with this serial, or -1.
    int layerWithSerial(uint64_t serial) const;

  private:
    int clampedLayer(int position) const;

    std::vector<std::unique_ptr<Layer>> layers_;
    int currentLayer_ = 0;
};

// Whether stepping past either end of the frame list comes round to the other end.
enum class Wrap { Stop, Around };
// Which way a step through the frame list goes.
enum class Direction { Backward, Forward };

class Document {
  public:
    Document(int width, int height, double defaultDelay);

    double defaultDelay = 0;
    int width = 0, height = 0;

    Frame& current() { return *frames_[size_t(currentFrame_)]; }
    const Frame& current() const { return *frames_[size_t(currentFrame_)]; }
    int currentFrameIndex() const { return currentFrame_; }
    int frameCount() const { return int(frames_.size()); }
    Frame& frame(int i) { return *frames_[size_t(i)]; }
    const Frame& frame(int i) const { return *frames_[size_t(i)]; }
    // The frames in order.
    OwnedView<Frame> frames() { return OwnedView<Frame>(frames_); }
    OwnedView<const Frame> frames() const { return OwnedView<const Frame>(frames_); }
    Layer& currentLayer() { return current().current(); }
    const Layer& currentLayer() const { return current().current(); }
    // The frames that are switched on, in order: what playback and the exports show.
    std::vector<const Frame*> enabledFrames() const;

    // Each returns the new current position; a position outside the list is clamped to it.
    int setCurrentFrame(int position);
    // A new frame has the document size and the default delay and becomes current.
    // insertFrameAt puts it at `index` (0 = first, frameCount() = after the last).
    int insertFrameAt(int index);
    int insertFrameAfter(int position) { return insertFrameAt(clampedFrame(position) + 1); }
    int insertFrameBefore(int position) { return insertFrameAt(clampedFrame(position)); }
    // Puts frames made elsewhere, in their order, at `index` (clamped as for insertFrameAt);
    // the last of them becomes current. Refused, with nothing changed, when there are none or
    // one of the places holds no frame.
    int insertFrames(int index, std::vector<std::unique_ptr<Frame>> frames);
    // The list becomes `frames` (made elsewhere), with the one at `current` (clamped) current.
    // Refused, with nothing changed, when `frames` is empty or holds no frame at some place.
    bool replaceFrames(std::vector<std::unique_ptr<Frame>> frames, int current);
    int goToFirstFrame();
    int goToLastFrame();
    int nextFrame(Wrap wrap);
    int previousFrame(Wrap wrap);
    // Moves the current frame one frame in `direction`, and again while the frame reached is
    // switched off, at most frameCount - 1 moves (none with a single frame). With Wrap::Around
    // a move past an end comes round to the other end; with Wrap::Stop it stays on the end
    // frame. True when a switched-on frame was reached; otherwise the frame that was current
    // before is current again.
    bool stepToEnabledFrame(Direction direction, Wrap wrap);
    // The following frame becomes current, or the new last one; refused when only one is left.
    int deleteCurrentFrame();
    // Only the frame at `position` (clamped) is left, current; the others are dropped.
    int keepOnlyFrame(int position);
    // Takes the frame at `from` out of the list and puts it back so that it ends at position
    // `to` of the reordered list (clamped to it); it becomes current. The frame itself moves:
    // its layers, delay, switch and serial stay what they were. A `from` outside the list
    // changes nothing.
    int moveFrame(int from, int to);
    void renumberFrames();

    // The position of the frame with this serial, or -1.
    int frameWithSerial(uint64_t serial) const;

  private:
    int clampedFrame(int position) const;

    std::vector<std::unique_ptr<Frame>> frames_;
    int currentFrame_ = 0;
};

// A float document size truncated to a bitmap extent: 0 for sizes below one pixel (and NaN),
// capped at the int range, so a bad size gives a null bitmap rather than undefined behaviour.
int bitmapExtent(float size);

// Copies every pixel of source into target when both have the same size; otherwise nothing.
void copyPixels(const Bitmap& source, Bitmap& target);

// Fits a W x H source into a w x h thumbnail box, keeping its proportions and centring it:
// the rectangle the source is drawn into. Empty (all zero) when the source has no pixels.
RectF thumbnailPlacement(int w, int h, float sourceWidth, float sourceHeight);

} // namespace vork

namespace vork {

// Thumbnail refreshes of an animation (the callers clear the preview's up-to-date flag).
// Every frame and its current layer.
void refreshAllFrameThumbnails(Document& animation, int w = 55, int h = 50);
void refreshCurrentThumbnails(Document& animation);      // current frame and its current layer
void refreshCurrentFrameThumbnails(Document& animation); // current frame and all of its layers

} // namespace vork
