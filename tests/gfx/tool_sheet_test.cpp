// SPDX-License-Identifier: GPL-3.0-or-later
// The shipped artwork: data/instrument.png holds a face in every cell that a button cuts from it,
// each face fits the button it is shown on, and nothing is drawn where no button looks.
#include "gfx/Bitmap.h"
#include "support/QtImages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vork;

namespace {

const std::string kSource = VORK_SOURCE_DIR;

// One use of a sheet cell: the cell, and the size of the smallest button that shows it.
struct CellUse {
    const char* what;
    Rect cell;
    int buttonW, buttonH;
};

const std::vector<CellUse>& cellUses() {
    static const std::vector<CellUse> uses = {
        // Command bar: file commands and tools on 20 x 18 buttons.
        {"insert image", {125, 0, 24, 24}, 20, 18},
        {"open image / import frames", {50, 0, 24, 24}, 20, 18},
        {"export", {75, 0, 24, 24}, 20, 18},
        {"new document", {0, 0, 24, 24}, 20, 18},
        {"open document", {25, 0, 24, 24}, 20, 18},
        {"save", {100, 0, 24, 24}, 20, 18},
        {"tool 1 pencil", {75, 75, 24, 24}, 20, 18},
        {"tool 2 flood fill", {0, 75, 24, 24}, 20, 18},
        {"tool 3 colour pick", {25, 75, 24, 24}, 20, 18},
        {"tool 4 lasso", {125, 125, 24, 24}, 20, 18},
        {"tool 5 rectangle selection", {100, 125, 24, 24}, 20, 18},
        {"tool 6 ellipse selection", {75, 125, 24, 24}, 20, 18},
        {"tools 7 and 11, lines", {100, 75, 24, 24}, 20, 18},
        {"tool 8 rectangle", {150, 75, 24, 24}, 20, 18},
        {"tools 9 and 12, ellipses", {125, 75, 24, 24}, 20, 18},
        {"tool 10 smooth pencil", {50, 75, 24, 24}, 20, 18},
        {"tool 13 filled freehand", {50, 125, 22, 22}, 20, 18},
        {"tool 14 filled rectangle", {25, 125, 24, 22}, 20, 18},
        {"tool 15 filled ellipse", {0, 125, 24, 22}, 20, 18},
        {"mirror left-right", {0, 150, 22, 20}, 20, 18},
        {"mirror top-bottom", {25, 150, 22, 20}, 20, 18},
        {"next rotation", {50, 150, 22, 20}, 20, 18},
        // Onion skin box.
        {"onion skin on", {100, 50, 24, 24}, 23, 14},
        {"onion skin grey", {100, 150, 24, 24}, 23, 14},
        // Preview zoom.
        {"zoom out", {100, 100, 22, 22}, 8, 11},
        {"zoom in", {125, 100, 22, 22}, 8, 11},
        // Layer panel.
        {"delete layer", {50, 50, 24, 23}, 28, 15},
        {"new layer", {0, 50, 24, 23}, 28, 15},
        {"duplicate layer", {75, 50, 24, 23}, 28, 15},
        {"clear layer", {25, 50, 24, 23}, 28, 15},
        {"merge down", {150, 100, 24, 23}, 28, 15},
        {"transparency lock", {125, 50, 24, 23}, 28, 15},
        {"scroll layers down", {75, 100, 23, 23}, 15, 15},
        {"scroll layers up", {50, 100, 23, 23}, 15, 15},
        {"layer visible", {100, 50, 24, 24}, 20, 14},
        {"single layer view", {102, 54, 20, 14}, 20, 14},
        {"full opacity", {150, 125, 22, 22}, 30, 14},
        // Frame strip.
        {"enable all frames", {100, 50, 24, 24}, 28, 14},
        {"delete frame", {50, 50, 24, 23}, 28, 14},
        {"new frame", {0, 50, 24, 23}, 28, 14},
        {"duplicate frame", {75, 50, 24, 23}, 28, 14},
        {"first frame", {0, 25, 24, 24}, 28, 14},
        {"last frame", {25, 25, 24, 24}, 28, 14},
        {"previous frame", {50, 25, 24, 24}, 20, 14},
        {"next frame", {75, 25, 24, 24}, 20, 14},
        {"stop", {100, 25, 24, 24}, 20, 14},
        {"play backwards", {125, 25, 24, 24}, 20, 14},
        {"play forwards", {150, 25, 24, 24}, 20, 14},
        {"loop", {150, 50, 22, 24}, 23, 14},
        {"frame enabled", {100, 50, 24, 24}, 23, 14},
        {"scroll frames left", {100, 100, 23, 23}, 15, 15},
        {"scroll frames right", {125, 100, 23, 23}, 15, 15},
        // Palette panel and colour picker.
        {"replace colours", {25, 100, 24, 24}, 20, 15},
        {"load palette", {25, 0, 24, 24}, 20, 18},
        {"save palette", {75, 0, 24, 24}, 20, 18},
        {"palette from image", {50, 0, 24, 24}, 18, 20},
    };
    return uses;
}

Bitmap loadSheet() {
    return test::loadImage(kSource + "/data/instrument.png");
}

bool insideAnyCell(int x, int y) {
    for (const auto& u : cellUses())
        if (x >= u.cell.x && x < u.cell.x + u.cell.w && y >= u.cell.y && y < u.cell.y + u.cell.h)
            return true;
    return false;
}

} // namespace

