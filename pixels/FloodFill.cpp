// SPDX-License-Identifier: GPL-3.0-or-later
// The flood fill works a row at a time: it fills a whole run of matching pixels, then looks
// for matching runs on the rows above and below. That gives the same 4-connected region as
// growing the region one pixel ring at a time, but touches each row's memory in order and
// keeps its to-do list short: one entry per run, not per pixel.
#include "pixels/Pixels.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

namespace vork {

namespace {

class SpanFill {
  public:
    SpanFill(Bitmap& b, uint32_t target, uint32_t fill)
        : bitmap_(b), width_(b.width()), height_(b.height()), target_(target), fill_(fill) {}

    // The rectangle of every pixel filled so far.
    Rect filled() const {
        return right_ < left_ ? Rect{} : Rect{left_, top_, right_ - left_ + 1, bottom_ - top_ + 1};
    }

    // Fills the region of target-coloured pixels around (x, y), which lies inside the
    // bitmap; false when (x, y) does not have the target colour.
    bool fillFrom(int x, int y) {
        if (bitmap_.row(y)[x] != target_)
            return false;
        int left = x;
        while (left > 0 && bitmap_.row(y)[left - 1] == target_)
            --left;
        const int right = fillRun(bitmap_.row(y), left, y);
        push(y + 1, left, right, +1);
        push(y - 1, left, right, -1);
        while (!pending_.empty()) {
            const Pending span = pending_.back();
            pending_.pop_back();
            examine(span);
        }
        return true;
    }

  private:
    // Columns left..right of row y - dy were filled; row y is to be searched below (or above)
    // them. Every run found there continues in direction dy, and the part of it that reaches
    // beyond left..right may also leak back into row y - dy.
    struct Pending {
        int y, left, right, dy;
    };

    void push(int y, int left, int right, int dy) {
        if (y >= 0 && y < height_)
            pending_.push_back({y, left, right, dy});
    }

    // Fills the run of target pixels of row y starting at column `start` (which matches);
    // returns the column of its last pixel.
    int fillRun(uint32_t* row, int start, int y) {
        int end = start + 1;
        while (end < width_ && row[end] == target_)
            ++end;
        std::fill(row + start, row + end, fill_);
        took(start, end - 1, y);
        return end - 1;
    }

    void examine(const Pending& span) {
        uint32_t* row = bitmap_.row(span.y);
        int x = span.left;
        while (x <= span.right) {
            while (x <= span.right && row[x] != target_)
                ++x;
            if (x > span.right)
                break;
            int start = x;
            if (start == span.left)
                while (start > 0 && row[start - 1] == target_)
                    --start;
            const int end = fillRun(row, x, span.y);
            if (start < x) {
                std::fill(row + start, row + x, fill_);
                took(start, x - 1, span.y);
            }
            push(span.y + span.dy, start, end, span.dy);
            if (start < span.left)
                push(span.y - span.dy, start, span.left - 1, -span.dy);
            if (end > span.right)
                push(span.y - span.dy, span.right + 1, end, -span.dy);
            // Column end + 1 is either outside or does not match.
            x = end + 2;
        }
    }

    Bitmap& bitmap_;
    const int width_, height_;
    const uint32_t target_, fill_;
    std::vector<Pending> pending_;
    // The filled rectangle's edges, inclusive; empty while right_ < left_. Kept as plain
    // bounds: a maze of one-pixel runs passes here for every run.
    int left_ = INT_MAX, top_ = INT_MAX, right_ = INT_MIN, bottom_ = INT_MIN;

    void took(int first, int last, int y) {
        left_ = std::min(left_, first);
        right_ = std::max(right_, last);
        top_ = std::min(top_, y);
        bottom_ = std::max(bottom_, y);
    }
};

} // namespace

Rect floodFillRegion(Bitmap& b, int x, int y, Color c) {
    if (b.isNull())
        return {};
    // An RGB bitmap stores every colour opaque; comparing with the opaque fill keeps the
    // "already that colour" test true to what is stored.
    const uint32_t fill = b.format() == PixelFormat::Rgb ? c.withAlpha(255).argb : c.argb;
    const bool inside = b.contains(x, y);
    const Bitmap& reading = b;
    const uint32_t target = inside ? reading.row(y)[x] : colors::transparent.argb;
    if (target == fill)
        return {};
    SpanFill span(b, target, fill);
    if (inside) {
        span.fillFrom(x, y);
        return span.filled();
    }
    if (x < -1 || y < -1 || x > b.width() || y > b.height())
        return {}; // no neighbour of the seed is inside
    // A seed just past the edge spreads from those of its neighbours inside the picture.
    const Point neighbours[] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
    for (Point n : neighbours)
        if (b.contains(n.x, n.y))
            span.fillFrom(n.x, n.y);
    return span.filled();
}

bool floodFill(Bitmap& b, int x, int y, Color c) {
    return !floodFillRegion(b, x, y, c).empty();
}

} // namespace vork
