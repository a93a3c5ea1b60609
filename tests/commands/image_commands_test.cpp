// SPDX-License-Identifier: GPL-3.0-or-later
// Images in and out through the command bar's first row and the menu: insertion as a pasted
// Selection, an image as a new picture, GIF frames as a new animation, PNG exports.
#include "canvas/Canvas.h"
#include "commands/FileMessages.h"
#include "files/AnimationFile.h"
#include "files/PictureFile.h"
#include "support/CommandScenario.h"
#include "support/GifWriter.h"
#include "support/TempDir.h"
#include "support/WriteProtection.h"
#include "ui/Commands.h"

#include <QImage>
#include <QImageReader>
#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

using namespace vork;
using vork::test::blue;
using vork::test::red;

namespace {

// A w x h PNG whose pixel (x, y) is (x, y, 7) with alpha 255, and (0, 0) transparent.
std::string writePng(const test::TempDir& dir, const std::string& name, int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgba(x, y, 7, 255));
    image.setPixel(0, 0, qRgba(0, 0, 0, 0));
    const std::string path = dir.file(name);
    EXPECT_TRUE(image.save(QString::fromStdString(path), "PNG"));
    return path;
}

struct ImageCommandsTest : test::BothModesCommandScenario {
    Document& doc() { return *e.mode(mode).document; }
};

TEST_P(ImageCommandsTest, TheBarInsertsAnImageAsALiftedSelectionInTheMiddleOfTheView) {
    const std::string png = writePng(dir, "sprite.png", 6, 4);
    // Without a document the button does nothing.
    e.shownMode = painter() ? Mode::Painter : Mode::Animator;
    clickButton(test::columnFirst, test::rowImport);
    EXPECT_TRUE(platform.choosersShown.empty());

    newDocument(mode, 40, 30);
    paint();
    platform.openAnswers.push_back(png);
    clickButton(test::columnFirst, test::rowImport);
    ASSERT_EQ(platform.choosersShown.size(), 1u);
    const FileChooser& c = platform.choosersShown[0];
    EXPECT_EQ(c.title, "Вставка из графического файла");
    EXPECT_EQ(c.initialFolder, "frames");
    ASSERT_EQ(c.filters.size(), 1u);
    EXPECT_EQ(c.filters[0].second, "*.png;*.jpg;*.gif;*.bmp;*.tiff");
    EXPECT_EQ(e.chooserNames.imageToInsert, png);

    const Selection& s = e.selection;
    EXPECT_TRUE(s.active);
    EXPECT_TRUE(s.lifted);
    EXPECT_TRUE(s.hasCopy);
    EXPECT_TRUE(s.pastedFromOutside);
    EXPECT_EQ(e.currentTool, Tool::RectangleSelection);
    EXPECT_EQ(s.width, 6);
    EXPECT_EQ(s.height, 4);
    const Point centre = insertionCentre(canvasPlacement(e, mode), mode, 40, 30);
    EXPECT_EQ(centre.x, painter() ? 20 : 19) << "the Animator's visible part is 39 x 29";
    EXPECT_EQ(centre.y, painter() ? 15 : 14);
    EXPECT_EQ(s.x, centre.x - 3.0f);
    EXPECT_EQ(s.y, centre.y - 2.0f);
    EXPECT_EQ(s.image.pixel(5, 3), Color::rgb(5, 3, 7));
    EXPECT_EQ(s.image.pixel(0, 0).a(), 0);

    // Enter stamps it onto the layer where it lies.
    platform.held.insert(HeldKey::Enter);
    paint();
    platform.held.clear();
    paint();
    EXPECT_EQ(doc().currentLayer().image.pixel(int(s.x) + 5, int(s.y) + 3), Color::rgb(5, 3, 7));
}

// At 1000 % a 4 x 2 image inserted into a 12 x 8 document and stamped with Enter lands
// centred on the visible part: the Animator takes it as 11 x 7 zoomed pixels, so the image
// goes to (3, 2); the Painter takes the whole 12 x 8, so it goes to (4, 3). The saved file
// holds it there.
TEST_P(ImageCommandsTest, AnInsertedImageLandsCentredOnTheModesVisiblePart) {
    const std::string png = writePng(dir, "small.png", 4, 2);
    newDocument(mode, 12, 8);
    e.mode(mode).zoomIndex = 18; // 1000 %
    paint();
    platform.openAnswers.push_back(png);
    clickButton(test::columnFirst, test::rowImport);
    ASSERT_TRUE(e.selection.active);
    platform.held.insert(HeldKey::Enter);
    paint();
    platform.held.clear();
    paint();
    platform.saveAnswers.push_back(dir.file("placed"));
    clickButton(test::columnThird, test::rowFile);
    const std::string file = dir.file(painter() ? "placed.trnl" : "placed.gelm");
    const DocumentReadResult read = painter() ? readPictureFile(file) : readAnimationFile(file);
    ASSERT_TRUE(read);
    const Bitmap& layer = read.document->frame(0).layer(0).image;
    const int left = painter() ? 4 : 3, top = painter() ? 3 : 2;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool inImage = x >= left && x < left + 4 && y >= top && y < top + 2 &&
                                 (x != left || y != top); // the image's (0, 0) is transparent
            EXPECT_EQ(layer.pixel(x, y),
                      inImage ? Color::rgb(x - left, y - top, 7) : Color::fromArgb(0, 0, 0, 0))
                << x << ", " << y;
        }
}

