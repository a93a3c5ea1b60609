// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Questions tests ask of bitmaps: are two the same, how many pixels have a colour, which pixels
// were written and where they lie, plus a few colours and bitmaps to start from.
#include "gfx/Bitmap.h"
#include "gfx/Geometry.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace vork::test {

inline constexpr Color red = Color::rgb(255, 0, 0);
inline constexpr Color green = Color::rgb(0, 255, 0);
inline constexpr Color blue = Color::rgb(0, 0, 255);

// Same size and the same value in every pixel.
inline bool samePixels(const Bitmap& a, const Bitmap& b) {
    if (!a.sameSize(b))
        return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return false;
    return true;
}

inline int countPixels(const Bitmap& b, Color c) {
    int n = 0;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            n += b.pixel(x, y) == c;
    return n;
}

inline int countPixels(const Bitmap& b, const std::function<bool(Color)>& wanted) {
    int n = 0;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            n += wanted(b.pixel(x, y));
    return n;
}

// Every pixel a colour of its own from the seed.
inline Bitmap randomBitmap(int w, int h, unsigned seed) {
    Bitmap b(w, h);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.setPixel(x, y, Color(rng()));
    return b;
}

inline void paintRect(Bitmap& b, Rect r, Color c) {
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x)
            b.setPixel(x, y, c);
}

using PixelSet = std::set<std::pair<int, int>>; // (x, y)

// The positions of every pixel that is not transparent black.
inline PixelSet paintedPixels(const Bitmap& b) {
    PixelSet out;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            if (b.pixel(x, y) != colors::transparent)
                out.insert({x, y});
    return out;
}

// The same pixels row by row, top to bottom.
inline std::vector<Point> touched(const Bitmap& b) {
    std::vector<Point> out;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            if (b.pixel(x, y).argb != 0)
                out.push_back({x, y});
    return out;
}

// The smallest rectangle holding the points.
inline Rect boundsOf(const std::vector<Point>& pts) {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
    for (auto p : pts) {
        x0 = std::min(x0, p.x), y0 = std::min(y0, p.y);
        x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
    }
    return {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

// The smallest rectangle holding the pixels that differ from `background`.
struct Bounds {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    bool empty() const { return left > right; }
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};
inline Bounds boundsOfChange(const Bitmap& b, Color background = colors::transparent) {
    Bounds r;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            if (b.pixel(x, y) != background) {
                r.left = std::min(r.left, x);
                r.right = std::max(r.right, x);
                r.top = std::min(r.top, y);
                r.bottom = std::max(r.bottom, y);
            }
    return r;
}

} // namespace vork::test
