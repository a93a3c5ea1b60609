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

#include <array>
#include <cmath>
#include <utility>
#include <vector>

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

TEST_F(CanvasTest, AnimationAtZoomOneIsCentredOnAWholePixel) {
    newDocument(Mode::Animator, 300, 264);
    ASSERT_EQ(e.panels.canvas.rect(), (Rect{92, 0, 401, 327}));
    // The centre (142.5, 31.5) goes down to a whole pixel, so no row or column is cut.
    CanvasPlacement p = at(Mode::Animator, 143, 32);
    EXPECT_FLOAT_EQ(p.imageLeft, 142);
    EXPECT_FLOAT_EQ(p.imageTop, 31);
    EXPECT_TRUE(p.inside);
    EXPECT_FLOAT_EQ(p.pixelX, 1.0f);
    EXPECT_FLOAT_EQ(p.pixelY, 1.0f);

    p = at(Mode::Animator, 142, 31);
    EXPECT_FLOAT_EQ(p.pixelX, 0.0f);
    EXPECT_FLOAT_EQ(p.pixelY, 0.0f);
    EXPECT_TRUE(p.inside) << "column 0 and row 0 are reached";

    p = at(Mode::Animator, 441, 294);
    EXPECT_TRUE(p.inside);
    EXPECT_FLOAT_EQ(p.pixelX, 299.0f);
    EXPECT_FLOAT_EQ(p.pixelY, 263.0f);
    EXPECT_FALSE(at(Mode::Animator, 442, 294).inside) << "one past the last column";
    EXPECT_FALSE(at(Mode::Animator, 441, 295).inside) << "one past the last row";
    EXPECT_FALSE(at(Mode::Animator, 141, 31).inside);
    EXPECT_FALSE(at(Mode::Animator, 142, 30).inside);
}