TEST_P(ImageCommandsTest, AnImageThatCannotBeLoadedIsNamedAndChangesNothing) {
    newDocument(mode, 20, 20);
    paint();
    const std::string bad = dir.file("bad.png");
    test::writeBytes(bad, "\x89PNG\r\n\x1a\n not really");
    platform.openAnswers.push_back(bad);
    clickButton(test::columnFirst, test::rowImport);
    EXPECT_FALSE(e.selection.active);
    EXPECT_FALSE(e.selection.hasCopy);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].first, openFailureCaption);
    EXPECT_NE(platform.messages[0].second.find(bad), std::string::npos);
}

// Inserting a FIFO or a link to a device named like an image: refused at once with the reason,
// the drawing as it was (the program neither hangs nor runs out of memory).
TEST_P(ImageCommandsTest, AFifoOrADeviceChosenAsAnImageIsRefusedAndChangesNothing) {
    newDocument(mode, 20, 20);
    paint();
    doc().currentLayer().image.setPixel(3, 3, red);
    ASSERT_EQ(::mkfifo(dir.file("f.png").c_str(), 0644), 0);
    std::filesystem::create_symlink("/dev/zero", dir.file("z.png"));
    for (const char* name : {"f.png", "z.png"}) {
        platform.messages.clear();
        platform.openAnswers.push_back(dir.file(name));
        clickButton(test::columnFirst, test::rowImport);
        EXPECT_FALSE(e.selection.active) << name;
        ASSERT_EQ(platform.messages.size(), 1u) << name;
        EXPECT_NE(platform.messages[0].second.find("это не обычный файл"), std::string::npos)
            << platform.messages[0].second;
        EXPECT_EQ(doc().currentLayer().image.pixel(3, 3), red);
    }
}

INSTANTIATE_TEST_SUITE_P(BothModes, ImageCommandsTest,
                         ::testing::Values(Mode::Painter, Mode::Animator));

struct ImageFileCommands : test::CommandScenario<> {
    test::TempDir dir;
    void SetUp() override {
        resize(1000, 700);
        makeToolButtons();
    }
};

TEST_F(ImageFileCommands, TheMenuInsertionOnlyLoadsTheImageForThePasteKey) {
    const std::string png = writePng(dir, "a.png", 3, 5);
    onCommand(e, Command::InsertFromFile);
    EXPECT_TRUE(platform.choosersShown.empty()) << "no document: nothing to insert into";

    newDocument(Mode::Animator, 30, 30);
    paint();
    platform.openAnswers.push_back(png);
    onCommand(e, Command::InsertFromFile);
    EXPECT_TRUE(e.selection.hasCopy);
    EXPECT_FALSE(e.selection.active) << "nothing is pasted yet";
    EXPECT_EQ(e.currentTool, Tool::RectangleSelection);
    EXPECT_EQ(e.selection.copyImage.width(), 3);
    type('v');
    EXPECT_TRUE(e.selection.active);
    EXPECT_EQ(e.selection.width, 3);
}

TEST_F(ImageFileCommands, ThePainterOpensAnImageAsANewPicture) {
    const std::string png = writePng(dir, "photo.png", 17, 9);
    newDocument(Mode::Painter, 30, 30);
    paint();
    platform.openAnswers.push_back(png);
    clickButton(test::columnSecond, test::rowImport);
    EXPECT_EQ(platform.choosersShown.at(0).title, "Загрузка Png; Jpg; Gif; Bmp; Tiff.");
    EXPECT_EQ(platform.choosersShown.at(0).initialFolder, "png");
    Document& picture = *e.picture();
    EXPECT_EQ(picture.width, 17);
    EXPECT_EQ(picture.height, 9);
    EXPECT_EQ(e.mode(Mode::Painter).width, 17);
    EXPECT_EQ(picture.currentLayer().image.pixel(16, 8), Color::rgb(16, 8, 7));
    EXPECT_EQ(e.mode(Mode::Painter).scratch.width(), 17);
}

