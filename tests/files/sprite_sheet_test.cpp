// SPDX-License-Identifier: GPL-3.0-or-later
// Sprite sheets: the enabled frames in a grid in one PNG, and the JSON file that places them.
#include "files/SpriteSheet.h"
#include "files/SpriteSheetJson.h"
#include "model/Limits.h"
#include "support/PixelChecks.h"
#include "support/QtImages.h"
#include "support/TempDir.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

using namespace vork;
using test::TempDir;

namespace {

// Six frames of 7 x 5, random pixels with every alpha, each its own delay; the third is off.
Document sixFrames() {
    Document d(7, 5, 100);
    const double delays[] = {40, 33.5, 0, 1000, 10, 100};
    for (int i = 0; i < 6; ++i) {
        if (i > 0)
            d.insertFrameAfter(d.currentFrameIndex());
        d.currentLayer().image = test::randomBitmap(7, 5, unsigned(i + 1));
        d.current().delay = delays[i];
    }
    d.frame(2).enabled = false;
    return d;
}

Bitmap cellOf(const Bitmap& sheet, Rect r) {
    return sheet.copy(r);
}

QJsonObject readJson(const std::string& path) {
    const std::string text = test::readBytes(path);
    QJsonParseError error;
    const QJsonDocument doc =
        QJsonDocument::fromJson(QByteArray(text.data(), qsizetype(text.size())), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return doc.object();
}

Rect rectOf(const QJsonObject& o) {
    return {o["x"].toInt(), o["y"].toInt(), o["w"].toInt(), o["h"].toInt()};
}

} // namespace

TEST(SheetGrid, GivenColumnsAreKeptAndTheDefaultIsAsSquareAsPossible) {
    const SheetGrid given = sheetGrid(7, 10, 6, 3);
    EXPECT_EQ(given.columns, 3);
    EXPECT_EQ(given.rows, 3);
    EXPECT_EQ(given.width(), 30);
    EXPECT_EQ(given.height(), 18);
    EXPECT_EQ(given.cell(0), (Rect{0, 0, 10, 6}));
    EXPECT_EQ(given.cell(4), (Rect{10, 6, 10, 6})) << "left to right, then top to bottom";
    EXPECT_EQ(given.cell(6), (Rect{0, 12, 10, 6}));
    EXPECT_EQ(sheetGrid(3, 10, 6, 8).columns, 3) << "more columns than frames make one row";
    EXPECT_EQ(sheetGrid(3, 10, 6, 99999).width(), 30);

    auto columns = [](int frames, int w, int h) { return sheetGrid(frames, w, h).columns; };
    EXPECT_EQ(columns(1, 30, 20), 1);
    EXPECT_EQ(columns(16, 10, 10), 4);
    EXPECT_EQ(columns(5, 10, 10), 3) << "3 x 2 and 2 x 3 are as square: the wider is taken";
    EXPECT_EQ(columns(10, 10, 10), 4) << "4 x 3 rather than 5 x 2";
    EXPECT_EQ(columns(16, 100, 25), 2) << "wide frames: 2 x 8 cells make 200 x 200 pixels";
    EXPECT_EQ(columns(6, 10, 40), 6) << "tall frames side by side: 60 x 40";
    EXPECT_EQ(sheetGrid(9, 10, 10).rows, 3);
}

TEST(SpriteSheet, FramesLieInTheGridExactlyAndTheJsonPlacesThem) {
    TempDir dir;
    const Document d = sixFrames();
    const ExportResult result = exportSpriteSheet(d, dir.file("walk.sheet"), SingleLayerView::Off);
    ASSERT_TRUE(result) << result.outcome.reason << " " << result.outcome.detail;
    EXPECT_EQ(result.written,
              (std::vector<std::string>{dir.file("walk.png"), dir.file("walk.json")}));

    // Five frames of 7 x 5 as square as possible: 2 columns, 3 rows, 14 x 15 (3 columns would
    // make 21 x 10).
    const Bitmap sheet = test::loadImage(dir.file("walk.png"));
    ASSERT_EQ(sheet.width(), 14);
    ASSERT_EQ(sheet.height(), 15);
    const int frameOf[] = {0, 1, 3, 4, 5};
    const QJsonObject json = readJson(dir.file("walk.json"));
    const QJsonArray frames = json["frames"].toArray();
    ASSERT_EQ(frames.size(), 5);
    const double delays[] = {40, 33.5, 1000, 10, 100};
    for (int i = 0; i < 5; ++i) {
        const QJsonObject f = frames[i].toObject();
        const Rect r = rectOf(f["frame"].toObject());
        EXPECT_EQ(r, (Rect{i % 2 * 7, i / 2 * 5, 7, 5})) << "frame " << i;
        const Frame& frame = d.frame(frameOf[i]);
        EXPECT_TRUE(
            test::samePixels(cellOf(sheet, r), composeLayers(frame, 7, 5, SingleLayerView::Off, 0)))
            << "frame " << i;
        EXPECT_EQ(f["filename"].toString().toStdString(),
                  "walk00" + std::to_string(i + 1) + ".png");
        EXPECT_EQ(f["duration"].toDouble(), delays[i]) << "frame " << i;
        EXPECT_EQ(rectOf(f["spriteSourceSize"].toObject()), (Rect{0, 0, 7, 5}));
        EXPECT_FALSE(f["rotated"].toBool(true));
    }
    EXPECT_EQ(test::countPixels(cellOf(sheet, {7, 10, 7, 5}), colors::transparent), 35)
        << "the empty cell stays transparent";
    const QJsonObject meta = json["meta"].toObject();
    EXPECT_EQ(meta["image"].toString(), "walk.png");
    EXPECT_EQ(meta["size"].toObject()["w"].toInt(), 14);
    EXPECT_EQ(meta["size"].toObject()["h"].toInt(), 15);
}

TEST(SpriteSheet, PaddingKeepsScaledCellsApartAndTheJsonPlacesThem) {
    TempDir dir;
    const Document d = sixFrames();
    // Five cells of 14 x 10 (scale 2), 3 pixels apart: 2 columns make 31 x 36.
    ASSERT_TRUE(exportSpriteSheet(d, dir.file("pad"), SingleLayerView::Off, 0, {}, 2, 3));
    const Bitmap sheet = test::loadImage(dir.file("pad.png"));
    ASSERT_EQ(sheet.width(), 31);
    ASSERT_EQ(sheet.height(), 36);
    const QJsonObject json = readJson(dir.file("pad.json"));
    const QJsonArray frames = json["frames"].toArray();
    ASSERT_EQ(frames.size(), 5);
    int inCells = 0;
    for (int i = 0; i < 5; ++i) {
        const Rect r = rectOf(frames[i].toObject()["frame"].toObject());
        EXPECT_EQ(r, (Rect{i % 2 * 17, i / 2 * 13, 14, 10})) << "frame " << i;
        inCells += test::countPixels(cellOf(sheet, r), [](Color c) { return c.a() > 0; });
    }
    EXPECT_EQ(test::countPixels(sheet, [](Color c) { return c.a() > 0; }), inCells)
        << "the padding is transparent";
    EXPECT_EQ(json["meta"].toObject()["scale"].toString(), "2");
}

TEST(SpriteSheet, OneFrameMakesASheetOfThatFrameAndTheViewIsHonoured) {
    TempDir dir;
    Document d(4, 3, 250);
    d.currentLayer().image.fill(test::red);
    d.current().appendLayer();
    d.currentLayer().image.setPixel(2, 1, Color::fromArgb(100, 0, 0, 255));
    d.currentLayer().visible = false;
    ASSERT_TRUE(exportSpriteSheet(d, dir.file("one.png"), SingleLayerView::Off, 5));
    const Bitmap all = test::loadImage(dir.file("one.png"));
    EXPECT_EQ(all.width(), 4) << "five columns asked of one frame make one";
    EXPECT_TRUE(test::samePixels(cellOf(all, {0, 0, 4, 3}), d.frame(0).layer(0).image));
    const QJsonArray frames = readJson(dir.file("one.json"))["frames"].toArray();
    ASSERT_EQ(frames.size(), 1);
    EXPECT_EQ(frames[0].toObject()["duration"].toDouble(), 250);

    ASSERT_TRUE(exportSpriteSheet(d, dir.file("alone.png"), SingleLayerView::On));
    const Bitmap alone = test::loadImage(dir.file("alone.png"));
    EXPECT_TRUE(test::samePixels(alone, d.frame(0).layer(1).image))
        << "the current layer alone, hidden or not";
}

TEST(SpriteSheet, ASheetPastTheSideLimitIsRefusedAndNothingWritten) {
    TempDir dir;
    Document wide(2500, 1, 100);
    wide.insertFrameAfter(0);
    wide.insertFrameAfter(1);
    // Two columns of 2500 reach the limit exactly; three pass it.
    EXPECT_TRUE(exportSpriteSheet(wide, dir.file("two"), SingleLayerView::Off, 2));
    EXPECT_EQ(test::loadImage(dir.file("two.png")).width(), maxDocumentSide);
    const ExportResult three = exportSpriteSheet(wide, dir.file("three"), SingleLayerView::Off, 3);
    EXPECT_EQ(three.outcome.failure, ImageFailure::TooLarge);
    EXPECT_EQ(three.outcome.reason, "изображение слишком большое");
    EXPECT_EQ(three.outcome.detail, "лист 7500 x 1 пикселей, наибольшая сторона 5000");
    EXPECT_FALSE(std::filesystem::exists(dir.file("three.png")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("three.json")));
    EXPECT_EQ(
        exportSpriteSheet(wide, dir.file("huge"), SingleLayerView::Off, 1 << 30).outcome.failure,
        ImageFailure::TooLarge)
        << "a column count whose width overflows an int";

    // Two frames of 2600 x 2600 fit no grid: one column is 5200 high, two 5200 wide.
    Document big(2600, 2600, 100);
    big.insertFrameAfter(0);
    const ExportResult square = exportSpriteSheet(big, dir.file("big"), SingleLayerView::Off);
    EXPECT_EQ(square.outcome.failure, ImageFailure::TooLarge);
    EXPECT_FALSE(std::filesystem::exists(dir.file("big.png")));
}

TEST(SpriteSheet, FailuresNameTheFileAndLeaveOldFilesWhole) {
    TempDir dir;
    const Document d = sixFrames();
    test::writeBytes(dir.file("walk.png"), "old sheet");
    test::writeBytes(dir.file("walk.json"), "old json");

    const ExportResult cancelled = exportSpriteSheet(d, dir.file("walk"), SingleLayerView::Off, 0,
                                                     [](int done, int) { return done < 3; });
    EXPECT_EQ(cancelled.outcome.failure, ImageFailure::Cancelled);
    EXPECT_EQ(test::readBytes(dir.file("walk.png")), "old sheet");

    Document off = sixFrames();
    for (Frame& frame : off.frames())
        frame.enabled = false;
    EXPECT_EQ(exportSpriteSheet(off, dir.file("walk"), SingleLayerView::Off).outcome.failure,
              ImageFailure::NoEnabledFrames);
    EXPECT_EQ(test::readBytes(dir.file("walk.json")), "old json");

    // A folder where the JSON file goes: the sheet is written, the JSON failure named.
    std::filesystem::create_directories(dir.file("jump.json"));
    const ExportResult half = exportSpriteSheet(d, dir.file("jump"), SingleLayerView::Off);
    EXPECT_EQ(half.outcome.failure, ImageFailure::CannotWrite);
    EXPECT_EQ(half.outcome.file, dir.file("jump.json"));
    EXPECT_FALSE(half.outcome.detail.empty());
    EXPECT_EQ(half.written, std::vector<std::string>{dir.file("jump.png")});
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("jump.json")));

    // A missing folder: nothing at all.
    const ExportResult none = exportSpriteSheet(d, dir.file("missing/walk"), SingleLayerView::Off);
    EXPECT_EQ(none.outcome.failure, ImageFailure::CannotWrite);
    EXPECT_EQ(none.outcome.file, dir.file("missing/walk.png"));
    EXPECT_TRUE(none.written.empty());
}