TEST_F(CanvasTest, PainterPlacesItsPictureRightOfTheCommandBarAndKeepsThePlace) {
    newDocument(Mode::Painter, 100, 50);
    setZoom(Mode::Painter, 2);
    paint();
    // View 402 x 397 at (91, 0): the picture 200 x 100 is centred in it.
    EXPECT_FLOAT_EQ(e.mode(Mode::Painter).canvas.pictureX, 91 + 201 - 100);
    EXPECT_FLOAT_EQ(e.mode(Mode::Painter).canvas.pictureY, 148) << "198.5 - 50, on a whole pixel";
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

// Pictures of odd and even sizes at whole zooms, both modes, panels of odd and even size:
// each picture pixel covers exactly zoom x zoom screen pixels, the first and last rows and
// columns are shown (scrolled to where the picture is larger than the panel), the pointer
// is inside exactly over the shown pixels and maps to the pixel shown there, and a click on
// each corner pixel changes that pixel.
struct WholePixelTest : CanvasTest {
    // A colour per picture pixel up to 512 x 512 that no backdrop or outline colour matches.
    static Color encoded(int x, int y) {
        return Color::fromArgb(255, x & 255, y & 255, 64 + (x >> 8) + ((y >> 8) << 1));
    }
    // The picture pixel a screen colour shows along one axis, or -1 for none.
    static int decoded(Color c, bool column) {
        if (c.a() != 255 || c.b() < 64 || c.b() > 67)
            return -1;
        return column ? c.r() + ((c.b() - 64) & 1) * 256 : c.g() + ((c.b() - 64) >> 1) * 256;
    }
    struct Run {
        int pixel, start, length;
    };
    // The runs of picture columns (or rows) shown along a line of the canvas alone, with the
    // pointer checked at every screen pixel of the line.
    std::vector<Run> runsAlong(Mode mode, const Bitmap& canvas, bool across, int at) {
        const CanvasPlacement p0 = this->at(mode, 0, 0);
        const int from = int(across ? p0.panel.x : p0.panel.y);
        const int to = from + int(across ? p0.panel.w : p0.panel.h);
        std::vector<Run> runs;
        for (int s = from; s < to; ++s) {
            const int mx = across ? s : at, my = across ? at : s;
            const int shown = decoded(canvas.pixel(mx, my), across);
            const CanvasPlacement p = this->at(mode, mx, my);
            EXPECT_EQ(p.inside, shown >= 0) << "pointer at " << mx << ", " << my;
            if (shown < 0)
                continue;
            EXPECT_EQ(int(across ? p.pixelX : p.pixelY), shown) << mx << ", " << my;
            if (!runs.empty() && runs.back().pixel == shown &&
                runs.back().start + runs.back().length == s)
                ++runs.back().length;
            else
                runs.push_back({shown, s, 1});
        }
        return runs;
    }
    // Checks one scroll position; returns the first and last picture column and row shown.
    std::array<int, 4> checkCells(Mode mode, int zoom, int width, int height) {
        paint();
        paint(); // the preview settles its rectangle after the canvas
        Bitmap canvas(back.width(), back.height(), PixelFormat::Rgb);
        {
            Graphics g(canvas);
            drawCanvas(e, g, mode);
        }
        const CanvasPlacement p = at(mode, 0, 0);
        EXPECT_EQ(p.imageLeft, std::floor(p.imageLeft));
        EXPECT_EQ(p.imageTop, std::floor(p.imageTop));
        std::array<int, 4> ends{};
        for (bool across : {true, false}) {
            const int line =
                int(across ? p.imageTop + p.visibleHeight / 2 : p.imageLeft + p.visibleWidth / 2);
            const std::vector<Run> runs = runsAlong(mode, canvas, across, line);
            EXPECT_FALSE(runs.empty());
            if (runs.empty())
                return ends;
            const int edge0 = int(across ? p.panel.x : p.panel.y);
            const int edge1 = edge0 + int(across ? p.panel.w : p.panel.h);
            for (size_t i = 0; i < runs.size(); ++i) {
                const Run& r = runs[i];
                if (i > 0) {
                    EXPECT_EQ(r.pixel, runs[i - 1].pixel + 1) << "no pixel skipped";
                }
                // Only a pixel cut by the panel's edge while scrolled may be narrower.
                const bool cut = (r.start == edge0 && r.pixel > 0) || r.start + r.length == edge1;
                if (!cut) {
                    EXPECT_EQ(r.length, zoom) << "pixel " << r.pixel << " at " << r.start;
                }
            }
            EXPECT_LE(runs.front().length, zoom);
            EXPECT_LE(runs.back().length, zoom);
            ends[across ? 0 : 2] = runs.front().pixel;
            ends[across ? 1 : 3] = runs.back().pixel;
            if (runs.front().pixel == 0) {
                EXPECT_EQ(runs.front().length, zoom) << "the first pixel is whole";
            }
            if (runs.back().pixel == (across ? width : height) - 1) {
                EXPECT_EQ(runs.back().length, zoom) << "the last pixel is whole";
            }
        }
        return ends;
    }
    // Scrolls the preview's rectangle to the start or the end of each axis.
    void scroll(Mode mode, bool toEnd) {
        PreviewState& v = e.mode(mode).preview;
        v.viewportX = toEnd ? v.previewImageWidth : 0;
        v.viewportY = toEnd ? v.previewImageHeight : 0;
    }
    // A click on the picture pixel (x, y) at the centre of its cell changes only that pixel.
    void clickChanges(Mode mode, Bitmap& layer, int x, int y) {
        const CanvasPlacement p = at(mode, 0, 0);
        const int mx = int(p.imageLeft + (float(x) - p.offsetX) * p.zoom + p.zoom / 2);
        const int my = int(p.imageTop + (float(y) - p.offsetY) * p.zoom + p.zoom / 2);
        const Bitmap before = layer.clone();
        click(mx, my);
        EXPECT_EQ(layer.pixel(x, y), e.colour.currentColor) << "corner " << x << ", " << y;
        int changed = 0;
        for (int j = 0; j < layer.height(); ++j)
            for (int i = 0; i < layer.width(); ++i)
                changed += layer.pixel(i, j) != before.pixel(i, j);
        EXPECT_EQ(changed, 1) << "corner " << x << ", " << y;
        layer.setPixel(x, y, before.pixel(x, y));
    }
};

TEST_F(WholePixelTest, EveryPixelIsAWholeCellShownAndReachableAtEveryZoom) {
    for (const auto& [width, height] : {std::pair{300, 264}, {301, 265}, {7, 5}})
        for (const Mode mode : {Mode::Animator, Mode::Painter})
            for (const int zoom : {1, 2, 3, 8, 20})
                for (const int grow : {0, 1}) {
                    SCOPED_TRACE(::testing::Message()
                                 << width << " x " << height
                                 << (mode == Mode::Animator ? " Animator" : " Painter") << " zoom "
                                 << zoom << " window +" << grow);
                    resize(713 + grow, 494 + grow);
                    Document& d = newDocument(mode, width, height);
                    Bitmap& layer = d.currentLayer().image;
                    for (int y = 0; y < height; ++y)
                        for (int x = 0; x < width; ++x)
                            layer.setPixel(x, y, encoded(x, y));
                    setZoom(mode, float(zoom));
                    e.colour.currentColor = Color::fromArgb(255, 1, 2, 3);
                    e.currentTool = Tool::Pencil;
                    scroll(mode, false);
                    const std::array<int, 4> start = checkCells(mode, zoom, width, height);
                    EXPECT_EQ(start[0], 0) << "first column";
                    EXPECT_EQ(start[2], 0) << "first row";
                    clickChanges(mode, layer, 0, 0);
                    scroll(mode, true);
                    const std::array<int, 4> end = checkCells(mode, zoom, width, height);
                    EXPECT_EQ(end[1], width - 1) << "last column";
                    EXPECT_EQ(end[3], height - 1) << "last row";
                    clickChanges(mode, layer, width - 1, height - 1);
                    // The other two corners, each at the scroll that shows it.
                    PreviewState& v = e.mode(mode).preview;
                    v.viewportY = 0;
                    paint();
                    clickChanges(mode, layer, width - 1, 0);
                    v.viewportX = 0;
                    v.viewportY = v.previewImageHeight;
                    paint();
                    clickChanges(mode, layer, 0, height - 1);
                    if (HasFailure())
                        return;
                }
}

TEST_F(CanvasTest, TheCheckerboardLiesExactlyUnderTheImageInBothModes) {
    for (const Mode mode : {Mode::Animator, Mode::Painter}) {
        newDocument(mode, 21, 13); // transparent
        setZoom(mode, 3);
        paint();
        const CanvasPlacement p = at(mode, 0, 0);
        const int l = int(p.imageLeft), t = int(p.imageTop);
        const int r = l + int(p.visibleWidth), b = t + int(p.visibleHeight);
        const Color grey = Color::rgb(128, 128, 128);
        for (int y = t; y < b; ++y) {
            EXPECT_NE(screen(l, y), grey) << y;
            EXPECT_NE(screen(r - 1, y), grey) << y;
            EXPECT_EQ(screen(l - 1, y), grey) << y;
            EXPECT_EQ(screen(r, y), grey) << y;
        }
        for (int x = l; x < r; ++x) {
            EXPECT_NE(screen(x, t), grey) << x;
            EXPECT_NE(screen(x, b - 1), grey) << x;
            EXPECT_EQ(screen(x, t - 1), grey) << x;
            EXPECT_EQ(screen(x, b), grey) << x;
        }
    }
}

TEST_F(CanvasTest, AtZoomEightTheFirstAndLastColumnsAreEightPixelsWide) {
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
    EXPECT_EQ(columnsShowing(0), 8);
    EXPECT_EQ(columnsShowing(1), 8);
    EXPECT_EQ(columnsShowing(18), 8);
    EXPECT_EQ(columnsShowing(19), 8);
    // The checkerboard lies exactly under the image: grey left of it, none right of it.
    EXPECT_EQ(screen(int(p.imageLeft) - 1, row), Color::rgb(128, 128, 128));
    EXPECT_EQ(screen(int(p.imageLeft) + 160, row), Color::rgb(128, 128, 128));
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
