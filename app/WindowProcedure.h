// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the window does with each event: input only records state and asks for a paint;
// commands run dialogs with input disabled around them.
#include "ui/Commands.h"
#include "ui/Editor.h"

#include <cstdint>
#include <iostream>
#include <string>

namespace vork {

void onPointerMove(Editor& e, int x, int y);
void onLeftButtonDown(Editor& e);
void onLeftButtonUp(Editor& e);
// Whether the window must paint once more with the button still down before it hands on a
// release: a move that came after the last paint would otherwise reach the tools with the
// button already up, and the last segment of a quick stroke would never be drawn.
bool paintBeforeRelease(const Editor& e);
void onRightButtonDown(Editor& e);
// A typed character: read by the next paint, or, when that paint already has one, queued for a
// paint of its own after it.
void onCharacter(Editor& e, uint8_t codePage1251Byte);
void onKey(Editor& e);              // key down or up: the panels query held keys themselves
void onWheel(Editor& e, int steps); // whole wheel steps, away from the user positive
void onResize(Editor& e, int clientWidth, int clientHeight);
void onCommand(Editor& e, Command id);
// What closes the window: its close button or the menu, or a termination signal (a logout, a
// kill), when nobody may be there to answer a message box.
enum class CloseCause { Window, Signal };

// The window is being destroyed: saves the settings and both default palettes, and keeps a
// copy of every document with unsaved changes for the next start. A file that could not be
// written is named on `err` and, unless a signal closes the program, shown in a message box.
// Returns whether all were written.
bool onDestroy(Editor& e, CloseCause cause = CloseCause::Window, std::ostream& err = std::cerr);

// Opens a file named when the program was started, in its mode, and shows that mode. A file
// that cannot be read is said in a message box, as from the command bar; so is a file that would
// replace a document just restored with unsaved work, which it then does not replace.
bool openFileAtStart(Editor& e, Mode mode, const std::string& path);

// The typed-character byte of a Unicode character, or nothing when it has none.
bool characterByte(char32_t c, uint8_t& byte);

} // namespace vork
