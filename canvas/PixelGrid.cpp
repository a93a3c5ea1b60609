// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvas/PixelGrid.h"

#include "canvas/CanvasView.h"

#include <cmath>

namespace vork {

namespace {
// Dark enough to show on light pixels and on the checkerboard, light enough to leave dark ones
// readable.
const Color gridColour = Color::fromArgb(96, 0, 0, 0);
} // namespace

bool pixelGridAvailable(const Editor& e, Mode mode) {
    return zoomOf(e.mode(mode)) >= pixelGridMinZoom;
}

std::vector<int> pixelGridLines(const CanvasPlacement& p, bool along) {
    // The inverse of the pointer mapping (canvasPlacement): the pointer at window position m
    // points at picture position (m - start) / zoom + offset, so picture pixel k begins at
    // start + (k - offset) * zoom, a whole screen pixel when enlarged (the origin and the
    // scroll shift are whole there).
    const float start = along ? p.imageLeft : p.imageTop;
    const float offset = along ? p.offsetX : p.offsetY;
    const float shown = along ? p.visibleWidth : p.visibleHeight;
    std::vector<int> lines;
    if (p.zoom <= 0 || shown <= 0)
        return lines;
    // Lines only between pixels of the picture: none after its last column or row.
    const float end = offset + shown / p.zoom;
    const int first = int(std::floor(offset)) + 1;
    for (int k = first; float(k) < end; ++k) {
        const float edge = start + (float(k) - offset) * p.zoom;
        const int column = int(std::round(edge));
        if (float(column) >= start + shown)
            break;
        if (float(column) > start)
            lines.push_back(column);
    }
    return lines;
}

void drawPixelGrid(const Editor& e, Graphics& g, Mode mode, const CanvasPlacement& p) {
    if (!e.view.pixelGrid || !pixelGridAvailable(e, mode) || !e.mode(mode).document)
        return;
    const Brush brush = Brush::solid(gridColour);
    const float top = p.imageTop, left = p.imageLeft;
    for (int x : pixelGridLines(p, true))
        g.fillRect(brush, RectF{float(x), top, 1, p.visibleHeight});
    for (int y : pixelGridLines(p, false))
        g.fillRect(brush, RectF{left, float(y), p.visibleWidth, 1});
}

} // namespace vork
