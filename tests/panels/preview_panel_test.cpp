// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/PreviewPanel.h"

#include "app/FrameCycle.h"
#include "app/Layout.h"
#include "app/Startup.h"
#include "canvas/CanvasView.h"
#include "support/CanvasScenario.h"
#include "ui/Widgets.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>

using namespace vork;

namespace {

// A 1000 x 700 window: the right column starts at X = 780 in both modes. The Animator canvas
// is 688 x 533, the Painter canvas 689 x 603.
struct PreviewPanelTest : test::EditorScenario<> {
    static constexpr int X = 780;

    void SetUp() override {
        makeToolButtons();
        resize(1000, 700);
    }
    Mode mode() const { return e.shownMode; }
    ModeState& m() { return e.mode(mode()); }
    PreviewState& preview() { return m().preview; }
    Document& makeDocument(int w, int h) {
        m().document = std::make_unique<Document>(w, h, 100.0);
        m().previewUpToDate = false;
        return *m().document;
    }
};

bool near(Color a, Color b, int tolerance) {
    return std::abs(a.r() - b.r()) <= tolerance && std::abs(a.g() - b.g()) <= tolerance &&
           std::abs(a.b() - b.b()) <= tolerance && std::abs(a.a() - b.a()) <= tolerance;
}

} // namespace

// --- Size, place and content ---------------------------------------------------------------

TEST_F(PreviewPanelTest, PreviewFitsTheSquareAndIsCentredInTheArea) {
    e.shownMode = Mode::Painter;
    makeDocument(320, 160);
    paint();
    EXPECT_FLOAT_EQ(preview().previewImageWidth, 165);
    EXPECT_FLOAT_EQ(preview().previewImageHeight, 82.5f);
    EXPECT_FLOAT_EQ(preview().previewX, X + 27);
    EXPECT_FLOAT_EQ(preview().previewY, 109.5f - 41.25f);
    EXPECT_EQ(preview().previewImage.width(), 165);
    EXPECT_EQ(preview().previewImage.height(), 82);

    e.shownMode = Mode::Animator;
    makeDocument(100, 200);
    paint();
    EXPECT_FLOAT_EQ(preview().previewImageWidth, 82.5f);
    EXPECT_FLOAT_EQ(preview().previewImageHeight, 165);
    EXPECT_FLOAT_EQ(preview().previewX, X + 109.5f - 41.25f);
    EXPECT_FLOAT_EQ(preview().previewY, 27);
}

TEST_F(PreviewPanelTest, SmallPictureIsEnlargedWithSharpEvenPixels) {
    for (bool painter : {true, false}) {
        e.shownMode = painter ? Mode::Painter : Mode::Animator;
        Document& d = makeDocument(16, 16);
        Bitmap& img = d.currentLayer().image;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                img.setPixel(x, y, Color::rgb(x * 16, y * 16, 100));
        paint();
        const Bitmap& p = preview().previewImage;
        ASSERT_EQ(p.width(), 165);
        ASSERT_EQ(p.height(), 165);
        for (int j = 0; j < 165; ++j)
            for (int i = 0; i < 165; ++i)
                ASSERT_EQ(p.pixel(i, j), img.pixel(i * 16 / 165, j * 16 / 165))
                    << "preview pixel " << i << ", " << j;
        // And it is shown at its place.
        EXPECT_EQ(back.pixel(int(preview().previewX) + 80, int(preview().previewY) + 80),
                  img.pixel(80 * 16 / 165, 80 * 16 / 165));
    }
}

TEST_F(PreviewPanelTest, LargePictureIsReducedSmoothly) {
    Document& d = makeDocument(660, 660);
    Bitmap& img = d.currentLayer().image;
    img.fill(Color::rgb(0, 0, 255));
    for (int y = 0; y < 660; ++y)
        for (int x = 0; x < 660; x += 2)
            img.setPixel(x, y, Color::rgb(255, 0, 0));
    paint();
    // Four columns of alternating red and blue fall into each preview pixel: they blend.
    EXPECT_TRUE(near(preview().previewImage.pixel(80, 80), Color::rgb(128, 0, 128), 24))
        << std::hex << preview().previewImage.pixel(80, 80).argb;
}

