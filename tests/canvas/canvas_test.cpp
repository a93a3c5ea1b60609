// SPDX-License-Identifier: GPL-3.0-or-later
// The canvas of both modes: where the document lies, which picture pixel the pointer points
// at, and that the screen shows exactly that pixel there.
#include "app/FrameCycle.h"
#include "app/Layout.h"
#include "canvas/Canvas.h"
#include "canvas/CanvasView.h"
#include "commands/NewDocument.h"
#include "support/CanvasScenario.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vork;
using test::zoomIndexOf;

namespace {

// A colour of its own for every pixel of a picture up to 256 x 256.
Color pixelColour(int x, int y) {
    return Color::fromArgb(255, x, y, (x * 7 + y * 13) & 255);
}

// A 713 x 494 window; each test makes its documents with newDocument.
struct CanvasTest : test::EditorScenario<> {
    void SetUp() override { resize(713, 494); }

    void setZoom(Mode mode, float zoom) {
        e.mode(mode).zoomIndex = zoomIndexOf(zoom);
        if (mode == Mode::Painter)
            layoutCanvas(e, Mode::Painter);
        else
            rebuildCanvasBackdrop(e, mode);
    }
    CanvasPlacement at(Mode mode, int mx, int my) {
        e.input.mouseX = mx;
        e.input.mouseY = my;
        return canvasPlacement(e, mode);
    }
    Color screen(int x, int y) const { return back.pixel(x, y); }
};

TEST_F(CanvasTest, AnimationAtZoomOneIsCentredWithHalfPixelEdges) {
    newDocument(Mode::Animator, 300, 264);
    ASSERT_EQ(e.panels.canvas.rect(), (Rect{92, 0, 401, 327}));
    CanvasPlacement p = at(Mode::Animator, 143, 32);
    EXPECT_FLOAT_EQ(p.imageLeft, 142.5f);
    EXPECT_FLOAT_EQ(p.imageTop, 31.5f);
    EXPECT_TRUE(p.inside);
    EXPECT_FLOAT_EQ(p.pixelX, 1.0f);
    EXPECT_FLOAT_EQ(p.pixelY, 1.0f);

    p = at(Mode::Animator, 142, 31);
    EXPECT_FLOAT_EQ(p.pixelX, 0.0f);
    EXPECT_FALSE(p.inside) << "column 0 and row 0 cannot be reached at this zoom";

    p = at(Mode::Animator, 442, 295);
    EXPECT_TRUE(p.inside) << "the far edges are inclusive";
    EXPECT_FLOAT_EQ(p.pixelX, 300.0f);
    EXPECT_FLOAT_EQ(p.pixelY, 264.0f);
    EXPECT_FALSE(at(Mode::Animator, 443, 295).inside);
    EXPECT_FALSE(at(Mode::Animator, 442, 296).inside);
}

TEST_F(CanvasTest, PainterPlacesItsPictureRightOfTheCommandBarAndKeepsThePlace) {
    newDocument(Mode::Painter, 100, 50);
    setZoom(Mode::Painter, 2);
    paint();
    // View 402 x 397 at (91, 0): the picture 200 x 100 is centred in it.
    EXPECT_FLOAT_EQ(e.mode(Mode::Painter).canvas.pictureX, 91 + 201 - 100);
    EXPECT_FLOAT_EQ(e.mode(Mode::Painter).canvas.pictureY, 198.5f - 50);
    EXPECT_FLOAT_EQ(e.mode(Mode::Painter).canvas.pictureWidth, 200);
    EXPECT_FLOAT_EQ(e.mode(Mode::Painter).canvas.pictureHeight, 100);
    EXPECT_EQ(screen(150, 0), colors::black) << "the line along the top of the view";
}

TEST_F(CanvasTest, PictureLargerThanTheViewStartsAtThePanelEdge) {
    newDocument(Mode::Painter, 300, 300);
    setZoom(Mode::Painter, 4);
    paint();
    CanvasPlacement p = at(Mode::Painter, 91, 0);
    EXPECT_FLOAT_EQ(p.imageLeft, 91);
    EXPECT_FLOAT_EQ(p.imageTop, 0);
    EXPECT_FLOAT_EQ(p.visibleWidth, layoutOf(e, Mode::Painter).canvas.w);
    EXPECT_FLOAT_EQ(p.visibleHeight, layoutOf(e, Mode::Painter).canvas.h);
}

// Every screen pixel of the image shows the layer pixel that the pointer there maps to, and
// a pencil press there changes exactly that pixel.
struct MappingTest : CanvasTest, ::testing::WithParamInterface<std::tuple<Mode, float>> {
    void checkEveryShownPixel(Mode mode, const Bitmap& layer) {
        // The Painter view's first column lies under the command bar.
        const CanvasPlacement p0 = at(mode, 0, 0);
        int checked = 0;
        for (int my = int(p0.panel.y); my < int(p0.panel.y + p0.panel.h); ++my)
            for (int mx = int(p0.panel.x) + 1; mx < int(p0.panel.x + p0.panel.w); ++mx) {
                CanvasPlacement p = at(mode, mx, my);
                const int px = int(p.pixelX), py = int(p.pixelY);
                if (!p.inside || !layer.contains(px, py))
                    continue;
                ++checked;
                ASSERT_EQ(screen(mx, my), layer.pixel(px, py))
                    << "screen (" << mx << ", " << my << ") picture (" << px << ", " << py << ")";
            }
        EXPECT_GT(checked, 1000);
    }
    // A reduction is smoothed: the shown colour is near the pixel's, whose red and green
    // bytes are its column and row.
    void checkSmoothedPixels(Mode mode) {
        const CanvasPlacement p0 = at(mode, 0, 0);
        int checked = 0;
        for (int my = int(p0.imageTop) + 3; my < int(p0.imageTop + p0.visibleHeight) - 3; ++my)
            for (int mx = int(p0.imageLeft) + 3; mx < int(p0.imageLeft + p0.visibleWidth) - 3;
                 ++mx) {
                CanvasPlacement p = at(mode, mx, my);
                ++checked;
                ASSERT_NEAR(screen(mx, my).r(), int(p.pixelX), 3) << mx << ", " << my;
                ASSERT_NEAR(screen(mx, my).g(), int(p.pixelY), 3) << mx << ", " << my;
            }
        EXPECT_GT(checked, 1000);
    }
};

TEST_P(MappingTest, ScreenPixelUnderThePointerIsThePixelTheToolsChange) {
    const auto [mode, zoom] = GetParam();
    resize(1000, 700);
    // Smaller than the view at zoom 3, larger at 8, so that the view also scrolls.
    Document& d = newDocument(mode, 150, 110);
    Bitmap& layer = d.currentLayer().image;
    for (int y = 0; y < layer.height(); ++y)
        for (int x = 0; x < layer.width(); ++x)
            layer.setPixel(x, y, pixelColour(x, y));
    setZoom(mode, zoom);
    paint();
    paint(); // the Painter's preview measures its rectangle after the canvas
    if (zoom >= 8) {
        PreviewState& v = e.mode(mode).preview;
        v.viewportX = v.previewImageWidth - v.viewportWidth - 3.3f; // scrolled, not to an edge
        v.viewportY = 1.7f;
        paint();
        ASSERT_GT(at(mode, 0, 0).offsetX, 1.0f);
        ASSERT_GT(at(mode, 0, 0).offsetY, 1.0f);
    }
    if (zoom >= 1)
        checkEveryShownPixel(mode, layer);
    else
        checkSmoothedPixels(mode);
    const Bitmap before = layer.clone();
    e.colour.currentColor = Color::fromArgb(255, 1, 2, 3);
    const CanvasPlacement p0 = at(mode, 0, 0);
    for (float fx : {0.1f, 0.37f, 0.5f, 0.93f}) {
        const int mx = int(std::ceil(p0.imageLeft + fx * p0.visibleWidth));
        const int my = int(std::ceil(p0.imageTop + (1 - fx) * p0.visibleHeight)) - 1;
        CanvasPlacement p = at(mode, mx, my);
        ASSERT_TRUE(p.inside);
        e.input.mouseDown = true;
        paint();
        e.input.mouseDown = false;
        paint();
        const int px = int(p.pixelX), py = int(p.pixelY);
        for (int y = 0; y < layer.height(); ++y)
            for (int x = 0; x < layer.width(); ++x)
                if (x == px && y == py)
                    ASSERT_EQ(layer.pixel(x, y), e.colour.currentColor);
                else
                    ASSERT_EQ(layer.pixel(x, y), before.pixel(x, y)) << x << ", " << y;
        layer.setPixel(px, py, before.pixel(px, py));
    }
}

INSTANTIATE_TEST_SUITE_P(BothModesAtFourZooms, MappingTest,
                         ::testing::Combine(::testing::Values(Mode::Animator, Mode::Painter),
                                            ::testing::Values(0.5f, 1.0f, 3.0f, 8.0f)));

TEST_F(CanvasTest, AtZoomEightTheFirstColumnIsHalfAPixelWide) {
    Document& d = newDocument(Mode::Animator, 20, 20);
    Bitmap& layer = d.currentLayer().image;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            layer.setPixel(x, y, pixelColour(x, y));
    setZoom(Mode::Animator, 8);
    paint();
    const CanvasPlacement p = at(Mode::Animator, 0, 0);
    const int row = int(p.imageTop) + 40;
    auto columnsShowing = [&](int column) {
        int n = 0;
        for (int x = e.panels.canvas.x; x < e.panels.canvas.x + e.panels.canvas.width; ++x)
            n += screen(x, row) == pixelColour(column, 5);
        return n;
    };
    EXPECT_EQ(columnsShowing(0), 4);
    EXPECT_EQ(columnsShowing(1), 8);
    EXPECT_EQ(columnsShowing(18), 8);
    // The last column also shows where the pointer maps one past the layer.
    EXPECT_EQ(columnsShowing(19), 12);
}

TEST_F(CanvasTest, WithoutADocumentOnlyTheBackdropShowsAndNoToolRuns) {
    e.input.mouseX = 300;
    e.input.mouseY = 150;
    e.input.mouseDown = true;
    paint();
    EXPECT_EQ(screen(300, 150), Color::rgb(128, 128, 128));
    e.shownMode = Mode::Painter;
    paint();
    EXPECT_EQ(screen(300, 150), Color::rgb(128, 128, 128));
    EXPECT_FALSE(e.mode(Mode::Painter).history);
    EXPECT_FALSE(e.stroke.strokeActive);
}

// Animator: two layers over one pixel, the upper at half opacity.
TEST_F(CanvasTest, LayerOpacityFadesTheLayerExceptDuringPlayback) {
    Document& d = newDocument(Mode::Animator, 40, 40);
    Frame& f = d.current();
    f.layer(0).image.fill(colors::black);
    f.appendLayer();
    f.layer(1).image.fill(Color::rgb(0, 255, 0));
    f.layer(1).opacity = 128;
    paint();
    const CanvasPlacement p = at(Mode::Animator, 0, 0);
    const int sx = int(p.imageLeft) + 20, sy = int(p.imageTop) + 20;
    const Color faded = screen(sx, sy);
    EXPECT_NEAR(faded.g(), 128, 2);
    EXPECT_EQ(faded.r(), 0);
    holdPlayback(PlayState::Backward);
    paint();
    EXPECT_EQ(screen(sx, sy), Color::rgb(0, 255, 0));
}

TEST_F(CanvasTest, DisabledFrameShowsNoLayers) {
    Document& d = newDocument(Mode::Animator, 40, 40);
    d.current().layer(0).image.fill(colors::black);
    d.current().enabled = false;
    paint();
    const CanvasPlacement p = at(Mode::Animator, 0, 0);
    EXPECT_NE(screen(int(p.imageLeft) + 20, int(p.imageTop) + 20), colors::black);
}

TEST_F(CanvasTest, OnionSkinIsPlainAtExactlyHundredAndRebuiltOnlyWhenTheFrameChanges) {
    Document& d = newDocument(Mode::Animator, 40, 40);
    d.current().layer(0).image.fill(Color::rgb(200, 0, 0));
    d.insertFrameAfter(0); // the second frame is current and empty
    e.animator.onion.on = true;
    e.animator.onion.grey = false;
    paint();
    ASSERT_TRUE(e.animator.onion.image);
    EXPECT_EQ(e.animator.onionRememberedFrame, d.current().serial);
    const CanvasPlacement p = at(Mode::Animator, 0, 0);
    const int sx = int(p.imageLeft) + 20, sy = int(p.imageTop) + 20;
    EXPECT_EQ(screen(sx, sy), Color::rgb(200, 0, 0));

    e.animator.onionSkinOpacity = 50;
    paint();
    const Color half = screen(sx, sy);
    EXPECT_NE(half, Color::rgb(200, 0, 0));
    EXPECT_GT(half.g(), 90) << "the checkerboard shows through";

    // The skin is kept while the shown frame stays the same ...
    d.frame(0).layer(0).image.fill(Color::rgb(0, 0, 200));
    e.animator.onionSkinOpacity = 100;
    paint();
    EXPECT_EQ(screen(sx, sy), Color::rgb(200, 0, 0));
    // ... and rebuilt when another frame is shown.
    d.setCurrentFrame(0);
    d.insertFrameAfter(0);
    paint();
    EXPECT_EQ(screen(sx, sy), Color::rgb(0, 0, 200));
}

TEST_F(CanvasTest, PainterShowsTheLayersAroundTheCurrentOneFromItsCaches) {
    Document& d = newDocument(Mode::Painter, 40, 40);
    Frame& f = d.current();
    f.layer(0).image.setPixel(1, 1, Color::rgb(255, 0, 0));
    f.appendLayer();
    f.layer(1).image.setPixel(2, 2, Color::rgb(0, 255, 0));
    f.appendLayer();
    f.layer(2).image.setPixel(3, 3, Color::rgb(0, 0, 255));
    f.layer(2).image.setPixel(2, 2, Color::rgb(0, 0, 255));
    f.setCurrentLayer(1);
    setZoom(Mode::Painter, 4);
    paint();
    auto shown = [&](int px, int py) {
        const CanvasPlacement p = at(Mode::Painter, 0, 0);
        return screen(int(p.imageLeft + px * 4.0f + 1), int(p.imageTop + py * 4.0f + 1));
    };
    EXPECT_EQ(shown(1, 1), Color::rgb(255, 0, 0)) << "below";
    EXPECT_EQ(shown(2, 2), Color::rgb(0, 0, 255)) << "above covers the current layer";
    EXPECT_EQ(shown(3, 3), Color::rgb(0, 0, 255));

    // Choosing another layer recomposes the caches around it.
    f.setCurrentLayer(2);
    f.layer(1).image.setPixel(4, 4, Color::rgb(0, 255, 0));
    paint();
    EXPECT_EQ(shown(4, 4), Color::rgb(0, 255, 0));

    // Shown alone, only the current layer appears.
    e.mode(Mode::Painter).layers.singleLayerView = true;
    e.mode(Mode::Painter).layers.viewedLayer = f.layer(2).serial;
    paint();
    EXPECT_NE(shown(1, 1), Color::rgb(255, 0, 0));
    EXPECT_EQ(shown(3, 3), Color::rgb(0, 0, 255));
}

} // namespace
