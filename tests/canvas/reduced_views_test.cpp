// SPDX-License-Identifier: GPL-3.0-or-later
// The canvas below 100 %, the preview and the thumbnails draw from what is kept between paints
// (the layers' reductions, the Painter's layer caches, the onion skin's reductions), updated
// only where something changed. After every kind of change they must show exactly what an
// editor that never saw the changes shows for the same pictures; and where a reduction is a
// power of two on the grid, what an exact box average of the layer gives.
#include "canvas/CanvasView.h"
#include "canvas/History.h"
#include "commands/DocumentAftermath.h"
#include "support/CanvasScenario.h"

#include <cmath>
#include <memory>

using namespace vork;
using test::zoomIndexOf;

namespace {

// Every frame and layer with its pixels, visibility, opacity and place.
std::unique_ptr<Document> copyOf(const Document& d) {
    auto c = std::make_unique<Document>(d.width, d.height, d.defaultDelay);
    for (int f = 0; f < d.frameCount(); ++f) {
        if (f > 0)
            c->insertFrameAt(f);
        const Frame& from = d.frame(f);
        Frame& to = c->frame(f);
        for (int i = 1; i < from.layerCount(); ++i)
            to.appendLayer();
        for (int i = 0; i < from.layerCount(); ++i) {
            to.layer(i).image = from.layer(i).image.clone();
            to.layer(i).visible = from.layer(i).visible;
            to.layer(i).opacity = from.layer(i).opacity;
        }
        to.setCurrentLayer(from.currentLayerIndex());
        to.enabled = from.enabled;
    }
    c->setCurrentFrame(d.currentFrameIndex());
    return c;
}

// A picture or animation of three layers with soft-edged shapes on them, edited in all the
// ways the program changes pixels, and after each change compared with a fresh editor.
struct ReducedViewsTest : test::CanvasScenario {
    ReducedViewsTest() : CanvasScenario({250, 200, zoomIndexOf(0.3f), test::red}) {}

    void SetUp() override {
        CanvasScenario::SetUp();
        resize(1000, 700);
    }

    void setZoom(float zoom) {
        e.mode(mode).zoomIndex = zoomIndexOf(zoom);
        if (mode == Mode::Painter)
            layoutCanvas(e, Mode::Painter);
        else
            rebuildCanvasBackdrop(e, mode);
        paint();
        paint(); // the preview measures the view after the zoom
    }

    void makeLayers() {
        make();
        Frame& f = doc().current();
        f.appendLayer();
        f.appendLayer();
        for (int i = 0; i < 3; ++i) {
            Bitmap& b = f.layer(i).image;
            for (int y = 0; y < b.height(); ++y)
                for (int x = 0; x < b.width(); ++x) {
                    const int dx = (x + 31 * i) % 50 - 25, dy = (y + 17 * i) % 40 - 20;
                    const double d = std::sqrt(double(dx * dx + dy * dy)) - 12;
                    const int a = i == 0 ? 255 : d <= 0 ? 255 : d < 3 ? int(255 * (1 - d / 3)) : 0;
                    if (a > 0)
                        b.setPixel(x, y, Color::fromArgb(a, x, y * 2, 60 * i));
                }
        }
        f.layer(2).opacity = 150;
        f.setCurrentLayer(1);
        e.mode(mode).previewUpToDate = false;
        paint();
        paint();
    }

    // The same pictures in a new editor in the same window, view and zoom, painted twice.
    void expectSameAsAFreshEditor(const std::string& after) {
        ModeState& m = e.mode(mode);
        m.previewUpToDate = false; // the preview is drawn again from what is kept
        refreshLayerThumbnails(e, mode);
        paint();
        test::FakePlatform freshPlatform;
        Editor fresh(freshPlatform);
        fresh.clientWidth = e.clientWidth;
        fresh.clientHeight = e.clientHeight;
        layoutAll(fresh);
        fresh.shownMode = e.shownMode;
        ModeState& f = fresh.mode(mode);
        f.zoomIndex = m.zoomIndex;
        replaceDocument(fresh, mode, copyOf(*m.document));
        f.preview.viewportX = m.preview.viewportX;
        f.preview.viewportY = m.preview.viewportY;
        fresh.animator.onion.on = e.animator.onion.on;
        fresh.animator.onionSkinOpacity = e.animator.onionSkinOpacity;
        Bitmap freshBack;
        paintWindow(fresh, freshBack);
        paintWindow(fresh, freshBack);
        if (mode == Mode::Animator)
            refreshCurrentThumbnails(*f.document);

        const Rect canvas = layoutOf(e, mode).canvas;
        for (int y = canvas.y; y < canvas.y + canvas.h; ++y)
            for (int x = canvas.x; x < canvas.x + canvas.w; ++x)
                ASSERT_EQ(back.pixel(x, y), freshBack.pixel(x, y))
                    << "canvas at " << x << ", " << y << " after " << after;
        EXPECT_TRUE(test::samePixels(m.preview.previewImage, f.preview.previewImage))
            << "the preview after " << after;
        const Frame& mine = m.document->current();
        const Frame& theirs = f.document->current();
        EXPECT_TRUE(test::samePixels(mine.current().thumbnail, theirs.current().thumbnail))
            << "the current layer's thumbnail after " << after;
        if (mode == Mode::Animator) {
            EXPECT_TRUE(test::samePixels(mine.thumbnail, theirs.thumbnail))
                << "the frame's thumbnail after " << after;
        }
    }
};

} // namespace

