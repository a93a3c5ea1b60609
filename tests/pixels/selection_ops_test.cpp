// SPDX-License-Identifier: GPL-3.0-or-later
#include "pixels/SelectionOps.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vork;

namespace {
// An opaque layer in which every pixel has its own colour.
Bitmap patterned(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.setPixel(x, y, Color::rgb(x * 7, y * 5, 100));
    return b;
}
int opaqueCount(const Bitmap& b) {
    int n = 0;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            n += b.pixel(x, y).a() != 0;
    return n;
}
} // namespace

TEST(SelectionTake, StampedAtOnceKeepsOpaquePixelsAndThickensTranslucentOnes) {
    Bitmap layer = patterned(20, 20);
    layer.setPixel(7, 7, Color::fromArgb(128, 200, 40, 40));
    Bitmap before = layer.clone();
    Selection s;
    s.lifted = true;
    ASSERT_TRUE(takeRectangle(s, {5, 5, 10, 10}, layer));
    EXPECT_TRUE(s.active);
    EXPECT_TRUE(s.lifted) << "a take leaves lifted as it was";
    EXPECT_EQ(s.image.width(), 10);
    stamp(s, layer);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            if (x != 7 || y != 7) {
                ASSERT_EQ(layer.pixel(x, y), before.pixel(x, y)) << x << "," << y;
            }
    EXPECT_GT(layer.pixel(7, 7).a(), 180);
    EXPECT_LT(layer.pixel(7, 7).a(), 255);
}

TEST(SelectionTake, PixelsOutsideTheLayerStayTransparent) {
    Bitmap layer = patterned(10, 10);
    Selection s;
    ASSERT_TRUE(takeRectangle(s, {-3, 7, 6, 5}, layer));
    EXPECT_EQ(s.x, -3.0f);
    EXPECT_EQ(s.y, 7.0f);
    for (int j = 0; j < 5; ++j)
        for (int i = 0; i < 6; ++i) {
            bool inside = i >= 3 && j < 3;
            EXPECT_EQ(s.image.pixel(i, j), inside ? layer.pixel(i - 3, j + 7) : colors::transparent)
                << i << "," << j;
        }
}

TEST(SelectionTake, EllipseImageIsTransparentOutsideTheEllipse) {
    Bitmap layer = patterned(40, 40);
    Selection s;
    ASSERT_TRUE(takeEllipse(s, {4, 6, 20, 12}, layer));
    EXPECT_EQ(s.image.pixel(10, 6), layer.pixel(14, 12)) << "the centre is taken";
    for (int j = 0; j < 12; ++j)
        for (int i = 0; i < 20; ++i) {
            float u = (i + 0.5f - 10) / 10, v = (j + 0.5f - 6) / 6;
            if (u * u + v * v > 1.15f) {
                EXPECT_EQ(s.image.pixel(i, j), colors::transparent) << i << "," << j;
            }
            if (u * u + v * v < 0.85f) {
                EXPECT_EQ(s.image.pixel(i, j), layer.pixel(i + 4, j + 6)) << i << "," << j;
            }
            bool taken = s.image.pixel(i, j).a() != 0;
            EXPECT_EQ(taken, s.image.pixel(19 - i, j).a() != 0) << "symmetric left-right";
            EXPECT_EQ(taken, s.image.pixel(i, 11 - j).a() != 0) << "symmetric top-bottom";
        }
}

TEST(SelectionTake, LassoImageIsThePenWidenedBoxTransparentOutsideThePath) {
    Bitmap layer = patterned(50, 50);
    Path path;
    path.addPolygon({{10, 10}, {30, 10}, {10, 30}});
    Selection s;
    ASSERT_TRUE(takePath(s, path, layer));
    EXPECT_EQ((Rect{int(s.x), int(s.y), s.image.width(), s.image.height()}), (Rect{9, 9, 22, 22}));
    for (int j = 0; j < 22; ++j)
        for (int i = 0; i < 22; ++i) {
            int px = i + 9, py = j + 9;
            bool inside = px >= 10 && py >= 10 && px + py <= 38;
            bool outside = px < 10 || py < 10 || px + py >= 40;
            if (inside) {
                EXPECT_EQ(s.image.pixel(i, j), layer.pixel(px, py)) << px << "," << py;
            }
            if (outside) {
                EXPECT_EQ(s.image.pixel(i, j), colors::transparent) << px << "," << py;
            }
        }
}

