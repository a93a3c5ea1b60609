// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two modes of the window. Most of the interface exists once per mode; functions that
// serve both take the mode and branch where the two really differ.
namespace vork {

enum class Mode { Painter = 0, Animator = 1 };

} // namespace vork
