// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/LayerPanel.h"

#include "commands/LayerCommands.h"
#include "ui/Keys.h"
#include "ui/Layout.h"
#include "ui/Tools.h"
#include "ui/Widgets.h"

#include <cstdio>

namespace vork {

namespace {

constexpr int rowHeight = 40, rowWidth = 182;
const Color rowLineGrey = Color::rgb(128, 128, 128);
const Color separatorGrey = Color::rgb(80, 80, 80);
const Color currentRowBlue = Color::rgb(0, 0, 139);
const Color opacityBlue = Color::rgb(60, 60, 100);
constexpr Color lockRed = Color::rgb(255, 0, 0);
// Each button of the row under the list, with the cell of the tool sheet its face comes from.
struct LayerButtonFace {
    LayerButton button;
    Rect cell;
};
constexpr LayerButtonFace layerButtons[] = {
    {LayerButton::Delete, {50, 50, 24, 23}},      {LayerButton::New, {0, 50, 24, 23}},
    {LayerButton::Duplicate, {75, 50, 24, 23}},   {LayerButton::Clear, {25, 50, 24, 23}},
    {LayerButton::MergeDown, {150, 100, 24, 23}}, {LayerButton::Lock, {125, 50, 24, 23}},
};

bool insideInclusive(const InputState& in, Rect r) {
    return r.x <= in.mouseX && in.mouseX < r.x + r.w && r.y <= in.mouseY && in.mouseY < r.y + r.h;
}

// The rows see the pointer only inside the list area: a row scrolled under the button row or
// the box's edge must not take a click meant for what lies there. While the pointer is
// outside, the rows are drawn with it moved off the window.
class RowPointer {
  public:
    RowPointer(InputState& in, Rect listArea) : in_(in), x_(in.mouseX), y_(in.mouseY) {
        if (!insideInclusive(in, listArea)) {
            in_.mouseX = -1;
            in_.mouseY = -1;
        }
    }
    ~RowPointer() {
        in_.mouseX = x_;
        in_.mouseY = y_;
    }
    RowPointer(const RowPointer&) = delete;
    RowPointer& operator=(const RowPointer&) = delete;

