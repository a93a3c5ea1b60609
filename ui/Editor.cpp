#include "ui/Editor.h"

namespace vork {

void requestModeRepaint(Editor& e, Mode mode) {
    if (mode == Mode::Animator)
        e.requestRepaint();
    else
        e.mode(mode).redrawRequest = true;
}

float& documentWidth(Editor& e, Mode mode) {
    return mode == Mode::Painter ? e.sizes.pictureWidth : e.sizes.animationWidth;
}

float& documentHeight(Editor& e, Mode mode) {
    return mode == Mode::Painter ? e.sizes.pictureHeight : e.sizes.animationHeight;
}

} // namespace vork
