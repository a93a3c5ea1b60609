#pragma once
// Fits the panels to the client size and renders their background images.
#include "app/Editor.h"

namespace vork {

// The rectangles of the Animator panels for a client area of R x B; every one has a lower
// bound, so a small window keeps the panels at their start-up size.
struct AnimatorLayout {
    Rect commandBar, right, canvas, palette, picker, frame;
};
AnimatorLayout animatorLayout(int R, int B);

void layoutCommandBar(Editor& e);
void layoutRightPanel(Editor& e);
void layoutCanvasPanel(Editor& e);
void layoutPalettePanel(Editor& e);
void layoutPickerPanel(Editor& e);
void layoutFramePanel(Editor& e);
void layoutPainterCanvas(Editor& e);

// The six Animator steps in their order (start-up), and all seven (every size change).
void layoutAnimatorPanels(Editor& e);
void layoutAll(Editor& e);

} // namespace vork