TEST_P(ReducedViewsTest, AfterEveryKindOfChangeTheyShowWhatAFreshEditorShows) {
    makeLayers();
    for (float zoom : {0.3f, 0.5f, 0.9f}) {
        setZoom(zoom);
        expectSameAsAFreshEditor("a new zoom");
    }
    setZoom(0.3f);
    drag(Tool::Pencil, 20.5f, 20.5f, 200.5f, 150.5f);
    expectSameAsAFreshEditor("a pencil stroke");
    drag(Tool::FilledEllipse, 60.5f, 30.5f, 160.5f, 120.5f);
    expectSameAsAFreshEditor("a filled ellipse");
    e.colour.currentColor = test::blue;
    drag(Tool::FloodFill, 5.5f, 190.5f, 5.5f, 190.5f);
    expectSameAsAFreshEditor("a fill");
    type(',');
    expectSameAsAFreshEditor("an undo");
    type(',');
    type('.');
    expectSameAsAFreshEditor("an undo and a redo");
    doc().current().setCurrentLayer(2);
    paint();
    drag(Tool::Pencil, 240.5f, 5.5f, 5.5f, 195.5f);
    expectSameAsAFreshEditor("a stroke on another layer");
    doc().current().setCurrentLayer(0);
    paint();
    expectSameAsAFreshEditor("moving down to the bottom layer");
    doc().current().layer(1).visible = false;
    doc().current().layer(2).opacity = 40;
    expectSameAsAFreshEditor("a layer hidden and another's opacity changed");
    doc().current().layer(2).image.fill(Color::fromArgb(90, 10, 200, 10)); // nobody reports it
    expectSameAsAFreshEditor("pixels written behind everyone's back");
    // At 300 % only the view's part of the caches is composed; scrolled and zoomed out, the
    // rest comes in.
    setZoom(3);
    doc().current().setCurrentLayer(1);
    paint();
    drag(Tool::Pencil, 10.5f, 10.5f, 30.5f, 20.5f);
    e.mode(mode).preview.viewportX = 60;
    e.mode(mode).preview.viewportY = 40;
    paint();
    expectSameAsAFreshEditor("scrolling at 300 %");
    setZoom(0.3f);
    expectSameAsAFreshEditor("zooming out again");
}

// Every zoom step below 100 % keeps its reduced drawing between paints and redraws only the
// rows a change reaches: a stroke, its undo and a stroke on another layer at each step.
TEST_P(ReducedViewsTest, AtEveryZoomStepBelowOneAChangeShowsWhatAFreshEditorShows) {
    makeLayers();
    for (float zoom : {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f, 0.9f}) {
        const std::string at = " at " + std::to_string(zoom);
        setZoom(zoom);
        doc().current().setCurrentLayer(1);
        paint();
        drag(Tool::Pencil, 30.5f, 150.5f, 220.5f, 40.5f);
        expectSameAsAFreshEditor("a stroke" + at);
        type(',');
        expectSameAsAFreshEditor("its undo" + at);
        doc().current().setCurrentLayer(2);
        paint();
        drag(Tool::FilledEllipse, 100.5f, 20.5f, 140.5f, 30.5f);
        expectSameAsAFreshEditor("an ellipse on the top layer" + at);
    }
}