TEST(SelectionTake, EmptyBoundsOrNullLayerLeaveTheSelectionAlone) {
    Bitmap layer = patterned(10, 10);
    Selection s;
    ASSERT_TRUE(takeRectangle(s, {1, 1, 4, 4}, layer));
    EXPECT_FALSE(takeRectangle(s, {2, 2, 0, 5}, layer));
    EXPECT_FALSE(takeEllipse(s, {2, 2, 5, -1}, layer));
    EXPECT_FALSE(takePath(s, Path{}, layer));
    EXPECT_FALSE(takeRectangle(s, {0, 0, 3, 3}, Bitmap{}));
    EXPECT_EQ((Rect{int(s.x), int(s.y), int(s.width), int(s.height)}), (Rect{1, 1, 4, 4}));
    EXPECT_EQ(s.image.pixel(0, 0), layer.pixel(1, 1));
}

TEST(SelectionPlace, CutOutAtTheTakenPlaceRemovesExactlyTheTakenPixels) {
    Bitmap layer = patterned(30, 30);
    Bitmap before = layer.clone();
    Selection s;
    ASSERT_TRUE(takeEllipse(s, {5, 3, 15, 11}, layer));
    cutOut(s, layer);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) {
            bool taken = s.image.pixel(x - 5, y - 3).a() != 0;
            ASSERT_EQ(layer.pixel(x, y), taken ? colors::transparent : before.pixel(x, y));
        }
}

TEST(SelectionPlace, LiftMoveAndStampShiftsThePixels) {
    Bitmap layer = patterned(20, 20);
    Bitmap before = layer.clone();
    Selection s;
    ASSERT_TRUE(takeRectangle(s, {5, 5, 10, 10}, layer));
    cutOut(s, layer);
    s.x += 3;
    stamp(s, layer);
    for (int y = 5; y < 15; ++y) {
        for (int x = 5; x < 8; ++x)
            EXPECT_EQ(layer.pixel(x, y), colors::transparent) << x << "," << y;
        for (int x = 8; x < 18; ++x)
            EXPECT_EQ(layer.pixel(x, y), before.pixel(x - 3, y)) << x << "," << y;
    }
    EXPECT_EQ(layer.pixel(18, 5), before.pixel(18, 5));
}

TEST(SelectionPlace, QuarterTurnRotatesExactlyAboutThePivot) {
    Selection s;
    s.image = Bitmap(3, 2);
    for (int l = 0; l < 2; ++l)
        for (int k = 0; k < 3; ++k)
            s.image.setPixel(k, l, Color::rgb(40 + 60 * k, 50 + 100 * l, 9));
    s.active = s.lifted = true;
    s.x = 10, s.y = 10, s.width = 3, s.height = 2, s.angle = 90;
    Bitmap layer(30, 30);
    stamp(s, layer);
    // Pivot (11, 11); the centre of image pixel (k, l) is (k - 1, l - 1) from it, turned a
    // quarter clockwise (y grows downwards).
    for (int l = 0; l < 2; ++l)
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(layer.pixel(12 - l, 10 + k), s.image.pixel(k, l)) << k << "," << l;
    EXPECT_EQ(opaqueCount(layer), 6);
}

TEST(SelectionPlace, EighthTurnIsSmoothAroundThePivotAndCutOutCoversTheSoftEdge) {
    Bitmap source(40, 40);
    source.fill(Color::rgb(0, 0, 255));
    Selection s;
    ASSERT_TRUE(takeRectangle(s, {15, 15, 10, 10}, source));
    s.angle = 45;
    Bitmap stamped(40, 40);
    stamp(s, stamped);
    int soft = 0, minX = 40, maxX = -1;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            uint8_t a = stamped.pixel(x, y).a();
            soft += a > 0 && a < 255;
            if (a > 0)
                minX = std::min(minX, x), maxX = std::max(maxX, x);
        }
    EXPECT_GT(soft, 4);
    EXPECT_EQ(stamped.pixel(20, 20).a(), 255) << "the pivot is covered";
    EXPECT_GT(stamped.pixel(20, 13).a(), 0) << "a corner reaches up beyond the unturned square";
    EXPECT_NEAR(minX, 20 - 7, 1);
    EXPECT_NEAR(maxX, 20 + 7, 1);
}

