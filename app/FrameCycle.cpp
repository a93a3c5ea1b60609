#include "app/FrameCycle.h"

#include "canvas/Canvas.h"
#include "panels/Backgrounds.h"
#include "panels/CommandBar.h"
#include "panels/PreviewPanel.h"

#include <algorithm>
#include <cstdio>

namespace vork {

std::string windowTitle(const Editor& e, int paints) {
    char buf[256];
    if (e.painterMode) {
        const auto& picture = e.modes[size_t(Mode::Painter)].document;
        int layers = picture ? picture->current().layerCount() : 0;
        std::snprintf(buf, sizeof buf, "  Painter   Fps - %d    Width: %d Height: %d  Слоёв: %d",
                      paints, int(e.sizes.pictureWidth), int(e.sizes.pictureHeight), layers);
    } else {
        std::snprintf(buf, sizeof buf, "  Animator   Fps - %d    Width: %d Height: %d", paints,
                      int(e.sizes.animationWidth), int(e.sizes.animationHeight));
    }
    return buf;
}

namespace {

void drawPanelImage(Graphics& g, const Panel& p) {
    if (!p.image.isNull())
        g.drawImage(p.image, p.x, p.y);
}

void redrawOnRequest(Editor& e, bool& request) {
    if (request && e.input.inputEnabled) {
        e.platform.invalidate();
        request = false;
    }
}

} // namespace

void animatorFrame(Editor& e, Graphics& g, Rect client) {
    redrawOnRequest(e, e.frame.animatorRedrawRequest);
    drawCommandBar(e, g, Mode::Animator, client);
    drawPanelImage(g, e.panels.palette); // palette panel
    drawPreviewPanel(e, g, Mode::Animator, client);
    drawPanelImage(g, e.panels.frame);      // frame strip
    drawCanvas(e, g, Mode::Animator);       // canvas and tools
}

void painterFrame(Editor& e, Graphics& g, Rect client) {
    redrawOnRequest(e, e.frame.painterRedrawRequest);
    const int R = client.w, B = client.h;
    drawCanvas(e, g, Mode::Painter);                                   // canvas and tools
    drawPainterPalettePanelBackground(g, R, B);                        // palette panel
    drawCommandBar(e, g, Mode::Painter, client);
    drawPreviewPanel(e, g, Mode::Painter, client);
    // Status strip.
    const int H = std::max(B - 25, 400);
    g.fillRect(Brush::solid(colors::panelGrey), Rect{0, H, R - 1, 25});
    g.drawLine(Pen{colors::black}, {0, float(H)}, {float(R - 1), float(H)});
}

void paintWindow(Editor& e, Bitmap& backBuffer) {
    const uint32_t t = e.platform.tickCount();
    e.frame.frameCounter += 1;
    if (t - e.frame.lastTitleTime > 1000) {
        e.platform.setTitle(windowTitle(e, e.frame.frameCounter));
        e.frame.lastTitleTime = t;
        e.frame.frameCounter = 0;
    }
    const Rect client{0, 0, e.clientWidth, e.clientHeight};
    backBuffer = Bitmap(std::max(client.w, 1), std::max(client.h, 1), PixelFormat::Rgb);
    {
        Graphics g(backBuffer);
        if (e.painterMode)
            painterFrame(e, g, client);
        else
            animatorFrame(e, g, client);
    }
    InputState& in = e.input;
    if (!in.mouseDown)
        in.clickLatch = false;
    if (in.mouseX < 0 || in.mouseY < 0 || in.mouseX >= client.w || in.mouseY >= client.h)
        in.mouseDown = false;
    in.lastChar = 0;
}

} // namespace vork
