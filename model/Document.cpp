// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Document.h"

#include "model/Thumbnail.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>

namespace vork {

int bitmapExtent(float size) {
    // NaN, negative and fractional sizes below one pixel give no pixels; the cast of a float
    // beyond the int range would be undefined, so it is capped first.
    if (!(size >= 1.0f))
        return 0;
    if (size >= float(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return int(size);
}

namespace {

// Clamps a caller's position into a non-empty list of n elements.
int clampPosition(int position, int n) {
    return std::clamp(position, 0, n - 1);
}

// One counter for layers and frames alike: a serial never names two things.
uint64_t nextSerial() {
    static std::atomic<uint64_t> counter{0};
    return ++counter;
}

template <typename List> int positionWithSerial(const List& list, uint64_t serial) {
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i]->serial == serial)
            return int(i);
    return -1;
}

// Takes the element at `from` out of the list and puts it back so that it ends at `to` of the
// reordered list (clamped): its new position. A `from` outside the list keeps `current`.
template <typename List> int moveWithin(List& list, int from, int to, int current) {
    const int n = int(list.size());
    if (from < 0 || from >= n)
        return current;
    const int at = clampPosition(to, n);
    auto moved = std::move(list[size_t(from)]);
    list.erase(list.begin() + from);
    list.insert(list.begin() + at, std::move(moved));
    return at;
}

// Whether a list made elsewhere may become (part of) a frame's or a document's list: it has
// elements, and every place holds one.
template <typename List> bool wholeList(const List& list) {
    return !list.empty() &&
           std::all_of(list.begin(), list.end(), [](const auto& p) { return p != nullptr; });
}

// Puts `replacement` in place of the list, with its element at `asked` (clamped) current;
// false, with nothing changed, when it is no whole list.
template <typename List> bool replaceList(List& list, int& current, List replacement, int asked) {
    if (!wholeList(replacement))
        return false;
    list = std::move(replacement);
    current = clampPosition(asked, int(list.size()));
    return true;
}

} // namespace

// ---- Layer ----

Layer::Layer(int id, float width, float height)
    : id(id), serial(nextSerial()), image(bitmapExtent(width), bitmapExtent(height)) {
    // The image is transparent, so the fitted backdrop alone is the whole thumbnail.
    thumbnail = thumbnailBackdrop(30, 30, float(image.width()), float(image.height()));
}

// ---- Frame ----

Frame::Frame(float width, float height, double delay)
    : serial(nextSerial()), width(width), height(height), delay(delay), thumbnail(50, 50) {
    layers_.push_back(std::make_unique<Layer>(1, width, height));
}

int Frame::clampedLayer(int position) const {
    return clampPosition(position, layerCount());
}

int Frame::setCurrentLayer(int position) {
    currentLayer_ = clampedLayer(position);
    return currentLayer_;
}

int Frame::insertLayerAt(int index) {
    const int at = std::clamp(index, 0, layerCount());
    ++layerCounter;
    layers_.insert(layers_.begin() + at, std::make_unique<Layer>(layerCounter, width, height));
    currentLayer_ = at;
    enabled = true;
    return currentLayer_;
}

int Frame::layerWithSerial(uint64_t serial) const {
    return positionWithSerial(layers_, serial);
}

int Frame::deleteCurrentLayer() {
    return deleteLayer(currentLayer_);
}

int Frame::deleteLayer(int position) {
    if (layerCount() <= 1 || position < 0 || position >= layerCount())
        return currentLayer_;
    layers_.erase(layers_.begin() + position);
    // The layer that followed the removed one takes its place, or the new top one.
    currentLayer_ = std::min(position, layerCount() - 1);
    return currentLayer_;
}

int Frame::moveLayer(int from, int to) {
    currentLayer_ = moveWithin(layers_, from, to, currentLayer_);
    return currentLayer_;
}

bool Frame::replaceLayers(std::vector<std::unique_ptr<Layer>> layers, int current) {
    return replaceList(layers_, currentLayer_, std::move(layers), current);
}

// ---- Document ----

Document::Document(int width, int height, double defaultDelay)
    : defaultDelay(defaultDelay), width(width), height(height) {
    frames_.push_back(std::make_unique<Frame>(float(width), float(height), defaultDelay));
}

int Document::clampedFrame(int position) const {
    return clampPosition(position, frameCount());
}

int Document::setCurrentFrame(int position) {
    currentFrame_ = clampedFrame(position);
    return currentFrame_;
}

int Document::insertFrameAt(int index) {
    const int at = std::clamp(index, 0, frameCount());
    frames_.insert(frames_.begin() + at,
                   std::make_unique<Frame>(float(width), float(height), defaultDelay));
    currentFrame_ = at;
    return currentFrame_;
}

int Document::insertFrames(int index, std::vector<std::unique_ptr<Frame>> frames) {
    if (!wholeList(frames))
        return currentFrame_;
    const int at = std::clamp(index, 0, frameCount());
    frames_.insert(frames_.begin() + at, std::make_move_iterator(frames.begin()),
                   std::make_move_iterator(frames.end()));
    currentFrame_ = at + int(frames.size()) - 1;
    return currentFrame_;
}

bool Document::replaceFrames(std::vector<std::unique_ptr<Frame>> frames, int current) {
    return replaceList(frames_, currentFrame_, std::move(frames), current);
}

int Document::frameWithSerial(uint64_t serial) const {
    return positionWithSerial(frames_, serial);
}

int Document::goToFirstFrame() {
    currentFrame_ = 0;
    return currentFrame_;
}

int Document::goToLastFrame() {
    currentFrame_ = frameCount() - 1;
    return currentFrame_;
}

int Document::nextFrame(Wrap wrap) {
    if (currentFrame_ < frameCount() - 1)
        ++currentFrame_;
    else if (wrap == Wrap::Around)
        currentFrame_ = 0;
    return currentFrame_;
}

int Document::previousFrame(Wrap wrap) {
    if (currentFrame_ > 0)
        --currentFrame_;
    else if (wrap == Wrap::Around)
        currentFrame_ = frameCount() - 1;
    return currentFrame_;
}

bool Document::stepToEnabledFrame(Direction direction, Wrap wrap) {
    const int remembered = currentFrame_;
    for (int moves = 0; moves < frameCount() - 1; ++moves) {
        if (direction == Direction::Forward)
            nextFrame(wrap);
        else
            previousFrame(wrap);
        if (current().enabled)
            return true;
    }
    currentFrame_ = remembered;
    return false;
}

int Document::deleteCurrentFrame() {
    if (frameCount() <= 1)
        return currentFrame_;
    frames_.erase(frames_.begin() + currentFrame_);
    currentFrame_ = std::min(currentFrame_, frameCount() - 1);
    return currentFrame_;
}

int Document::keepOnlyFrame(int position) {
    std::unique_ptr<Frame> kept = std::move(frames_[size_t(clampedFrame(position))]);
    frames_.clear();
    frames_.push_back(std::move(kept));
    currentFrame_ = 0;
    return currentFrame_;
}

int Document::moveFrame(int from, int to) {
    currentFrame_ = moveWithin(frames_, from, to, currentFrame_);
    return currentFrame_;
}

std::vector<const Frame*> Document::enabledFrames() const {
    std::vector<const Frame*> out;
    for (const Frame& frame : frames())
        if (frame.enabled)
            out.push_back(&frame);
    return out;
}

void Document::renumberFrames() {
    for (int i = 0; i < frameCount(); ++i)
        frames_[size_t(i)]->number = i + 1;
}

// ---- Pixel copy ----

void copyPixels(const Bitmap& source, Bitmap& target) {
    if (&source == &target || source.isNull() || target.isNull() || !source.sameSize(target))
        return;
    const bool opaqueTarget = target.format() == PixelFormat::Rgb;
    const size_t rowBytes = size_t(source.stride());
    for (int y = 0; y < source.height(); ++y) {
        uint32_t* out = target.row(y);
        std::memcpy(out, source.row(y), rowBytes);
        if (opaqueTarget) // an RGB bitmap keeps its alpha byte at 255
            for (int x = 0; x < target.width(); ++x)
                out[x] |= 0xFF000000u;
    }
}

} // namespace vork