TEST(SelectionPlace, TurnedCutOutClearsExactlyWhatTheTurnedStampCovers) {
    Bitmap full(30, 30);
    full.fill(Color::rgb(0, 0, 255));
    for (float angle : {30.0f, 45.0f, 100.0f, 200.0f, 333.0f})
        for (Point at : {Point{8, 9}, Point{-4, 22}}) {
            Selection s;
            ASSERT_TRUE(takeRectangle(s, {5, 5, 11, 6}, full));
            s.x = float(at.x), s.y = float(at.y), s.angle = angle;
            Bitmap stamped(30, 30), layer = full.clone();
            stamp(s, stamped);
            cutOut(s, layer);
            for (int y = 0; y < 30; ++y)
                for (int x = 0; x < 30; ++x)
                    ASSERT_EQ(layer.pixel(x, y).a() == 0, stamped.pixel(x, y).a() != 0)
                        << angle << " at " << at.x << "," << at.y << ": " << x << "," << y;
        }
}

TEST(SelectionPlace, NothingToPlaceLeavesTheLayerAlone) {
    Bitmap layer = patterned(10, 10);
    Bitmap before = layer.clone();
    Selection s;
    s.width = s.height = 4;
    cutOut(s, layer); // no image
    s.image = Bitmap(4, 4);
    s.image.fill(colors::white);
    s.width = 0;
    cutOut(s, layer);
    stamp(s, layer);
    s.width = 4, s.x = std::nanf("");
    cutOut(s, layer);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(layer.pixel(x, y), before.pixel(x, y));
}

TEST(SelectionMirror, MirrorsAreExactEvenForTranslucentPixels) {
    Selection s;
    s.image = Bitmap(3, 2);
    for (int l = 0; l < 2; ++l)
        for (int k = 0; k < 3; ++k)
            s.image.setPixel(k, l, Color::fromArgb(3 + k + 10 * l, 201, 77 + k, 13 * l));
    Bitmap original = s.image.clone();
    mirrorHorizontal(s);
    mirrorVertical(s);
    for (int l = 0; l < 2; ++l)
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(s.image.pixel(k, l), original.pixel(2 - k, 1 - l)) << k << "," << l;
}

TEST(SelectionCopyPaste, OddSizedPasteLiesOnHalfPixelsAndStampsTruncated) {
    Bitmap layer = patterned(20, 20);
    Selection s;
    ASSERT_TRUE(takeRectangle(s, {2, 4, 5, 3}, layer));
    s.angle = 45;
    copySelection(s);
    ASSERT_TRUE(s.hasCopy);
    s.drop();
    pasteSelection(s, 10, 10);
    EXPECT_TRUE(s.active && s.lifted);
    EXPECT_EQ(s.x, 7.5f);
    EXPECT_EQ(s.y, 8.5f);
    EXPECT_EQ(s.angle, 45.0f) << "paste keeps the angle";
    s.angle = 0;
    Bitmap target(20, 20);
    stamp(s, target);
    EXPECT_EQ(opaqueCount(target), 15);
    EXPECT_EQ(target.pixel(7, 8), layer.pixel(2, 4));
    EXPECT_EQ(target.pixel(11, 10), layer.pixel(6, 6));
}

TEST(SelectionCopyPaste, CopyNeedsAnActiveSelectionAndPasteACopy) {
    Bitmap layer = patterned(10, 10);
    Selection s;
    ASSERT_TRUE(takeRectangle(s, {0, 0, 4, 4}, layer));
    s.drop();
    copySelection(s);
    EXPECT_FALSE(s.hasCopy);
    EXPECT_TRUE(s.copyImage.isNull());
    pasteSelection(s, 5, 5);
    EXPECT_FALSE(s.active);
    EXPECT_EQ(s.x, 0.0f);
    EXPECT_EQ(s.image.width(), 4);
}
