// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small geometry records shared by drawing and hit testing.
#include <vector>

namespace vork {

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
    bool empty() const { return w <= 0 || h <= 0; }
};

// The smallest rectangle holding both; an empty one adds nothing.
Rect unite(Rect a, Rect b);
// The common part; empty (all zero) when there is none.
Rect intersect(Rect a, Rect b);
// r grown by n pixels on every side; an empty one stays empty.
Rect inflate(Rect r, int n);

struct RectF {
    float x = 0, y = 0, w = 0, h = 0;
    friend bool operator==(const RectF&, const RectF&) = default;
};

struct Point {
    int x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct PointF {
    float x = 0, y = 0;
    friend bool operator==(const PointF&, const PointF&) = default;
};

} // namespace vork