TEST_F(PreviewPanelTest, VisibleLayersAreComposedWithTheirOpacityOverTheCheckerboard) {
    Document& d = makeDocument(165, 165);
    Frame& f = d.current();
    f.setCurrentLayer(f.appendLayer());
    f.layer(0).image.fill(Color::rgb(255, 0, 0));
    f.layer(1).image.fill(Color::rgb(0, 0, 255));
    f.layer(1).opacity = 128;
    f.layer(0).image.setPixel(10, 10, colors::transparent);
    f.layer(1).image.setPixel(10, 10, colors::transparent);
    paint();
    const Bitmap& p = preview().previewImage;
    EXPECT_TRUE(near(p.pixel(50, 50), Color::rgb(127, 0, 128), 2))
        << std::hex << p.pixel(50, 50).argb;
    const Color hole = p.pixel(10, 10);
    EXPECT_TRUE(hole == Color::rgb(200, 200, 200) || hole == colors::white);

    f.layer(1).visible = false;
    m().previewUpToDate = false;
    paint();
    EXPECT_EQ(preview().previewImage.pixel(50, 50), Color::rgb(255, 0, 0));
}

TEST_F(PreviewPanelTest, RebuildsOnlyWhenMarkedStale) {
    Document& d = makeDocument(165, 165);
    paint();
    paint(); // whatever the first frame marked stale is rebuilt
    EXPECT_TRUE(m().previewUpToDate);
    d.currentLayer().image.fill(Color::rgb(0, 255, 0));
    paint();
    EXPECT_NE(preview().previewImage.pixel(5, 5), Color::rgb(0, 255, 0));
    m().previewUpToDate = false;
    paint();
    EXPECT_EQ(preview().previewImage.pixel(5, 5), Color::rgb(0, 255, 0));
}

// A change of some layers' pixels redraws only the preview rows it reaches, each pixel exactly
// as drawing the whole preview draws it: reduced from the image itself, on a level's grid and
// with a box step from a level; at the top, in the middle and cut by the bottom edge; reported
// or written unreported; on the bottom layer, a translucent one and the top one.
TEST_F(PreviewPanelTest, AChangeRedrawsTheRowsItReachesAsTheWholePreviewDrawsThem) {
    struct Edit {
        int layer;
        Rect rect;
        bool reported;
    };
    const std::pair<int, int> sizes[] = {{250, 200}, {330, 330}, {1000, 700}};
    for (const auto& [w, h] : sizes) {
        const std::string size = std::to_string(w) + " x " + std::to_string(h);
        Document& d = makeDocument(w, h);
        Frame& f = d.current();
        f.appendLayer();
        f.appendLayer();
        for (int i = 0; i < 3; ++i)
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    if (i == 0 || (x + 7 * i) % 23 < 9)
                        f.layer(i).image.setPixel(x, y,
                                                  Color::fromArgb(i == 0 ? 255 : 60 + (x * y) % 190,
                                                                  x % 256, y % 256, 80 * i));
        f.layer(1).opacity = 150;
        paint();
        paint();
        Bitmap& shown = preview().previewImage;
        const int last = shown.height() - 1;
        const Edit edits[] = {{1, {w / 3, 3, 9, 5}, true},
                              {0, {10, h / 2, w / 2, 17}, true},
                              {2, {w - 40, h - 6, 60, 30}, true},
                              {1, {0, 0, w, h}, false}};
        for (const Edit& edit : edits) {
            const std::string what = size + ", layer " + std::to_string(edit.layer) + " at row " +
                                     std::to_string(edit.rect.y);
            Layer& layer = f.layer(edit.layer);
            const Color corner = shown.pixel(0, last);
            shown.setPixel(0, last, Color::rgb(1, 2, 3)); // not a colour the preview shows
            {
                auto report = layer.edit();
                test::paintRect(layer.image, intersect(edit.rect, {0, 0, w, h}),
                                Color::fromArgb(200, 250, 10, 10));
                if (edit.reported)
                    report.touched(edit.rect);
            }
            m().previewUpToDate = false;
            paint();
            // Rows the change does not reach are not drawn again.
            EXPECT_EQ(shown.pixel(0, last) == Color::rgb(1, 2, 3),
                      edit.reported && edit.rect.y <= h / 2)
                << what;
            if (shown.pixel(0, last) == Color::rgb(1, 2, 3))
                shown.setPixel(0, last, corner);
            const Bitmap part = shown.clone();
            preview().sources.drawn = false;
            m().previewUpToDate = false;
            paint();
            EXPECT_TRUE(test::samePixels(part, preview().previewImage)) << what;
        }
    }
}

