// SPDX-License-Identifier: GPL-3.0-or-later
#include "pixels/Pixels.h"

#include "gfx/Graphics.h"
#include "model/Composite.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace vork {

namespace {

// Fractional positions become pixels by truncation toward zero. Values beyond the int range
// (or NaN) would make the conversion undefined; they are clamped to a position far outside
// any bitmap instead.
int truncToInt(float v) {
    constexpr float limit = 1e9f;
    if (std::isnan(v))
        return 0;
    return int(std::clamp(v, -limit, limit));
}

// The part of (x, y, w, h) that lies inside the bitmap; empty when nothing does.
Rect clampToBitmap(int x, int y, int w, int h, const Bitmap& b) {
    const long long left = std::max(x, 0), top = std::max(y, 0);
    const long long right = std::min<long long>((long long)x + w, b.width());
    const long long bottom = std::min<long long>((long long)y + h, b.height());
    if (right <= left || bottom <= top)
        return {};
    return {int(left), int(top), int(right - left), int(bottom - top)};
}

} // namespace

void setPixel(Bitmap& b, int x, int y, Color c) {
    b.setPixel(x, y, c);
}

void pixelLine(int x0, int y0, int x1, int y1, Bitmap& b, Color c) {
    // 64-bit differences, so lines between far-apart points cannot overflow.
    const long long dx = std::llabs((long long)x1 - x0), dy = std::llabs((long long)y1 - y0);
    const int sx = x1 < x0 ? -1 : 1, sy = y1 < y0 ? -1 : 1;
    long long x = x0, y = y0;
    auto put = [&] {
        if (x >= 0 && y >= 0 && x < b.width() && y < b.height())
            b.setPixel(int(x), int(y), c);
    };
    put();
    if (dx < dy) {
        y += sy;
        long long e = 2 * dx - dy;
        for (long long i = 0; i < dy; ++i) {
            const bool stepX = e > 0;
            if (stepX)
                x += sx;
            put();
            y += sy;
            e += 2 * dx;
            if (stepX)
                e -= 2 * dy;
        }
    } else {
        x += sx;
        long long e = 2 * dy - dx;
        for (long long i = 0; i < dx; ++i) {
            const bool stepY = e > 0;
            if (stepY)
                y += sy;
            put();
            x += sx;
            e += 2 * dy;
            if (stepY)
                e -= 2 * dx;
        }
    }
}

void pixelRectangle(int x0, int y0, int x1, int y1, Bitmap& b, Color c) {
    pixelLine(x0, y0, x1, y0, b, c);
    pixelLine(x0, y0, x0, y1, b, c);
    pixelLine(x0, y1, x1, y1, b, c);
    pixelLine(x1, y0, x1, y1, b, c);
}

void pixelEllipse(float x, float y, float w, float h, Bitmap& target, Color c) {
    // Half axes beyond this would only spend time putting pixels far outside any picture.
    constexpr float maxHalfAxis = 1 << 20;
    // A box dragged up or to the left is the same box.
    if (w < 0)
        x += w, w = -w;
    if (h < 0)
        y += h, h = -h;
    const float a = w / 2, b = h / 2;
    if (!(std::fabs(a) <= maxHalfAxis && std::fabs(b) <= maxHalfAxis) || !std::isfinite(x) ||
        !std::isfinite(y))
        return;
    const float cx = x + a, cy = y + b;
    const long long ta = (long long)a, tb = (long long)b;
    const float A2 = float(ta * ta), B2 = float(tb * tb);
    // Boxes under 2 x 2 have both products 0; 0 / 0 would leave the first loop without an end.
    const double limit = A2 + B2 > 0 ? double(A2) / std::sqrt(double(A2) + double(B2)) : 0.0;
    const float k1 = -6 * B2, k2 = k1 - 4 * A2;
    const float step4B = 4 * B2, step4A = 4 * A2;

    float px = cx, py = cy + b;
    float ex = 0, ey = -4 * A2 * b;
    float d = -ey / 2 - 2 * B2 - A2;
    // The recurrences below mix the truncated squares with the fractional half axes and end
    // the first region at a fixed column. For boxes 0 or 2 high, and for odd heights much
    // smaller than the width, that runs the outline past its box (a box 0 high even gives a
    // cross). So the columns stop at the widest step that keeps both mirrored points inside
    // the box, and the rows at the centre; an outline that stays in its box is not changed.
    const int centreColumn = truncToInt(cx);
    const int widestStep =
        std::max(0, std::min(truncToInt(x + w) - centreColumn, centreColumn - truncToInt(x)));
    const float widest = cx + float(widestStep);
    const float lowest = cy + (b - float(tb)); // the row of py's steps nearest the centre
    auto putFour = [&] {
        const float qx = std::min(px, widest), qy = std::max(py, lowest);
        const int left = truncToInt(2 * cx - qx), right = truncToInt(qx);
        const int top = truncToInt(2 * cy - qy), bottom = truncToInt(qy);
        target.setPixel(right, bottom, c);
        target.setPixel(right, top, c);
        target.setPixel(left, top, c);
        target.setPixel(left, bottom, c);
    };

    for (long long i = 1;; ++i) {
        putFour();
        if (double(i) > limit)
            break;
        if (d >= 0) {
            d += k1 + ex;
        } else {
            d += k2 + ex - ey;
            ey += step4A;
            py -= 1;
        }
        ex -= step4B;
        px += 1;
    }

    const float n = std::fabs(py - cy);
    float p = d - (A2 + B2 + ex / 2 + ey / 2);
    const float m1 = -6 * A2, m2 = m1 - 4 * B2;
    for (long long j = 1; float(j) <= n; ++j) {
        if (p <= 0) {
            p += m1 - ey;
        } else {
            p += ex - ey + m2;
            ex -= step4B;
            px += 1;
        }
        py -= 1;
        putFour();
        ey += step4A;
    }
}

