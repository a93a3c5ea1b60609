// SPDX-License-Identifier: GPL-3.0-or-later
#include "gfx/Geometry.h"

#include <algorithm>
#include <limits>

namespace vork {

namespace {
// Edges in 64 bits, so that rectangles near the int range cannot overflow.
Rect fromEdges(long long left, long long top, long long right, long long bottom) {
    constexpr long long low = std::numeric_limits<int>::min();
    constexpr long long high = std::numeric_limits<int>::max();
    left = std::clamp(left, low, high);
    top = std::clamp(top, low, high);
    right = std::clamp(right, left, std::min(high, left + high));
    bottom = std::clamp(bottom, top, std::min(high, top + high));
    if (right <= left || bottom <= top)
        return {};
    return {int(left), int(top), int(right - left), int(bottom - top)};
}
} // namespace

Rect unite(Rect a, Rect b) {
    if (a.empty())
        return b.empty() ? Rect{} : b;
    if (b.empty())
        return a;
    return fromEdges(std::min(a.x, b.x), std::min(a.y, b.y),
                     std::max((long long)a.x + a.w, (long long)b.x + b.w),
                     std::max((long long)a.y + a.h, (long long)b.y + b.h));
}

Rect intersect(Rect a, Rect b) {
    if (a.empty() || b.empty())
        return {};
    return fromEdges(std::max(a.x, b.x), std::max(a.y, b.y),
                     std::min((long long)a.x + a.w, (long long)b.x + b.w),
                     std::min((long long)a.y + a.h, (long long)b.y + b.h));
}

Rect inflate(Rect r, int n) {
    if (r.empty())
        return {};
    return fromEdges((long long)r.x - n, (long long)r.y - n, (long long)r.x + r.w + n,
                     (long long)r.y + r.h + n);
}

} // namespace vork
