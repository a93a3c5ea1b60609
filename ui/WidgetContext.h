// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the widgets need of the window: this frame's input, the client area, the platform and
// the tool sheet their faces come from. Nothing else of the Editor reaches them.
#include "gfx/Bitmap.h"
#include "ui/InputState.h"
#include "ui/Platform.h"

namespace vork {

struct WidgetContext {
    InputState& input;
    int clientWidth, clientHeight;
    Platform& platform;
    const Bitmap& toolSheet;

    // Invalidates the window unless a modal dialog or chooser is open.
    void requestRepaint() const {
        if (input.inputEnabled)
            platform.invalidate();
    }
};

} // namespace vork