TEST_F(PreviewPanelTest, AnimatorShowsTheCurrentFrame) {
    Document& d = makeDocument(165, 165);
    d.frame(0).current().image.fill(Color::rgb(255, 0, 0));
    d.insertFrameAfter(0);
    d.current().current().image.fill(Color::rgb(0, 0, 255));
    paint();
    EXPECT_EQ(preview().previewImage.pixel(5, 5), Color::rgb(0, 0, 255));
}

// --- Zoom controls --------------------------------------------------------------------------

TEST_F(PreviewPanelTest, ZoomKeysStepAndResetAlsoWithoutADocument) {
    type('+');
    EXPECT_EQ(m().zoomIndex, 10);
    EXPECT_EQ(platform.invalidations, 1) << "the label shows the new zoom on the next paint";
    type('-');
    type('-');
    EXPECT_EQ(m().zoomIndex, 8);
    for (int i = 0; i < 5; ++i)
        type('+');
    type('/');
    EXPECT_EQ(m().zoomIndex, defaultZoomIndex);
}

TEST_F(PreviewPanelTest, ZoomButtonsStepTheZoomOfTheirModeOnly) {
    click(X + 202, 217); // plus
    click(X + 202, 217);
    EXPECT_EQ(e.mode(Mode::Animator).zoomIndex, 11);
    e.shownMode = Mode::Painter;
    click(X + 61, 217); // minus
    EXPECT_EQ(e.mode(Mode::Painter).zoomIndex, 8);
    EXPECT_EQ(e.mode(Mode::Animator).zoomIndex, 11);
}

TEST_F(PreviewPanelTest, ZoomStopsAtBothEnds) {
    e.shownMode = Mode::Painter;
    makeDocument(50, 50);
    m().zoomIndex = 28;
    paint();
    e.mode(Mode::Painter).redrawRequest = false;
    const int invalidations = platform.invalidations;
    type('+');
    EXPECT_EQ(m().zoomIndex, 28);
    EXPECT_FALSE(e.mode(Mode::Painter).redrawRequest);
    EXPECT_EQ(platform.invalidations, invalidations);
    m().zoomIndex = 0;
    type('-');
    EXPECT_EQ(m().zoomIndex, 0);
}

TEST_F(PreviewPanelTest, ZoomSliderSetsTheIndex) {
    pointAt(X + 70 + 61, 216); // the middle of the 122-pixel track: 14 of 28
    e.input.mouseDown = true;
    paint();
    EXPECT_EQ(m().zoomIndex, 14);
    pointAt(X + 191, 216); // within two pixels of the end
    paint();
    EXPECT_EQ(m().zoomIndex, 28);
}

TEST_F(PreviewPanelTest, PainterZoomReplacesThePictureAndAsksForARedraw) {
    e.shownMode = Mode::Painter;
    makeDocument(100, 50);
    e.mode(Mode::Painter).width = 100;
    e.mode(Mode::Painter).height = 50;
    layoutCanvas(e, Mode::Painter);
    paint();
    e.mode(Mode::Painter).redrawRequest = false;
    type('+');
    EXPECT_FLOAT_EQ(e.mode(Mode::Painter).canvas.pictureWidth, 200);
    EXPECT_FLOAT_EQ(e.mode(Mode::Painter).canvas.pictureHeight, 100);
    EXPECT_TRUE(e.mode(Mode::Painter).redrawRequest);
}

TEST_F(PreviewPanelTest, AnimatorZoomRebuildsTheBackdrop) {
    makeDocument(100, 100);
    rebuildCanvasBackdrop(e, Mode::Animator);
    // (250, 170) of the 688 x 533 canvas lies outside the image at zoom 1, inside at zoom 2.
    EXPECT_EQ(m().canvasBackdrop.pixel(250, 170), Color::rgb(128, 128, 128));
    const int invalidations = platform.invalidations;
    type('+');
    EXPECT_NE(m().canvasBackdrop.pixel(250, 170), Color::rgb(128, 128, 128));
    EXPECT_GT(platform.invalidations, invalidations);
}