TEST(SpriteSheetJson, NamesAreEscapedAndDelaysWrittenAsNumbers) {
    const std::vector<SheetFrame> frames = {
        {"we\"ird\\name\t1", {0, 0, 2, 3}, 33.5},
        {"кадр", {2, 0, 2, 3}, std::nan("")},
        {"long", {4, 0, 2, 3}, 1e7},
    };
    const std::string text = spriteSheetJson(frames, "лист \"1\".png", 6, 3);
    QJsonParseError error;
    const QJsonObject json =
        QJsonDocument::fromJson(QByteArray::fromStdString(text), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << text;
    const QJsonArray list = json["frames"].toArray();
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list[0].toObject()["filename"].toString().toStdString(), "we\"ird\\name\t1");
    EXPECT_EQ(list[0].toObject()["duration"].toDouble(), 33.5);
    EXPECT_EQ(list[1].toObject()["filename"].toString().toStdString(), "кадр");
    EXPECT_EQ(list[1].toObject()["duration"].toDouble(), 0) << "not a number: 0";
    EXPECT_EQ(list[2].toObject()["duration"].toDouble(), 1e7);
    EXPECT_EQ(rectOf(list[2].toObject()["frame"].toObject()), (Rect{4, 0, 2, 3}));
    EXPECT_EQ(json["meta"].toObject()["image"].toString().toStdString(), "лист \"1\".png");
}
