// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Images in and out from the command bar and the menu: inserting an image as a pasted
// Selection, opening an image as a new picture, importing the frames of a GIF as a new
// animation, and exporting the picture or the animation's frames as PNG files.
//
// Each shows its own chooser (with its own remembered name in editor.chooserNames) with input
// disabled. A file that cannot be loaded or written is named in a message box with the reason,
// and leaves the documents and the Selection as they were. Every export first asks for its
// scale (askExportScale); cancelling that dialog cancels the export.
#include "ui/Editor.h"

namespace vork {

// The command bar's insertion: while the mode has a document, the chosen image becomes the
// Selection's copy, and is pasted, lifted, centred on the middle of the visible part of the
// canvas, with the rectangle selection as the tool.
bool insertImage(Editor& e, Mode mode);

// The menu's insertion: while either document exists, the chosen image only becomes the
// Selection's copy, for the paste key, with the rectangle selection as the tool.
bool loadImageForPaste(Editor& e);

// The chosen image replaces the picture as a new picture of its size.
bool openImageAsNewPicture(Editor& e);

// The frames of the chosen GIF replace the animation, every frame lasting 100 ms.
bool importGifAnimation(Editor& e);

// While a picture exists: its composite (visible layers, or the one viewed alone, each with its
// opacity) as a PNG file under the chosen name with ".png" in place of its extension.
bool exportPictureFile(Editor& e);

// While an animation exists: its enabled frames as base + "%03d" + ".png", numbered without
// gaps.
bool exportFrameFiles(Editor& e);

// While an animation exists: its enabled frames, composed as the frames export composes them,
// as one animated GIF that loops, each frame with its own delay.
bool exportGifFile(Editor& e);

// While an animation exists: the same frames as the GIF export, as one animated WebP that
// loops, lossless with full alpha, each frame with its own delay.
bool exportWebpFile(Editor& e);

// While an animation exists: its enabled frames in one PNG sheet, as square as possible, with
// a JSON file of the frames' rectangles and delays beside it.
bool exportSpriteSheetFile(Editor& e);

} // namespace vork