// What the canvas keeps is held only by the layers it draws: the shown frame's, in the Painter
// only its current layer.
TEST_P(ReducedViewsTest, OnlyTheDrawnLayersKeepTheirReducedDrawing) {
    makeLayers();
    doc().insertFrameAfter(0);
    doc().frame(1).appendLayer();
    setZoom(0.3f);
    auto keeps = [&](int f, int i) {
        return !doc().frame(f).layer(i).reductions.keptView().pixels.isNull();
    };
    for (int f : {1, 0}) {
        doc().setCurrentFrame(f);
        doc().current().setCurrentLayer(1);
        paint();
        paint();
        for (int g = 0; g < doc().frameCount(); ++g)
            for (int i = 0; i < doc().frame(g).layerCount(); ++i)
                EXPECT_EQ(keeps(g, i), g == f && (mode == Mode::Animator || i == 1))
                    << "frame " << g << " layer " << i << " with frame " << f << " shown";
    }
}

TEST_P(ReducedViewsTest, FramesAndTheOnionSkin) {
    if (mode == Mode::Painter)
        GTEST_SKIP() << "the picture has one frame";
    makeLayers();
    doc().insertFrameAfter(0);
    drag(Tool::FilledRectangle, 20.5f, 20.5f, 120.5f, 90.5f);
    type('w'); // the onion skin's switch
    ASSERT_TRUE(e.animator.onion.on);
    expectSameAsAFreshEditor("a new frame drawn on, over the onion skin");
    doc().setCurrentFrame(0);
    paint();
    expectSameAsAFreshEditor("back to the first frame");
    drag(Tool::Pencil, 10.5f, 180.5f, 240.5f, 10.5f);
    doc().setCurrentFrame(1);
    paint();
    expectSameAsAFreshEditor("the onion skin's frame changed");
}

INSTANTIATE_TEST_SUITE_P(BothModes, ReducedViewsTest,
                         ::testing::Values(Mode::Animator, Mode::Painter));

namespace {

// Where the reduction is a power of two on the grid it is the exact box average: each shown
// pixel is the block of the layer it covers, premultiplied and averaged, drawn over what lies
// under it, within a step of rounding.
struct ExactAverageTest : test::EditorScenario<> {};

// The exact average of the premultiplied pixels of a block, drawn over an opaque colour.
Color exactOver(const Bitmap& image, int x0, int y0, int block, Color under) {
    double sums[4] = {};
    for (int y = y0; y < y0 + block; ++y)
        for (int x = x0; x < x0 + block; ++x) {
            const Color c = image.pixel(x, y);
            sums[0] += c.r() * c.a() / 255.0;
            sums[1] += c.g() * c.a() / 255.0;
            sums[2] += c.b() * c.a() / 255.0;
            sums[3] += c.a();
        }
    const double n = block * block, a = sums[3] / n / 255;
    auto channel = [&](int k, int u) { return int(std::lround(sums[k] / n + u * (1 - a))); };
    return Color::rgb(channel(0, under.r()), channel(1, under.g()), channel(2, under.b()));
}

void expectNear(Color got, Color expected, const std::string& where, int steps = 1) {
    EXPECT_NEAR(got.r(), expected.r(), steps) << where;
    EXPECT_NEAR(got.g(), expected.g(), steps) << where;
    EXPECT_NEAR(got.b(), expected.b(), steps) << where;
}

} // namespace

// Pixels whose alpha and colour vary, opaque and transparent ones among them.
void paintVaried(Bitmap& b) {
    for (int y = 0; y < b.height(); ++y) {
        uint32_t* row = b.row(y);
        for (int x = 0; x < b.width(); ++x)
            row[x] = Color::fromArgb((x * 7 + y * 3) % 300 > 255 ? 255 : (x * 7 + y * 3) % 300,
                                     x % 256, y % 256, (x + y) % 256)
                         .argb;
    }
}

TEST_F(ExactAverageTest, TheCanvasAtHalfZoom) {
    resize(1000, 700);
    // Larger than the view at 50 %, so that the picture starts at the view's edge and the
    // screen pixels lie on the grid of its halving.
    Document& d = newDocument(Mode::Painter, 1400, 1220);
    paintVaried(d.currentLayer().image);
    e.mode(Mode::Painter).zoomIndex = zoomIndexOf(0.5f);
    layoutCanvas(e, Mode::Painter);
    paint();
    paint();
    const CanvasPlacement p = canvasPlacement(e, Mode::Painter);
    ASSERT_EQ(p.imageLeft, std::floor(p.imageLeft));
    ASSERT_EQ(p.imageTop, std::floor(p.imageTop));
    ASSERT_EQ(p.source.x, 0);
    const Bitmap& backdrop = e.mode(Mode::Painter).canvasBackdrop;
    const Rect view = layoutOf(e, Mode::Painter).canvas;
    for (int sy = 1; sy < view.h; sy += 7)
        for (int sx = 1; sx < view.w; sx += 5) {
            const int x = view.x + sx, y = view.y + sy;
            expectNear(back.pixel(x, y),
                       exactOver(d.currentLayer().image, 2 * (x - int(p.imageLeft)),
                                 2 * (y - int(p.imageTop)), 2, backdrop.pixel(sx, sy)),
                       "screen " + std::to_string(x) + ", " + std::to_string(y));
        }
}

