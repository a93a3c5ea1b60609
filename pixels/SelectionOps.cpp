// SPDX-License-Identifier: GPL-3.0-or-later
#include "pixels/SelectionOps.h"

#include "gfx/Graphics.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace vork {

namespace {

// Coordinates beyond this are refused rather than truncated into undefined behaviour.
constexpr float coordinateLimit = 1.0e8f;

std::optional<int> truncated(float v) {
    if (!std::isfinite(v) || std::fabs(v) > coordinateLimit)
        return std::nullopt;
    return int(v);
}

// Where a Selection's image lands on a layer.
struct Placement {
    int x0, y0;         // top-left corner before turning
    int w0, h0;         // the size the record claims
    int w, h;           // the part of the image drawn: the claimed size within the image
    int pivotX, pivotY; // the centre of turning
    bool turned;        // angle is not a whole number of turns
};

std::optional<Placement> placementOf(const Selection& s) {
    auto x0 = truncated(s.x), y0 = truncated(s.y);
    auto w0 = truncated(s.width), h0 = truncated(s.height);
    if (!x0 || !y0 || !w0 || !h0 || !std::isfinite(s.angle) || s.image.isNull())
        return std::nullopt;
    Placement p{};
    p.x0 = *x0, p.y0 = *y0, p.w0 = *w0, p.h0 = *h0;
    p.w = std::min(p.w0, s.image.width());
    p.h = std::min(p.h0, s.image.height());
    if (p.w <= 0 || p.h <= 0)
        return std::nullopt;
    p.pivotX = p.x0 + p.w0 / 2;
    p.pivotY = p.y0 + p.h0 / 2;
    p.turned = std::fmod(s.angle, 360.0f) != 0.0f;
    return p;
}

// The image through the turning transform: origin at the pivot, rotated by the angle, the image
// centred on it. Smoothed, so a turned image gets soft edges.
void drawTurned(Graphics& g, const Selection& s, const Placement& p) {
    Graphics::State state(g);
    g.setSmoothing(Smoothing::HighQuality);
    g.setInterpolation(Interpolation::Bilinear);
    g.translate(float(p.pivotX), float(p.pivotY));
    g.rotate(s.angle);
    g.drawImage(s.image, RectF{float(-(p.w0 / 2)), float(-(p.h0 / 2)), float(p.w), float(p.h)},
                RectF{0, 0, float(p.w), float(p.h)});
}

// The pixels a turned image can touch: its corners turned about the pivot, one pixel more on
// every side for the smoothed edge.
Rect turnedBounds(const Selection& s, const Placement& p) {
    double a = double(s.angle) * 3.14159265358979323846 / 180.0, c = std::cos(a), sn = std::sin(a);
    double left = -(p.w0 / 2) - 0.5, top = -(p.h0 / 2) - 0.5;
    double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
    for (double u : {left, left + p.w})
        for (double v : {top, top + p.h}) {
            double x = u * c - v * sn, y = u * sn + v * c;
            minX = std::min(minX, x), maxX = std::max(maxX, x);
            minY = std::min(minY, y), maxY = std::max(maxY, y);
        }
    // Picture coordinate t lies in pixel floor(t + 0.5).
    int x0 = p.pivotX + int(std::floor(minX + 0.5)) - 1,
        x1 = p.pivotX + int(std::floor(maxX + 0.5)) + 1;
    int y0 = p.pivotY + int(std::floor(minY + 0.5)) - 1,
        y1 = p.pivotY + int(std::floor(maxY + 0.5)) + 1;
    return {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

// Columns [first, last) of a run of `count` pixels starting at `start` that fall on 0..limit-1.
struct Span {
    int first, last;
};
Span clippedSpan(int start, int count, int limit) {
    long long first = std::max<long long>(0, -(long long)start);
    long long last = std::min<long long>(count, (long long)limit - start);
    return {int(first), int(std::max(first, last))};
}

// The one take of every shape: the shape is filled opaque white into a mask without
// anti-aliasing, and the layer pixels under white mask pixels are copied into a new image of
// the bounds' size. The shape is in layer coordinates, edges between pixels, so the rectangle
// (x, y, w, h) covers columns x..x+w-1 and rows y..y+h-1.
bool take(Selection& s, Rect bounds, const Bitmap& layer, const Path& shape) {
    if (bounds.w <= 0 || bounds.h <= 0 || layer.isNull())
        return false;
    Bitmap image(bounds.w, bounds.h);
    if (image.isNull())
        return false; // too large to allocate
    Span cols = clippedSpan(bounds.x, bounds.w, layer.width());
    Span rows = clippedSpan(bounds.y, bounds.h, layer.height());
    // Only the part of the bounds that lies on the layer can receive pixels, so the mask covers
    // just that part; the shape is shifted by whole pixels, which changes none of its pixels.
    if (cols.first < cols.last && rows.first < rows.last) {
        int left = bounds.x + cols.first, top = bounds.y + rows.first;
        Bitmap mask(cols.last - cols.first, rows.last - rows.first);
        {
            Graphics g(mask);
            g.translate(float(-left), float(-top));
            g.fillPath(Brush::solid(colors::white), shape);
        }
        for (int j = rows.first; j < rows.last; ++j) {
            const uint32_t* m = mask.row(j - rows.first);
            const uint32_t* src = layer.row(bounds.y + j);
            uint32_t* dst = image.row(j);
            for (int i = cols.first; i < cols.last; ++i)
                if ((m[i - cols.first] & 0xFFu) == 0xFFu) // the blue byte
                    dst[i] = src[bounds.x + i];
        }
    }
    s.angle = 0;
    s.x = float(bounds.x);
    s.y = float(bounds.y);
    s.width = float(bounds.w);
    s.height = float(bounds.h);
    s.image = std::move(image);
    s.active = true;
    return true;
}

RectF toF(Rect r) {
    return {float(r.x), float(r.y), float(r.w), float(r.h)};
}

} // namespace

bool takeRectangle(Selection& s, Rect r, const Bitmap& layer) {
    Path shape;
    shape.addRectangle(toF(r));
    return take(s, r, layer, shape);
}

// The ellipse goes through a path too: it fills the box symmetrically, row for row.
bool takeEllipse(Selection& s, Rect r, const Bitmap& layer) {
    Path shape;
    shape.addEllipse(toF(r));
    return take(s, r, layer, shape);
}

bool takePath(Selection& s, const Path& path, const Bitmap& layer) {
    if (path.isEmpty())
        return false;
    return take(s, penBounds(path), layer, path);
}

Rect penBounds(const Path& path) {
    // Half a pixel on each side, rounded outwards, is one whole pixel on each side of the
    // integer box.
    Rect b = path.bounds();
    return {b.x - 1, b.y - 1, b.w + 2, b.h + 2};
}

Rect placedBounds(const Selection& s) {
    auto p = placementOf(s);
    if (!p)
        return {};
    return p->turned ? turnedBounds(s, *p) : Rect{p->x0, p->y0, p->w, p->h};
}

void cutOut(const Selection& s, Bitmap& layer) {
    cutOut(s, layer, {0, 0, layer.width(), layer.height()});
}

void cutOut(const Selection& s, Bitmap& layer, Rect within) {
    auto p = placementOf(s);
    if (!p || layer.isNull())
        return;
    within = intersect(within, {0, 0, layer.width(), layer.height()});
    if (!p->turned) {
        // Unturned, the image lands on whole pixels: clear under every pixel that is not
        // fully transparent, as the drawn cover would.
        const Rect box = intersect({p->x0, p->y0, p->w, p->h}, within);
        for (int y = box.y; y < box.y + box.h; ++y) {
            const uint32_t* img = s.image.row(y - p->y0);
            uint32_t* dst = layer.row(y);
            for (int x = box.x; x < box.x + box.w; ++x)
                if ((img[x - p->x0] >> 24) != 0)
                    dst[x] = 0;
        }
        return;
    }
    // Draw the cover only where the turned image can reach.
    const Rect box = intersect(turnedBounds(s, *p), within);
    if (box.empty())
        return;
    Bitmap cover(box.w, box.h);
    {
        Graphics g(cover);
        g.translate(float(-box.x), float(-box.y));
        drawTurned(g, s, *p);
    }
    for (int j = 0; j < cover.height(); ++j) {
        const uint32_t* c = cover.row(j);
        uint32_t* dst = layer.row(box.y + j);
        for (int i = 0; i < cover.width(); ++i)
            if ((c[i] >> 24) != 0)
                dst[box.x + i] = 0;
    }
}

void stamp(const Selection& s, Bitmap& layer) {
    auto p = placementOf(s);
    if (!p || layer.isNull())
        return;
    Graphics g(layer);
    if (p->turned)
        drawTurned(g, s, *p);
    else
        g.drawImage(s.image, p->x0, p->y0, Rect{0, 0, p->w, p->h});
}

void mirrorHorizontal(Selection& s) {
    for (int j = 0; j < s.image.height(); ++j) {
        uint32_t* r = s.image.row(j);
        std::reverse(r, r + s.image.width());
    }
}

void mirrorVertical(Selection& s) {
    int h = s.image.height(), w = s.image.width();
    for (int j = 0; j < h / 2; ++j)
        std::swap_ranges(s.image.row(j), s.image.row(j) + w, s.image.row(h - 1 - j));
}

void copySelection(Selection& s) {
    if (!s.active || s.image.isNull())
        return;
    auto w0 = truncated(s.width), h0 = truncated(s.height);
    if (!w0 || !h0 || *w0 <= 0 || *h0 <= 0)
        return;
    s.copyImage = s.image.copy({0, 0, *w0, *h0});
    s.hasCopy = true;
}

void pasteSelection(Selection& s, int cx, int cy) {
    if (!s.hasCopy || s.copyImage.isNull())
        return;
    s.width = float(s.copyImage.width());
    s.height = float(s.copyImage.height());
    s.image = s.copyImage.clone();
    s.active = true;
    s.lifted = true;
    s.x = float(cx) - s.width / 2;
    s.y = float(cy) - s.height / 2;
}

bool makeTransparencyLock(Selection& lock, const Bitmap& layer) {
    if (!takeRectangle(lock, {0, 0, layer.width(), layer.height()}, layer))
        return false;
    for (int j = 0; j < lock.image.height(); ++j) {
        uint32_t* m = lock.image.row(j);
        for (int i = 0; i < lock.image.width(); ++i)
            m[i] = (m[i] >> 24) == 0 ? colors::white.argb : 0u;
    }
    return true;
}

} // namespace vork