bool pencilStep(StrokeState& s, bool mouseDown, float x, float y, Bitmap& b, Color c) {
    if (!mouseDown) {
        s.strokeActive = false;
        return false;
    }
    const int ix = truncToInt(x), iy = truncToInt(y);
    if (s.strokeActive) {
        if (std::fabs(float(s.strokeLastX) - x) + std::fabs(float(s.strokeLastY) - y) >= 2) {
            pixelLine(s.strokeLastX, s.strokeLastY, ix, iy, b, c);
            s.strokeLastX = ix;
            s.strokeLastY = iy;
        }
        return true;
    }
    setPixel(b, ix, iy, c);
    s.strokeLastX = ix;
    s.strokeLastY = iy;
    s.strokeActive = true;
    return false;
}

bool smoothPencilStep(StrokeState& s, bool mouseDown, float x, float y, Bitmap& b, Color c,
                      Smoothing smoothing) {
    if (!mouseDown) {
        s.strokeActive = false;
        return false;
    }
    Graphics g(b);
    g.setSmoothing(smoothing);
    const int ix = truncToInt(x), iy = truncToInt(y);
    if (s.strokeActive) {
        if (std::fabs(float(s.strokeLastX) - x) + std::fabs(float(s.strokeLastY) - y) >= 2) {
            g.drawPolyline(Pen(c, 1.0f), {PointF{float(s.strokeLastX), float(s.strokeLastY)},
                                          PointF{float(ix), float(iy)}});
            s.strokeLastX = ix;
            s.strokeLastY = iy;
        }
        return true;
    }
    // The dot is the unit square from (x - 1, y - 1) to (x, y). fillRect's square (i, j, 1, 1)
    // is pixel (i, j), from i - 0.5 to i + 0.5, hence the half-pixel shift.
    g.fillRect(Brush::solid(c), RectF{x - 0.5f, y - 0.5f, 1.0f, 1.0f});
    s.strokeLastX = ix;
    s.strokeLastY = iy;
    s.strokeActive = true;
    return false;
}

bool freehandStep(StrokeState& s, bool mouseDown, int x, int y, Path& path, Bitmap& target,
                  Color c) {
    if (!mouseDown) {
        if (s.strokeActive) {
            Graphics g(target);
            g.setSmoothing(Smoothing::None);
            g.fillPath(Brush::solid(c), path);
        }
        s.strokeActive = false;
        return false;
    }
    if (!s.strokeActive) {
        path.reset();
        path.addLine(PointF{float(x), float(y)}, PointF{float(x), float(y)});
        s.strokeLastX = x;
        s.strokeLastY = y;
        s.strokeActive = true;
        return false;
    }
    const long long distance =
        std::llabs((long long)s.strokeLastX - x) + std::llabs((long long)s.strokeLastY - y);
    if (distance < 2)
        return false;
    path.addLine(PointF{float(s.strokeLastX), float(s.strokeLastY)}, PointF{float(x), float(y)});
    s.strokeLastX = x;
    s.strokeLastY = y;
    return true;
}

void clearRectangle(int x, int y, int w, int h, Bitmap& b) {
    const Rect r = clampToBitmap(x, y, w, h, b);
    if (r.w == 0)
        return;
    // An RGB bitmap keeps its alpha byte at 255, as every write to it does.
    const uint32_t cleared = b.format() == PixelFormat::Rgb ? 0xFF000000u : 0u;
    for (int row = r.y; row < r.y + r.h; ++row) {
        uint32_t* p = b.row(row) + r.x;
        std::fill(p, p + r.w, cleared);
    }
}

void scaleAlpha(int x, int y, int w, int h, Bitmap& b, int v) {
    if (v < 0 || v > 255)
        return;
    const Rect r = clampToBitmap(x, y, w, h, b);
    if (r.w == 0)
        return;
    if (r.w == b.width() && r.h == b.height()) {
        scaleAlpha(b, v);
        return;
    }
    // Part of the bitmap: the part is scaled as an image of its own and written back.
    Bitmap part = b.copy(r);
    scaleAlpha(part, v);
    for (int row = 0; row < r.h; ++row)
        std::memcpy(b.row(r.y + row) + r.x, part.row(row), size_t(r.w) * 4);
}

} // namespace vork