TEST(ToolSheet, LoadsAsA175By175Image) {
    const Bitmap sheet = loadSheet();
    ASSERT_FALSE(sheet.isNull()) << "data/instrument.png is missing or unreadable";
    EXPECT_EQ(sheet.width(), 175);
    EXPECT_EQ(sheet.height(), 175);
    EXPECT_EQ(sheet.format(), PixelFormat::Argb);
}

TEST(ToolSheet, EveryUsedCellHoldsAFace) {
    const Bitmap sheet = loadSheet();
    ASSERT_EQ(sheet.width(), 175);
    for (const auto& u : cellUses()) {
        int opaque = 0;
        for (int y = u.cell.y; y < u.cell.y + u.cell.h; ++y)
            for (int x = u.cell.x; x < u.cell.x + u.cell.w; ++x)
                if (sheet.pixel(x, y).a() == 255)
                    ++opaque;
        // A legible face needs more than a stray dot or two.
        EXPECT_GE(opaque, 20) << u.what;
    }
}

// A face is drawn unclipped and centred on its button, one pixel further right and down while
// pressed. Its pixels must stay inside the button's bevel in both positions.
TEST(ToolSheet, FacesFitInsideTheirButtons) {
    const Bitmap sheet = loadSheet();
    ASSERT_EQ(sheet.width(), 175);
    for (const auto& u : cellUses()) {
        const int fx = u.buttonW / 2 - u.cell.w / 2, fy = u.buttonH / 2 - u.cell.h / 2;
        for (int y = 0; y < u.cell.h; ++y)
            for (int x = 0; x < u.cell.w; ++x) {
                if (sheet.pixel(u.cell.x + x, u.cell.y + y).a() == 0)
                    continue;
                const int bx = fx + x, by = fy + y;
                EXPECT_TRUE(bx >= 1 && bx + 1 <= u.buttonW - 1 && by >= 1 &&
                            by + 1 <= u.buttonH - 1)
                    << u.what << ": face pixel (" << x << ", " << y << ") lands on (" << bx << ", "
                    << by << ") of a " << u.buttonW << " x " << u.buttonH << " button";
            }
    }
}

TEST(ToolSheet, NothingIsDrawnOutsideTheUsedCells) {
    const Bitmap sheet = loadSheet();
    ASSERT_EQ(sheet.width(), 175);
    int stray = 0;
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x)
            if (!insideAnyCell(x, y) && sheet.pixel(x, y).a() != 0)
                ++stray;
    EXPECT_EQ(stray, 0);
}

// Cells that share a face must still tell their buttons apart from their neighbours: no two
// different cells of the 25-pixel grid carry the same picture.
TEST(ToolSheet, DifferentCellsCarryDifferentFaces) {
    const Bitmap sheet = loadSheet();
    ASSERT_EQ(sheet.width(), 175);
    std::vector<Rect> grid;
    for (const auto& u : cellUses()) {
        const Rect r{u.cell.x - u.cell.x % 25, u.cell.y - u.cell.y % 25, 24, 24};
        bool known = false;
        for (const auto& g : grid)
            known = known || g == r;
        if (!known)
            grid.push_back(r);
    }
    for (size_t i = 0; i < grid.size(); ++i)
        for (size_t j = i + 1; j < grid.size(); ++j) {
            bool same = true;
            for (int y = 0; y < 24 && same; ++y)
                for (int x = 0; x < 24 && same; ++x)
                    same = sheet.pixel(grid[i].x + x, grid[i].y + y) ==
                           sheet.pixel(grid[j].x + x, grid[j].y + y);
            EXPECT_FALSE(same) << "cells (" << grid[i].x << ", " << grid[i].y << ") and ("
                               << grid[j].x << ", " << grid[j].y << ") look alike";
        }
}

TEST(WindowIcons, LargeAndSmallIconsLoadAtTheirSizes) {
    const Bitmap large = test::loadImage(kSource + "/qt/icons/vork32.png");
    const Bitmap small = test::loadImage(kSource + "/qt/icons/vork16.png");
    ASSERT_FALSE(large.isNull());
    ASSERT_FALSE(small.isNull());
    EXPECT_EQ(large.width(), 32);
    EXPECT_EQ(large.height(), 32);
    EXPECT_EQ(small.width(), 16);
    EXPECT_EQ(small.height(), 16);
    int opaque = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            opaque += small.pixel(x, y).a() == 255;
    EXPECT_GT(opaque, 64) << "the small icon is nearly empty";
}
