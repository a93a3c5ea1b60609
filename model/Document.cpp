#include "model/Document.h"

#include "model/Thumbnail.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
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
    layers.push_back(std::make_unique<Layer>(1, width, height));
}

int Frame::clampedLayer(int position) const {
    return clampPosition(position, layerCount());
}

int Frame::insertLayerAt(int index) {
    const int at = std::clamp(index, 0, layerCount());
    ++layerCounter;
    layers.insert(layers.begin() + at, std::make_unique<Layer>(layerCounter, width, height));
    currentLayer = at;
    enabled = true;
    return currentLayer;
}

int Frame::layerWithSerial(uint64_t serial) const {
    return positionWithSerial(layers, serial);
}

int Frame::deleteCurrentLayer() {
    return deleteLayer(currentLayer);
}

int Frame::deleteLayer(int position) {
    if (layerCount() <= 1 || position < 0 || position >= layerCount())
        return currentLayer;
    layers.erase(layers.begin() + position);
    // The layer that followed the removed one takes its place, or the new top one.
    currentLayer = std::min(position, layerCount() - 1);
    return currentLayer;
}

// ---- Document ----

Document::Document(int width, int height, double defaultDelay)
    : defaultDelay(defaultDelay), width(width), height(height) {
    frames.push_back(std::make_unique<Frame>(float(width), float(height), defaultDelay));
}

int Document::clampedFrame(int position) const {
    return clampPosition(position, frameCount());
}

int Document::insertFrameAt(int index) {
    const int at = std::clamp(index, 0, frameCount());
    frames.insert(frames.begin() + at,
                  std::make_unique<Frame>(float(width), float(height), defaultDelay));
    currentFrame = at;
    return currentFrame;
}

int Document::frameWithSerial(uint64_t serial) const {
    return positionWithSerial(frames, serial);
}

int Document::goToFirstFrame() {
    currentFrame = 0;
    return currentFrame;
}

int Document::goToLastFrame() {
    currentFrame = frameCount() - 1;
    return currentFrame;
}

int Document::nextFrame(Wrap wrap) {
    if (currentFrame < frameCount() - 1)
        ++currentFrame;
    else if (wrap == Wrap::Around)
        currentFrame = 0;
    return currentFrame;
}

int Document::previousFrame(Wrap wrap) {
    if (currentFrame > 0)
        --currentFrame;
    else if (wrap == Wrap::Around)
        currentFrame = frameCount() - 1;
    return currentFrame;
}

int Document::deleteCurrentFrame() {
    if (frameCount() <= 1)
        return currentFrame;
    frames.erase(frames.begin() + currentFrame);
    currentFrame = std::min(currentFrame, frameCount() - 1);
    return currentFrame;
}

int Document::moveFrame(int from, int to) {
    if (from < 0 || from >= frameCount())
        return currentFrame;
    const int at = clampedFrame(to);
    std::unique_ptr<Frame> moved = std::move(frames[size_t(from)]);
    frames.erase(frames.begin() + from);
    frames.insert(frames.begin() + at, std::move(moved));
    currentFrame = at;
    return currentFrame;
}

std::vector<const Frame*> Document::enabledFrames() const {
    std::vector<const Frame*> out;
    for (const auto& frame : frames)
        if (frame->enabled)
            out.push_back(frame.get());
    return out;
}

void Document::renumberFrames() {
    for (int i = 0; i < frameCount(); ++i)
        frames[size_t(i)]->number = i + 1;
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