// --- Viewport rectangle -----------------------------------------------------------------

TEST_F(PreviewPanelTest, FittingPictureIsCoveredWholeAndCannotMove) {
    for (bool painter : {false, true}) {
        e.shownMode = painter ? Mode::Painter : Mode::Animator;
        makeDocument(100, 100);
        paint();
        pointAt(X + 60, 60);
        e.input.mouseDown = true;
        paint();
        pointAt(X + 120, 150);
        paint();
        EXPECT_FLOAT_EQ(preview().viewportX, 0);
        EXPECT_FLOAT_EQ(preview().viewportY, 0);
        EXPECT_FLOAT_EQ(preview().viewportWidth, 165);
        EXPECT_FLOAT_EQ(preview().viewportHeight, 165);
        e.input.mouseDown = false;
        paint();
    }
}

TEST_F(PreviewPanelTest, ViewportTakesTheSizeOfTheModesCanvas) {
    makeDocument(2000, 1000);
    paint();
    EXPECT_FLOAT_EQ(preview().viewportWidth, 165 * 688 / 2000.0f);
    EXPECT_FLOAT_EQ(preview().viewportHeight, 82.5f * 533 / 1000.0f);
    e.shownMode = Mode::Painter;
    makeDocument(2000, 1000);
    paint();
    EXPECT_FLOAT_EQ(preview().viewportWidth, 165 * 689 / 2000.0f);
    EXPECT_FLOAT_EQ(preview().viewportHeight, 82.5f * 603 / 1000.0f);
}

TEST_F(PreviewPanelTest, DragCentresMovesAndClampsTheViewport) {
    makeDocument(2000, 1000);
    paint();
    const PreviewState& p = preview();
    const float vw = p.viewportWidth, vh = p.viewportHeight;
    const int px = int(p.previewX), py = int(p.previewY);
    pointAt(px + 100, py + 40);
    e.input.mouseDown = true;
    paint();
    EXPECT_TRUE(p.dragActive);
    EXPECT_FLOAT_EQ(p.viewportX, float(px + 100) - vw / 2 - p.previewX);
    EXPECT_FLOAT_EQ(p.viewportY, float(py + 40) - vh / 2 - p.previewY);
    const float x0 = p.viewportX, y0 = p.viewportY;
    pointAt(px + 90, py + 35);
    paint();
    EXPECT_FLOAT_EQ(p.viewportX, x0 - 10);
    EXPECT_FLOAT_EQ(p.viewportY, y0 - 5);
    pointAt(X + 200, 200); // still in the area, far right and below the image
    paint();
    EXPECT_FLOAT_EQ(p.viewportX, 165 - vw);
    EXPECT_FLOAT_EQ(p.viewportY, 82.5f - vh);
    e.input.mouseDown = false;
    paint();
    EXPECT_FALSE(p.dragActive);
}

TEST_F(PreviewPanelTest, DragLeavingTheAreaEndsAndUsesUpThePress) {
    makeDocument(2000, 1000);
    paint();
    pointAt(X + 100, 100);
    e.input.mouseDown = true;
    paint();
    ASSERT_TRUE(preview().dragActive);
    const float x0 = preview().viewportX;
    pointAt(X - 300, 100); // over the canvas
    paint();
    EXPECT_FALSE(preview().dragActive);
    EXPECT_FALSE(e.input.mouseDown);
    EXPECT_FLOAT_EQ(preview().viewportX, x0);
}

TEST_F(PreviewPanelTest, RedOutlineMarksTheViewport) {
    makeDocument(2000, 1000);
    paint();
    const PreviewState& p = preview();
    const int left = int(p.previewX + p.viewportX), top = int(p.previewY + p.viewportY);
    EXPECT_EQ(back.pixel(left, top + 10), Color::rgb(255, 0, 0));
    EXPECT_NE(back.pixel(left + 10, top + 10), Color::rgb(255, 0, 0));
}
