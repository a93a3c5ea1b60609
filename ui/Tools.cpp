// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Tools.h"

#include "ui/Editor.h"

namespace vork {

Color toolInk(const Editor& e, Tool t) {
    return toolRow(t).ink == Ink::Alpha ? e.colour.alphaColor : e.colour.currentColor;
}

const ToolButton& buttonOf(const Editor& e, Tool t) {
    return e.toolButtons.at(buttonIndex(t));
}

const ToolButton& buttonOf(const Editor& e, SwitchButton b) {
    return e.toolButtons.at(buttonIndex(b));
}

} // namespace vork
