// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The zoom steps of the canvas and its checkerboard backdrop.
#include "ui/Editor.h"

#include <array>
#include <cmath>

namespace vork {

inline constexpr std::array<float, 29> zoomLevels = {
    0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f, 0.9f, 1,  2,  3,  4,  5, 6,
    7,    8,    9,    10,   11,   12,   13,   14,   15,   16, 17, 18, 19, 20};
inline constexpr int defaultZoomIndex = 9; // 100 %

inline float zoomOf(const ModeState& m) {
    return zoomLevels[size_t(m.zoomIndex)];
}

// Where the zoomed document starts along one axis of the canvas panel: centred, raised to the
// panel's start when larger than the panel, and on a whole screen pixel, so that every picture
// pixel covers exactly zoom screen pixels and none is cut in half at the edges.
inline float centredImageStart(float panelStart, float panelSize, float scaledSize) {
    const float centred = panelStart + panelSize / 2 - scaledSize / 2;
    return std::floor(centred > panelStart ? centred : panelStart);
}

// Zoom steps; each returns whether the index changed.
bool zoomIn(ModeState& m);
bool zoomOut(ModeState& m);
bool zoomReset(ModeState& m);

// What follows a change of the mode's zoom: the Painter's canvas layout places the zoomed
// picture, the Animator's backdrop is rendered again (while an animation exists), and a paint
// is asked for, since the zoom label of this frame may show the old zoom.
void zoomChanged(Editor& e, Mode mode);

// Zooms the mode's canvas by `steps` zoom steps (positive: in), keeping the picture point
// under the pointer where it is on the screen as far as the picture's scroll range allows (a
// picture smaller than the canvas stays centred). True when the zoom changed.
bool zoomAtPointer(Editor& e, Mode mode, int steps);

// The largest zoom step at which the whole document fits the mode's canvas (0 when even the
// smallest does not).
int fittingZoomIndex(const Editor& e, Mode mode);

// Zooms to fittingZoomIndex. True when the zoom changed.
bool zoomToFit(Editor& e, Mode mode);

// Renders the mode's canvas backdrop: grey, with the transparency checkerboard where the
// zoomed document lies.
void rebuildCanvasBackdrop(Editor& e, Mode mode);

// The canvas's layout step, run when the window size, the zoom or the document changes.
// Animator: places the canvas panel, renders its background and, while an animation exists,
// the backdrop. Painter: places the zoomed picture in the view (CanvasGeometry, view
// coordinates, from the size globals) and renders the backdrop.
void layoutCanvas(Editor& e, Mode mode);

} // namespace vork