  private:
    InputState& in_;
    int x_, y_;
};

void buttonRow(Editor& e, Graphics& g, Mode mode, const ColumnLayout& c) {
    const int X = c.rect.x, y = c.buttonRowY;
    const Pen separator{separatorGrey};
    for (int lineX = 10; lineX <= 190; lineX += 30)
        g.drawLine(separator, PointF{float(X + lineX), float(c.lineYs[1])},
                   PointF{float(X + lineX), float(c.lineYs[2])});
    ModeState& m = e.mode(mode);
    if (m.layers.transparencyLock.active) {
        // The lock's mark; the Animator's covers one pixel more each way.
        const Rect mark =
            mode == Mode::Painter ? Rect{X + 161, y, 29, 14} : Rect{X + 161, y, 30, 15};
        g.fillRect(Brush::solid(lockRed), mark);
    }
    int x = 11;
    for (const LayerButtonFace& face : layerButtons) {
        if (iconButton(e.widgets(), g, {X + x, y, 28, 15}, face.cell))
            runLayerButton(e, mode, face.button);
        x += 30;
    }
}

// The two hold buttons and the scroll bar at the list's right edge. layerScroll is the offset
// of the rows in pixels; the bar keeps it within the rows (0 while all rows fit).
void scrollControls(Editor& e, Graphics& g, Mode mode, const ColumnLayout& c, int rows) {
    LayerPanelState& l = e.mode(mode).layers;
    const int X = c.rect.x;
    if (holdButton(e.widgets(), g, {X + 193, c.buttonRowY - 1, 15, 15}, {75, 100, 23, 23}))
        l.layerScroll -= 10;
    if (holdButton(e.widgets(), g, {X + 193, 238, 15, 15}, {50, 100, 23, 23}))
        l.layerScroll += 10;
    const float listHeight = float(c.listArea.h);
    const RectF bar{float(X + 193), 254, 15, listHeight - 17};
    l.layerScroll = int(verticalScrollBar(e.widgets(), g, bar, float(rows) * rowHeight, listHeight,
                                          float(l.layerScroll)));
}

struct RowContext {
    Mode mode;
    Rect listArea;
};

// The row's look: the current row's blue, the grid lines, the thumbnail and the caption.
void drawRowFace(Graphics& g, const RowContext& rc, Rect row, const Layer& layer, bool isCurrent) {
    const bool painter = rc.mode == Mode::Painter;
    const int x = row.x, y = row.y;
    const Color caption = isCurrent ? colors::white : colors::black;
    if (isCurrent) {
        // The Animator's blue starts one pixel further right.
        const int left = painter ? 40 : 41;
        g.fillRect(Brush::solid(currentRowBlue), Rect{x + left, y, rowWidth - left, rowHeight});
    }
    const Pen line{rowLineGrey};
    g.drawLine(line, PointF{float(x), float(y)}, PointF{float(x + rowWidth), float(y)});
    for (int column : {40, 80})
        g.drawLine(line, PointF{float(x + column), float(y)},
                   PointF{float(x + column), float(y + rowHeight)});
    g.drawImage(layer.thumbnail, x + 85, y + 5);
    g.drawRect(Pen{caption}, Rect{x + 85, y + 5, 30, 30});
    char text[32];
    std::snprintf(text, sizeof text, "Слой %d", layer.id);
    // The Animator's caption starts five pixels further right.
    const int captionX = x + (painter ? 125 : 130);
    g.drawText(text, FontKind::Small, Brush::solid(caption),
               RectF{float(captionX), float(y), 92, float(rowHeight)}, Align::Near);
}

// The visibility switch and the switch that shows the layer alone.
void rowSwitches(Editor& e, Graphics& g, const RowContext& rc, Rect row, Layer& layer) {
    ModeState& m = e.mode(rc.mode);
    LayerPanelState& l = m.layers;
    const int x = row.x, y = row.y;
    const Rect visibility{x + 8, y + 13, 20, 14};
    if (toolButton(e.widgets(), g, buttonOf(e, SwitchButton::OnOff), visibility,
                   layer.visible ? 1 : 0) &&
        !l.singleLayerView)
        toggleLayerVisibility(e, rc.mode, layer);
    if (!layer.visible || l.singleLayerView) {
        g.fillRect(Brush::solid(Color::rgb(230, 230, 230)), visibility);
        g.drawRect(Pen{rowLineGrey}, visibility);
    }
    const Rect alone{x + 50, y + 13, 20, 14};
    if (iconButton(e.widgets(), g, alone, {0, 0, 0, 0}))
        toggleLayerShownAlone(e, rc.mode, layer);
    if (l.singleLayerView && l.viewedLayer == layer.serial) {
        g.fillRect(Brush::solid(colors::white), alone);
        g.drawImage(e.toolSheet, x + 50, y + 13, Rect{102, 54, 20, 14});
    }
    g.drawRect(Pen{rowLineGrey}, alone);
}

// A press right of the switch column picks the layer and starts a drag; over a row during a
// drag the red mark shows where the layer would go, and a release there moves it.
void rowPointer(Editor& e, Graphics& g, const RowContext& rc, Rect row, Layer& layer) {
    ModeState& m = e.mode(rc.mode);
    LayerDrag& drag = m.layers.layerDrag;
    const InputState& in = e.input;
    const bool overRow = pointerInside(in, row);
    const bool overPickArea = overRow && in.mouseX > row.x + 40;
    if (in.mouseDown && !drag.active && overPickArea) {
        pickLayer(e, rc.mode, layer);
        // The Animator reorders only while playback is stopped.
        if (rc.mode == Mode::Painter || e.animator.playState == PlayState::Stopped)
            drag = {true, in.mouseX, in.mouseY, layer.serial};
        return;
    }
    if (!drag.active || !overRow)
        return;
    // Below the target when the pointer is lower than where the drag started, else above.
    const DropPlace place = in.mouseY > drag.startY ? DropPlace::Below : DropPlace::Above;
    if (in.mouseDown) {
        const float markY = float(place == DropPlace::Below ? row.y + rowHeight : row.y);
        g.drawRect(Pen{lockRed, 2}, RectF{float(row.x), markY, float(rowWidth), 2});
        return;
    }
    drag.active = false;
    moveDraggedLayer(e, rc.mode, drag.layer, layer.serial, place);
}

// One row at its place in the list; index 0 is the bottom layer.
void layerRow(Editor& e, Graphics& g, const RowContext& rc, Rect row, Layer& layer,
              bool isCurrent) {
    drawRowFace(g, rc, row, layer, isCurrent);
    rowSwitches(e, g, rc, row, layer);
    rowPointer(e, g, rc, row, layer);
}

// The rows from the bottom layer up, clipped to the list area. Rows wholly outside it are
// skipped: they can be neither seen nor reached.
void layerList(Editor& e, Graphics& g, Mode mode, const ColumnLayout& c) {
    ModeState& m = e.mode(mode);
    Frame& f = m.document->current();
    const Rect area = c.listArea;
    const RowContext rc{mode, area};
    Graphics::State state(g);
    Path clip;
    clip.addRectangle(RectF{float(area.x), float(area.y), float(area.w), float(area.h)});
    g.setClip(clip);
    RowPointer pointer(e.input, area);
    const int bottomRowY = c.listBottom - rowHeight + m.layers.layerScroll;
    // The current layer is looked up by serial: a row may change the list.
    for (int i = 0; i < f.layerCount(); ++i) {
        const Rect row{area.x, bottomRowY - rowHeight * i, rowWidth, rowHeight};
        if (row.y + rowHeight < area.y || row.y > area.y + area.h)
            continue;
        Layer& layer = f.layer(i);
        layerRow(e, g, rc, row, layer, i == f.currentLayerIndex());
    }
}

// The R key shows or hides the current layer, wherever its row is scrolled to. The Painter
// takes it only while all layers are shown; the Animator always.
void visibilityKey(Editor& e, Mode mode) {
    ModeState& m = e.mode(mode);
    if (!typed(e.input, key::r))
        return;
    if (mode == Mode::Painter && m.layers.singleLayerView)
        return;
    toggleLayerVisibility(e, mode, m.document->currentLayer());
}

// A drag ends on any release, also outside every row, and when its layer is gone (deleted,
// merged, or the frame changed under it).
void endStaleDrag(Editor& e, Mode mode) {
    ModeState& m = e.mode(mode);
    LayerDrag& drag = m.layers.layerDrag;
    if (!drag.active)
        return;
    if (!e.input.mouseDown || !m.document || m.document->current().layerWithSerial(drag.layer) < 0)
        drag.active = false;
}

// The current layer's opacity: its value, a slider and a button that makes it opaque.
void opacityBox(Editor& e, Graphics& g, Mode mode, const ColumnLayout& c) {
    const int X = c.rect.x, y = c.opacityBoxY;
    const Pen outline{opacityBlue};
    g.fillRect(Brush::solid(Color::rgb(200, 200, 240)), Rect{X + 10, y, 198, 18});
    g.drawRect(outline, Rect{X + 10, y, 198, 18});
    g.fillRect(Brush::solid(colors::white), Rect{X + 10, y, 50, 18});
    g.drawRect(outline, Rect{X + 10, y, 50, 18});
    g.drawRect(outline, Rect{X + 65, y + 8, 100, 2});
    ModeState& m = e.mode(mode);
    if (!m.document)
        return;
    const Layer& layer = m.document->currentLayer();
    char text[32];
    std::snprintf(text, sizeof text, " a: %d", layer.opacity);
    g.drawText(text, FontKind::Small, Brush::solid(colors::black),
               RectF{float(X + 10), float(y), 50, 18});
    const float v = horizontalSlider(e.widgets(), g, RectF{float(X + 65), float(y + 3), 100, 11},
                                     255, 1, float(layer.opacity));
    int opacity = int(v);
    if (iconButton(e.widgets(), g, {X + 174, y + 2, 30, 14}, {150, 125, 22, 22}))
        opacity = 255;
    setLayerOpacity(e, mode, opacity);
}

} // namespace

void drawLayerPanel(Editor& e, Graphics& g, Mode mode) {
    const ColumnLayout c = layoutOf(e, mode).column;
    // The box, the track and the lines come with the column's background in both modes.
    buttonRow(e, g, mode, c);
    const Document* doc = e.mode(mode).document.get();
    scrollControls(e, g, mode, c, doc ? doc->current().layerCount() : 0);
    if (doc) {
        layerList(e, g, mode, c);
        visibilityKey(e, mode);
    }
    endStaleDrag(e, mode);
    opacityBox(e, g, mode, c);
}

} // namespace vork
