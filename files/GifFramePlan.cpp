// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/GifFramePlan.h"

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <cstring>
#include <utility>

namespace vork {

namespace {

// Grows a rectangle, given as inclusive bounds, to hold the pixels of one row from x0 to x1.
struct Bounds {
    int left = 0, top = 0, right = -1, bottom = -1;
    void addRow(int y, int x0, int x1) {
        if (right < left) {
            *this = {x0, y, x1, y};
            return;
        }
        left = std::min(left, x0), right = std::max(right, x1), bottom = y;
    }
    Rect rect() const {
        return right < left ? Rect{} : Rect{left, top, right - left + 1, bottom - top + 1};
    }
};

void clearRect(GifFramePixels& frame, Rect r) {
    for (int y = r.y; y < r.y + r.h; ++y)
        std::fill_n(frame.pixels.begin() + ptrdiff_t(y) * frame.width + r.x, r.w, gifTransparent);
}

} // namespace

GifFramePixels cutToGifPixels(const Bitmap& composite) {
    GifFramePixels out{composite.width(), composite.height(), {}};
    out.pixels.resize(size_t(out.width) * size_t(out.height));
    uint32_t* to = out.pixels.data();
    for (int y = 0; y < out.height; ++y) {
        const uint32_t* from = composite.row(y);
        for (int x = 0; x < out.width; ++x)
            *to++ = from[x] >> 24 >= 128 ? from[x] | 0xFF000000u : gifTransparent;
    }
    return out;
}

Rect differingRect(const GifFramePixels& a, const GifFramePixels& b) {
    Bounds bounds;
    const size_t rowBytes = size_t(a.width) * sizeof(uint32_t);
    for (int y = 0; y < a.height; ++y) {
        const uint32_t *ra = a.row(y), *rb = b.row(y);
        if (std::memcmp(ra, rb, rowBytes) == 0)
            continue;
        int x0 = 0, x1 = a.width - 1;
        while (ra[x0] == rb[x0])
            ++x0;
        while (ra[x1] == rb[x1])
            --x1;
        bounds.addRow(y, x0, x1);
    }
    return bounds.rect();
}

Rect vanishingRect(const GifFramePixels& before, const GifFramePixels& after) {
    Bounds bounds;
    for (int y = 0; y < before.height; ++y) {
        const uint32_t *rb = before.row(y), *ra = after.row(y);
        int x0 = -1, x1 = -1;
        for (int x = 0; x < before.width; ++x)
            if (rb[x] != gifTransparent && ra[x] == gifTransparent) {
                if (x0 < 0)
                    x0 = x;
                x1 = x;
            }
        if (x0 >= 0)
            bounds.addRow(y, x0, x1);
    }
    return bounds.rect();
}

GifFramePlanner::GifFramePlanner(int width, int height, Emit handOn)
    : width(width), height(height), handOn(std::move(handOn)) {}

bool GifFramePlanner::add(GifFramePixels next) {
    assert(next.width == width && next.height == height);
    if (added == 0) {
        first = next;
        canvas = {width, height, std::vector<uint32_t>(next.pixels.size(), gifTransparent)};
    } else if (!settle(next)) {
        return false;
    }
    target = std::move(next);
    changed = differingRect(target, canvas);
    ++added;
    return true;
}

bool GifFramePlanner::finish() {
    return added > 0 && settle(first);
}

bool GifFramePlanner::settle(const GifFramePixels& next) {
    const Rect vanishing = vanishingRect(target, next);
    PlannedGifFrame frame;
    frame.index = added - 1;
    frame.target = &target;
    frame.canvas = &canvas;
    frame.disposal = vanishing.empty() ? GifDisposal::Keep : GifDisposal::Clear;
    frame.rect = unite(changed, vanishing);
    if (frame.rect.empty())
        frame.rect = {0, 0, 1, 1}; // nothing changed: one pixel the canvas already shows
    if (!handOn(frame))
        return false;
    // The next frame is drawn over this one, less the rectangle its disposal clears.
    std::swap(canvas, target);
    if (frame.disposal == GifDisposal::Clear)
        clearRect(canvas, frame.rect);
    return true;
}

} // namespace vork