TEST_F(ExactAverageTest, ThePreviewOfAPictureTwiceItsSize) {
    resize(1000, 700);
    Document& d = newDocument(Mode::Painter, 330, 330); // the preview is 165 x 165
    paintVaried(d.currentLayer().image);
    e.mode(Mode::Painter).previewUpToDate = false;
    paint();
    const Bitmap& preview = e.mode(Mode::Painter).preview.previewImage;
    ASSERT_EQ(preview.width(), 165);
    auto checker = [](int x, int y) {
        return (x / 4 + y / 4) % 2 == 0 ? Color::rgb(200, 200, 200) : colors::white;
    };
    for (int y = 0; y < 165; y += 3)
        for (int x = 0; x < 165; x += 2)
            expectNear(preview.pixel(x, y),
                       exactOver(d.currentLayer().image, 2 * x, 2 * y, 2, checker(x, y)),
                       "preview " + std::to_string(x) + ", " + std::to_string(y),
                       // The preview reduces each layer into a picture of its own, with its
                       // colours stored apart from their alpha, before drawing it over the
                       // checkerboard: a second rounding where the alpha is low.
                       2);
}

TEST_F(ExactAverageTest, TheThumbnailOfALayerFourTimesItsSize) {
    Layer layer(1, 120, 120);
    paintVaried(layer.image);
    layer.rebuildThumbnail(30, 30);
    auto checker = [](int x, int y) {
        return (x / 4 + y / 4) % 2 == 0 ? Color::rgb(200, 200, 200) : colors::white;
    };
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            expectNear(layer.thumbnail.pixel(x, y),
                       exactOver(layer.image, 4 * x, 4 * y, 4, checker(x, y)),
                       "thumbnail " + std::to_string(x) + ", " + std::to_string(y));
}

namespace {

// Source-over of a plain colour, its alpha times `opacity` / 255, onto an opaque one, in
// doubles.
Color overOpaque(Color top, int opacity, Color under) {
    const double a = top.a() / 255.0 * opacity / 255.0;
    auto channel = [&](int t, int u) { return int(std::lround(t * a + u * (1 - a))); };
    return Color::rgb(channel(top.r(), under.r()), channel(top.g(), under.g()),
                      channel(top.b(), under.b()));
}

} // namespace

// At 100 % the Painter draws the layers below and above the current one from its caches; a
// translucent layer on either side shows as drawing it over what lies under it does.
TEST_F(ExactAverageTest, TheCanvasAtFullZoomShowsTranslucentLayersAroundTheCurrentOne) {
    resize(1000, 700);
    Document& d = newDocument(Mode::Painter, 200, 150);
    Frame& f = d.current();
    f.appendLayer();
    f.appendLayer();
    const Color colours[] = {Color::fromArgb(120, 20, 230, 40), Color::fromArgb(90, 240, 30, 10),
                             Color::fromArgb(160, 30, 60, 250)};
    for (int i = 0; i < 3; ++i)
        f.layer(i).image.fill(colours[i]);
    f.layer(2).opacity = 200;
    f.setCurrentLayer(1);
    e.mode(Mode::Painter).zoomIndex = zoomIndexOf(1);
    layoutCanvas(e, Mode::Painter);
    paint();
    paint();
    const CanvasPlacement p = canvasPlacement(e, Mode::Painter);
    const Bitmap& backdrop = e.mode(Mode::Painter).canvasBackdrop;
    const Rect view = layoutOf(e, Mode::Painter).canvas;
    for (int y = int(p.imageTop) + 1; y < int(p.imageTop) + 149; y += 3)
        for (int x = int(p.imageLeft) + 1; x < int(p.imageLeft) + 199; x += 3) {
            Color expected = backdrop.pixel(x - view.x, y - view.y);
            for (int i = 0; i < 3; ++i)
                expected = overOpaque(colours[i], f.layer(i).opacity, expected);
            expectNear(back.pixel(x, y), expected,
                       "screen " + std::to_string(x) + ", " + std::to_string(y), 2);
        }
}