TEST_F(ImageFileCommands, TheAnimatorImportsTheFramesOfAGif) {
    const std::string gif = dir.file("walk.gif");
    std::vector<test::GifFrame> frames;
    for (int k = 0; k < 5; ++k) {
        frames.push_back(test::fullFrame(64, 48, [k](int x, int) { return x == k ? 1 : 0; }));
        frames.back().delayCentiseconds = 50;
    }
    ASSERT_TRUE(test::writeGif(gif, 64, 48, {colors::white, red}, frames));
    newDocument(Mode::Animator, 10, 10);
    paint();
    platform.openAnswers.push_back(gif);
    clickButton(test::columnSecond, test::rowImport);
    EXPECT_EQ(platform.choosersShown.at(0).title, "Импорт анимации из GIF файлов");
    EXPECT_EQ(platform.choosersShown.at(0).initialFolder, "gif");
    Document& a = *e.animation();
    ASSERT_EQ(a.frameCount(), 5);
    EXPECT_EQ(a.width, 64);
    EXPECT_EQ(a.height, 48);
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(a.frame(k).delay, 500) << "the delay of 50 hundredths the GIF gives";
        EXPECT_TRUE(a.frame(k).enabled);
        EXPECT_EQ(a.frame(k).layer(0).image.pixel(k, 10), red);
    }
    EXPECT_EQ(e.mode(Mode::Animator).width, 64);
    EXPECT_FALSE(platform.progressSteps.empty());

    // A damaged GIF leaves the animation alone and says so.
    std::string bytes = test::readBytes(gif);
    test::writeBytes(gif, bytes.substr(0, bytes.size() / 2));
    platform.openAnswers.push_back(gif);
    onCommand(e, Command::ImportGif);
    EXPECT_EQ(e.animation().get(), &a);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].second.find(gif), std::string::npos);
}

TEST_F(ImageFileCommands, ThePictureIsExportedAsItsCompositeUnderAPngName) {
    Document& picture = newDocument(Mode::Painter, 4, 3);
    picture.current().appendLayer();
    picture.currentLayer().image.setPixel(1, 1, red);
    picture.frame(0).layer(0).image.setPixel(2, 2, blue);
    picture.frame(0).layer(0).visible = false;
    paint();
    platform.saveAnswers.push_back(dir.file("pic.bmp"));
    clickButton(test::columnThird, test::rowImport);
    EXPECT_EQ(platform.choosersShown.at(0).title, "Сохранить растр в формате PNG");
    EXPECT_EQ(platform.choosersShown.at(0).defaultExtension, ".png");
    EXPECT_FALSE(std::filesystem::exists(dir.file("pic.bmp")));
    QImage written(QString::fromStdString(dir.file("pic.png")));
    ASSERT_FALSE(written.isNull());
    EXPECT_EQ(written.pixel(1, 1), qRgba(255, 0, 0, 255));
    EXPECT_EQ(qAlpha(written.pixel(2, 2)), 0) << "a hidden layer is not exported";
}

TEST_F(ImageFileCommands, TheEnabledFramesAreExportedNumberedWithoutGaps) {
    Document& a = newDocument(Mode::Animator, 5, 5);
    for (int k = 1; k < 4; ++k)
        a.insertFrameAfter(k - 1);
    for (int k = 0; k < 4; ++k)
        a.frame(k).layer(0).image.setPixel(k, 0, red);
    a.frame(1).enabled = false;
    paint();
    platform.saveAnswers.push_back(dir.file("walk.png"));
    onCommand(e, Command::ExportPng);
    EXPECT_EQ(platform.choosersShown.at(0).title, "Экспорт кадров в формате PNG");
    EXPECT_EQ(platform.choosersShown.at(0).initialFolder, "frames");
    const int expectedColumns[] = {0, 2, 3};
    for (int n = 1; n <= 3; ++n) {
        QImage frame(QString::fromStdString(dir.file("walk00" + std::to_string(n) + ".png")));
        ASSERT_FALSE(frame.isNull()) << n;
        EXPECT_EQ(frame.pixel(expectedColumns[n - 1], 0), qRgba(255, 0, 0, 255)) << n;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("walk004.png")));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ImageFileCommands, AnExportThatCannotBeWrittenSaysSo) {
    newDocument(Mode::Animator, 5, 5);
    paint();
    test::WriteProtection protect(dir.path.string());
    if (!protect.holds())
        GTEST_SKIP() << "the folder cannot be write-protected here";
    platform.saveAnswers.push_back(dir.file("walk"));
    onCommand(e, Command::ExportPng);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].first, saveFailureCaption);
    EXPECT_NE(platform.messages[0].second.find(dir.file("walk001.png")), std::string::npos)
        << platform.messages[0].second;
}

