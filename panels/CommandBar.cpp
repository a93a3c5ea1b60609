// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/CommandBar.h"

#include "canvas/SelectionTools.h"
#include "model/Composite.h"
#include "panels/DelayPopups.h"
#include "panels/PanelLayout.h"
#include "pixels/SelectionOps.h"
#include "ui/Commands.h"
#include "ui/Keys.h"
#include "ui/Layout.h"
#include "ui/Widgets.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace vork {

namespace {

const Color outlineGrey = Color::rgb(128, 128, 128);
// The dark green of the Animator's mode switch and of the onion frame number.
constexpr Color darkGreen = Color::rgb(10, 90, 50);

// A grey line from x = 9 to 83 with a white one under it.
void groove(Graphics& g, int y) {
    g.drawLine(Pen{outlineGrey}, PointF{9, float(y)}, PointF{83, float(y)});
    g.drawLine(Pen{colors::white}, PointF{9, float(y + 1)}, PointF{83, float(y + 1)});
}

// Unless a place says otherwise, the bar's buttons are 20 x 18.
Rect buttonAt(int x, int y) {
    return {x, y, 20, 18};
}

void modeSwitch(Editor& e, Graphics& g, Mode mode) {
    const bool painter = mode == Mode::Painter;
    // Each bar names the mode it switches to.
    const bool clicked = textButton(e.widgets(), g, {12, 25, 68, 16}, FontKind::Button,
                                    Brush::solid(painter ? colors::black : darkGreen),
                                    painter ? "animator" : "painter");
    if (!clicked && !typed(e.input, key::g))
        return;
    e.selection.drop();
    e.mode(mode).layers.transparencyLock.active = false;
    // The delay pop-ups and the frame drag are the Animator's; the pointer they hold is freed.
    releasePointerCapture(e);
    e.shownMode = painter ? Mode::Animator : Mode::Painter;
    requestModeRepaint(e, mode);
}

void fileButtons(Editor& e, Graphics& g, Mode mode) {
    const bool painter = mode == Mode::Painter;
    const bool hasDocument = e.mode(mode).document != nullptr;
    // Row 1: insert an image, open an image as a picture (Painter) or import a GIF (Animator),
    // export. Inserting and exporting need a document.
    if (iconButton(e.widgets(), g, buttonAt(12, 49), {125, 0, 24, 24}) && hasDocument)
        e.platform.postCommand(painter ? Command::InsertImagePainter
                                       : Command::InsertImageAnimator);
    if (iconButton(e.widgets(), g, buttonAt(36, 49), {50, 0, 24, 24}))
        e.platform.postCommand(painter ? Command::OpenImageAsPicture : Command::ImportGif);
    if (iconButton(e.widgets(), g, buttonAt(60, 49), {75, 0, 24, 24}) && hasDocument)
        e.platform.postCommand(painter ? Command::ExportPicture : Command::ExportPng);
    groove(g, 70);
    // Row 2: new, open, save. Each posts its command: its chooser or dialog opens after this
    // paint, never inside it.
    if (iconButton(e.widgets(), g, buttonAt(12, 74), {0, 0, 24, 24}))
        e.platform.postCommand(painter ? Command::NewPicture : Command::NewAnimation);
    if (iconButton(e.widgets(), g, buttonAt(36, 74), {25, 0, 24, 24}))
        e.platform.postCommand(painter ? Command::OpenPicture : Command::OpenAnimation);
    // Saving needs a document; without one the button does nothing.
    if (iconButton(e.widgets(), g, buttonAt(60, 74), {100, 0, 24, 24}) && hasDocument)
        e.platform.postCommand(painter ? Command::SavePicture : Command::SaveAnimation);
}

// Three ToolButtons side by side from x, 24 pixels apart; a click makes its tool current.
void toolRow(Editor& e, Graphics& g, int x, int y, std::array<Tool, 3> tools) {
    for (size_t k = 0; k < tools.size(); ++k) {
        const Tool tool = tools[k];
        const ToolButton& b = buttonOf(e, tool);
        if (toolButton(e.widgets(), g, b, buttonAt(x + 24 * int(k), y), int(e.currentTool)))
            e.currentTool = tool;
    }
}

void alphaBox(Editor& e, Graphics& g, int y) {
    const Rect box{11, y, 69, 18};
    g.fillRect(
        Brush::hatch(HatchStyle::LargeCheckerBoard, Color::rgb(220, 220, 220), colors::white), box);
    g.fillRect(Brush::solid(alphaBoxColor(e)), box);
    g.drawRect(Pen{outlineGrey}, box);
    g.drawText(alphaBoxLabel(e), FontKind::Small, Brush::solid(colors::black),
               RectF{11, float(y), 69, 18}, Align::Center);
}

void alphaSlider(Editor& e, Graphics& g, int y0) {
    ColourState& c = e.colour;
    g.drawRect(Pen{outlineGrey}, Rect{10, y0 - 111, 70, 2});
    const float v = horizontalSlider(e.widgets(), g, RectF{10, float(y0 - 115), 70, 10}, 255, 1,
                                     float(c.drawAlpha));
    c.drawAlpha = std::clamp(int(v), 0, 255);
    c.alphaColor = c.currentColor.withAlpha(c.drawAlpha);
}

// The transforms act only on an active Selection. The first one lifts it off the current
// layer with one undo state; later ones of the same lifted Selection record nothing.
void selectionTransforms(Editor& e, Graphics& g, Mode mode, int y0) {
    Selection& s = e.selection;
    const int y = y0 - 166;
    const bool mirrorLeftRight = iconButton(e.widgets(), g, buttonAt(11, y), {0, 150, 22, 20});
    const bool mirrorTopBottom = iconButton(e.widgets(), g, buttonAt(35, y), {25, 150, 22, 20});
    const bool nextRotationPreset = iconButton(e.widgets(), g, buttonAt(59, y), {50, 150, 22, 20});
    if (s.active && (mirrorLeftRight || mirrorTopBottom || nextRotationPreset)) {
        liftSelection(e, mode);
        if (mirrorLeftRight)
            mirrorHorizontal(s);
        if (mirrorTopBottom)
            mirrorVertical(s);
        if (nextRotationPreset) {
            constexpr std::array<float, 8> rotationPresets{0, 45, 90, 135, 180, 225, 270, 315};
            e.rotationPresetIndex = (e.rotationPresetIndex + 1) % int(rotationPresets.size());
            s.angle = rotationPresets[size_t(e.rotationPresetIndex)];
        }
    }

    g.drawRect(Pen{outlineGrey}, Rect{10, y0 - 177, 71, 2});
    const int shownAngle = int(s.angle);
    const int angle = int(horizontalSlider(e.widgets(), g, RectF{10, float(y0 - 181), 71, 10}, 360,
                                           1, float(shownAngle)));
    if (s.active) {
        if (angle != shownAngle)
            liftSelection(e, mode);
        s.angle = float(angle);
    }
}

void lowerPart(Editor& e, Graphics& g, Mode mode, int H) {
    const int y0 = H - 115;
    alphaBox(e, g, y0);
    groove(g, y0 - 5);
    toolRow(e, g, 12, y0 - 26, {Tool::ColourPick, Tool::FloodFill, Tool::Pencil});
    toolRow(e, g, 12, y0 - 48, {Tool::Ellipse, Tool::PixelRectangle, Tool::PixelLine});
    groove(g, y0 - 53);
    toolRow(e, g, 12, y0 - 76, {Tool::SmoothEllipse, Tool::SmoothLine, Tool::SmoothPencil});
    toolRow(e, g, 12, y0 - 98, {Tool::FilledEllipse, Tool::FilledRectangle, Tool::FilledFreehand});
    alphaSlider(e, g, y0);
    groove(g, y0 - 120);
    toolRow(e, g, 11, y0 - 144, {Tool::EllipseSelection, Tool::RectangleSelection, Tool::Lasso});
    selectionTransforms(e, g, mode, y0);
    groove(g, y0 - 186);
}

const Frame* frameNumbered(const Document& d, int number) {
    for (const Frame& f : d.frames())
        if (f.number == number)
            return &f;
    return nullptr;
}

// Animator only, while an animation exists.
void onionSkinBox(Editor& e, Graphics& g, int H) {
    ModeState& m = e.mode(Mode::Animator);
    Document& animation = *m.document;
    const bool singleLayerView = m.layers.singleLayerView;
    const int S = H - 5;
    OnionSkin& onion = e.animator.onion;
    g.drawRect(Pen{outlineGrey}, Rect{16, S - 75, 2, 68});
    e.animator.onionSkinOpacity = verticalSlider(e.widgets(), g, RectF{10, float(S - 74), 14, 68},
                                                 100, 1, e.animator.onionSkinOpacity);
    g.drawRect(Pen{outlineGrey}, Rect{28, S - 56, 51, 51});

    const Rect onSwitch{29, S - 75, 23, 14};
    if (toolButton(e.widgets(), g, buttonOf(e, SwitchButton::OnOff), onSwitch, onion.on ? 1 : 0) ||
        typed(e.input, key::w)) {
        const bool wasOn = onion.on;
        onion.on = !wasOn;
        // With a single frame the builder switches the onion skin off again.
        if (!wasOn)
            rebuildOnionSkin(animation, onion, singleLayerView);
        e.requestRepaint();
    }
    const Rect greySwitch{55, S - 75, 23, 14};
    if (toolButton(e.widgets(), g, buttonOf(e, SwitchButton::OnionGrey), greySwitch,
                   onion.grey ? 1 : 0) ||
        typed(e.input, key::e)) {
        onion.grey = !onion.grey;
        if (onion.on)
            rebuildOnionSkin(animation, onion, singleLayerView);
        e.requestRepaint();
    }

    if (!onion.on)
        return;
    if (const Frame* source = frameNumbered(animation, onion.frameNumber)) {
        const Bitmap& t = source->thumbnail;
        g.drawImage(t, 29, S - 55, Rect{0, 0, std::min(t.width(), 50), std::min(t.height(), 50)});
    }
    if (e.animator.playState == PlayState::Stopped) {
        g.fillRect(Brush::solid(Color::rgb(240, 240, 240)), Rect{54, S - 20, 25, 15});
        char number[16];
        std::snprintf(number, sizeof number, "%d", onion.frameNumber);
        g.drawText(number, FontKind::Small, Brush::solid(darkGreen),
                   RectF{54, float(S - 20), 26, 15}, Align::Far);
    }
}

} // namespace

int commandBarHeight(const Editor& e, Mode mode) {
    return layoutOf(e, mode).commandBar.h;
}

Color alphaBoxColor(const Editor& e) {
    return toolInk(e, e.currentTool);
}

std::string alphaBoxLabel(const Editor& e) {
    char label[16];
    std::snprintf(label, sizeof label, "a: %d", int(alphaBoxColor(e).a()));
    return label;
}

void drawCommandBar(Editor& e, Graphics& g, Mode mode) {
    const int H = commandBarHeight(e, mode);
    drawBackground(e, g, mode, Background::CommandBar);

    modeSwitch(e, g, mode);
    groove(g, 45);
    fileButtons(e, g, mode);
    groove(g, 95);
    lowerPart(e, g, mode, H);

    if (mode == Mode::Animator && e.animation())
        onionSkinBox(e, g, H);
}

} // namespace vork
