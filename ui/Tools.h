// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What each drawing tool is, in one table: the face of its button on the tool sheet, the colour
// it paints with, how it follows the pointer, the shape it makes and how that shape is drawn.
// The tool engine, the shape drawing, the canvas previews, the command bar and the start-up all
// read this table; none of them lists the tools again.
//
// The tool sheet also gives the faces of the buttons that are not tools (the playback buttons
// and the on/off switches). They follow the tools in Editor::toolButtons and are named here.
#include "gfx/Color.h"
#include "gfx/Geometry.h"

#include <array>
#include <cstddef>

namespace vork {

class Editor;
struct ToolButton;

// The drawing tools by their numbers; a tool's button is drawn pressed while its number is the
// current tool's.
enum class Tool {
    None = 0, // a colour picker is open
    Pencil = 1,
    FloodFill = 2,
    ColourPick = 3,
    Lasso = 4,
    RectangleSelection = 5,
    EllipseSelection = 6,
    PixelLine = 7,
    PixelRectangle = 8,
    Ellipse = 9,
    SmoothPencil = 10,
    SmoothLine = 11,
    SmoothEllipse = 12,
    FilledFreehand = 13,
    FilledRectangle = 14,
    FilledEllipse = 15,
};
// The highest tool number: a new tool takes the next one and moves this along.
inline constexpr Tool lastTool = Tool::FilledEllipse;

// The colour a tool paints with: the drawing colour as it is, or the drawing colour at the
// alpha slider's alpha. The command bar's alpha box shows it.
enum class Ink { Current, Alpha };

// How a tool follows the pointer.
enum class Gesture {
    None,     // no tool: the canvas does nothing with the pointer
    Freehand, // follows the pointer while the button is held
    TwoPoint, // from the press to the release
    Fill,     // fills the area under the pointer while the button is held
    Pick,     // takes the colour under the pointer
    Select,   // takes the shape's pixels as a floating selection
};

// What a tool makes: a stroke along the pointer; a line, a rectangle or an ellipse between the
// two points of a drag; or a polygon along the pointer, closed on release.
enum class Shape { None, Stroke, Line, Rectangle, Ellipse, Polygon };

// Hard shapes set whole pixels; smooth ones are anti-aliased.
enum class Edge { Hard, Smooth };

// A shape's one-pixel outline or its inside.
enum class Body { Outline, Filled };

struct ToolRow {
    Tool tool;
    Rect face; // the cell of the tool sheet its button shows
    Ink ink;
    Gesture gesture;
    Shape shape;
    Edge edge;
    Body body;
};

// One row per tool. The tool buttons are made in this order.
inline constexpr auto toolTable = std::to_array<ToolRow>({
    // clang-format off
    // tool                    face                ink           gesture            shape             edge          body
    {Tool::Pencil,             {75, 75, 24, 24},   Ink::Current, Gesture::Freehand, Shape::Stroke,    Edge::Hard,   Body::Outline},
    {Tool::FloodFill,          {0, 75, 24, 24},    Ink::Current, Gesture::Fill,     Shape::None,      Edge::Hard,   Body::Filled},
    {Tool::ColourPick,         {25, 75, 24, 24},   Ink::Current, Gesture::Pick,     Shape::None,      Edge::Hard,   Body::Outline},
    {Tool::Lasso,              {125, 125, 24, 24}, Ink::Current, Gesture::Select,   Shape::Polygon,   Edge::Hard,   Body::Filled},
    {Tool::RectangleSelection, {100, 125, 24, 24}, Ink::Current, Gesture::Select,   Shape::Rectangle, Edge::Hard,   Body::Filled},
    {Tool::EllipseSelection,   {75, 125, 24, 24},  Ink::Current, Gesture::Select,   Shape::Ellipse,   Edge::Hard,   Body::Filled},
    {Tool::PixelLine,          {100, 75, 24, 24},  Ink::Current, Gesture::TwoPoint, Shape::Line,      Edge::Hard,   Body::Outline},
    {Tool::PixelRectangle,     {150, 75, 24, 24},  Ink::Current, Gesture::TwoPoint, Shape::Rectangle, Edge::Hard,   Body::Outline},
    {Tool::Ellipse,            {125, 75, 24, 24},  Ink::Current, Gesture::TwoPoint, Shape::Ellipse,   Edge::Hard,   Body::Outline},
    {Tool::SmoothPencil,       {50, 75, 24, 24},   Ink::Alpha,   Gesture::Freehand, Shape::Stroke,    Edge::Smooth, Body::Outline},
    {Tool::SmoothLine,         {100, 75, 24, 24},  Ink::Alpha,   Gesture::TwoPoint, Shape::Line,      Edge::Smooth, Body::Outline},
    {Tool::SmoothEllipse,      {125, 75, 24, 24},  Ink::Alpha,   Gesture::TwoPoint, Shape::Ellipse,   Edge::Smooth, Body::Outline},
    {Tool::FilledFreehand,     {50, 125, 22, 22},  Ink::Alpha,   Gesture::Freehand, Shape::Polygon,   Edge::Hard,   Body::Filled},
    {Tool::FilledRectangle,    {25, 125, 24, 22},  Ink::Alpha,   Gesture::TwoPoint, Shape::Rectangle, Edge::Hard,   Body::Filled},
    {Tool::FilledEllipse,      {0, 125, 24, 22},   Ink::Alpha,   Gesture::TwoPoint, Shape::Ellipse,   Edge::Hard,   Body::Filled},
    // clang-format on
});

// What Tool::None, and a number no tool has, is: nothing on the canvas, the drawing colour in
// the alpha box.
inline constexpr ToolRow noToolRow{.tool = Tool::None,
                                   .face = {},
                                   .ink = Ink::Current,
                                   .gesture = Gesture::None,
                                   .shape = Shape::None,
                                   .edge = Edge::Hard,
                                   .body = Body::Outline};

constexpr const ToolRow& toolRow(Tool t) {
    for (const ToolRow& row : toolTable)
        if (row.tool == t)
            return row;
    return noToolRow;
}

// The colour the tool paints with: e.colour.currentColor or e.colour.alphaColor.
Color toolInk(const Editor& e, Tool t);

// The buttons of the tool sheet that are not tools, in their order after the tools.
enum class SwitchButton {
    Stop,      // playback; pressed while stopped
    Backward,  // pressed while playing backwards
    Forward,   // pressed while playing forwards
    Loop,      // the frame strip's loop switch
    OnOff,     // the onion skin's on/off switch, a frame's and a layer's visibility
    OnionGrey, // the onion skin's grey switch
};

struct SwitchButtonRow {
    SwitchButton button;
    Rect face;
    int id; // the watched value at which the button is drawn pressed
};

inline constexpr auto switchButtonTable = std::to_array<SwitchButtonRow>({
    {SwitchButton::Stop, {100, 25, 24, 24}, 0},
    {SwitchButton::Backward, {125, 25, 24, 24}, 1},
    {SwitchButton::Forward, {150, 25, 24, 24}, 2},
    {SwitchButton::Loop, {150, 50, 22, 24}, 1},
    {SwitchButton::OnOff, {100, 50, 24, 24}, 1},
    {SwitchButton::OnionGrey, {100, 150, 24, 24}, 1},
});

// Editor::toolButtons holds the tools in the order of the tool table, then the other buttons in
// the order of theirs.
inline constexpr size_t toolButtonCount = toolTable.size() + switchButtonTable.size();

constexpr size_t buttonIndex(Tool t) {
    for (size_t i = 0; i < toolTable.size(); ++i)
        if (toolTable[i].tool == t)
            return i;
    return toolButtonCount; // no button
}
constexpr size_t buttonIndex(SwitchButton b) {
    for (size_t i = 0; i < switchButtonTable.size(); ++i)
        if (switchButtonTable[i].button == b)
            return toolTable.size() + i;
    return toolButtonCount;
}

// The button made at the start for the tool or the switch.
const ToolButton& buttonOf(const Editor& e, Tool t);
const ToolButton& buttonOf(const Editor& e, SwitchButton b);

} // namespace vork