TEST_F(ImageFileCommands, TheMenuExportsALoopingGifAndASpriteSheetOfTheEnabledFrames) {
    Document& a = newDocument(Mode::Animator, 6, 4);
    a.insertFrameAfter(0);
    a.insertFrameAfter(1);
    const int delays[] = {100, 200, 40};
    for (int k = 0; k < 3; ++k) {
        a.frame(k).delay = delays[k];
        a.frame(k).layer(0).image.setPixel(k, 0, red);
    }
    a.frame(1).enabled = false;
    paint();

    platform.saveAnswers.push_back(dir.file("walk.png")); // the typed extension is replaced
    onCommand(e, Command::ExportGif);
    const FileChooser& gifChooser = platform.choosersShown.at(0);
    EXPECT_EQ(gifChooser.title, "Экспорт анимации в формате GIF");
    EXPECT_EQ(gifChooser.filters,
              (std::vector<std::pair<std::string, std::string>>{{"GIF files", "*.gif"}}));
    EXPECT_EQ(gifChooser.initialFolder, "gif");
    EXPECT_EQ(gifChooser.defaultExtension, ".gif");
    QImageReader gif(QString::fromStdString(dir.file("walk.gif")));
    ASSERT_TRUE(gif.canRead()) << "walk.gif";
    EXPECT_EQ(gif.imageCount(), 2) << "the switched-off frame is left out";
    EXPECT_EQ(gif.loopCount(), -1) << "it loops for ever";
    const QImage first = gif.read();
    const int firstDelay = gif.nextImageDelay();
    const QImage second = gif.read();
    EXPECT_EQ(firstDelay, 100);
    EXPECT_EQ(gif.nextImageDelay(), 40) << "each frame keeps its own delay";
    EXPECT_EQ(first.pixel(0, 0), qRgba(255, 0, 0, 255));
    EXPECT_EQ(qAlpha(first.pixel(1, 0)), 0) << "transparent stays transparent";
    EXPECT_EQ(second.pixel(2, 0), qRgba(255, 0, 0, 255)) << "the third frame is the second";

    platform.saveAnswers.push_back(dir.file("sheet"));
    onCommand(e, Command::ExportSpriteSheet);
    EXPECT_EQ(platform.choosersShown.at(1).title, "Экспорт листа спрайтов");
    QImage sheet(QString::fromStdString(dir.file("sheet.png")));
    ASSERT_FALSE(sheet.isNull());
    EXPECT_EQ(sheet.width() * sheet.height(), 2 * 6 * 4) << "two cells of 6 x 4";
    EXPECT_TRUE(std::filesystem::exists(dir.file("sheet.json")));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ImageFileCommands, TheExportScaleDialogEnlargesTheExportAndItsCancelWritesNothing) {
    Document& a = newDocument(Mode::Animator, 6, 4);
    a.insertFrameAfter(0);
    a.frame(1).layer(0).image.setPixel(1, 1, red);
    paint();

    platform.exportScaleAnswers.push_back({true, 3, 0});
    platform.saveAnswers.push_back(dir.file("walk"));
    onCommand(e, Command::ExportWebp);
    ASSERT_EQ(platform.exportScaleOpened.size(), 1u);
    EXPECT_EQ(platform.exportScaleOpened[0].scale, 1) << "the first export starts at 1";
    EXPECT_FALSE(platform.exportScaleOpened[0].padding) << "only the sheet asks for padding";
    EXPECT_EQ(platform.choosersShown.at(0).title, "Экспорт анимации в формате WebP");
    QImageReader webp(QString::fromStdString(dir.file("walk.webp")));
    EXPECT_EQ(webp.imageCount(), 2);
    EXPECT_EQ(webp.size(), QSize(18, 12));

    // The sheet's dialog starts at the scale given last and asks for the padding too.
    platform.exportScaleAnswers.push_back({true, 2, 5});
    platform.saveAnswers.push_back(dir.file("sheet"));
    onCommand(e, Command::ExportSpriteSheet);
    ASSERT_EQ(platform.exportScaleOpened.size(), 2u);
    EXPECT_EQ(platform.exportScaleOpened[1].scale, 3);
    EXPECT_EQ(platform.exportScaleOpened[1].padding, 0);
    EXPECT_EQ(QImage(QString::fromStdString(dir.file("sheet.png"))).size(), QSize(12, 21))
        << "two cells of 12 x 8, 5 pixels apart";
    EXPECT_EQ(e.view.exportScale, 2);
    EXPECT_EQ(e.view.sheetPadding, 5);

    platform.exportScaleAnswers.push_back({false, 4, 0});
    onCommand(e, Command::ExportGif);
    EXPECT_EQ(platform.choosersShown.size(), 2u) << "Cancel asks for no file";
    EXPECT_FALSE(std::filesystem::exists(dir.file("walk.gif")));
    EXPECT_EQ(e.view.exportScale, 2) << "a cancelled scale is not kept";
    EXPECT_TRUE(platform.messages.empty());
}

} // namespace
