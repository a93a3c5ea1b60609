// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FrameCycle.h"
#include "app/Startup.h"
#include "app/WindowProcedure.h"
#include "files/SettingsFile.h"
#include "gfx/Graphics.h"
#include "gfx/ImageCodec.h"
#include "support/FakePlatform.h"
#include "support/TempFolder.h"

#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

using namespace vork;

TEST(Startup, WithoutAToolSheetItFailsNamingTheFile) {
    test::TempWorkingFolder folder;
    test::FakePlatform platform;
    Editor e(platform);
    std::string error;
    EXPECT_FALSE(initEditor(e, error));
    EXPECT_NE(error.find("data/instrument.png"), std::string::npos) << error;
}

TEST(Startup, AnEmptyOrDamagedToolSheetFailsToo) {
    test::TempWorkingFolder folder;
    std::filesystem::create_directory("data");
    std::ofstream("data/instrument.png") << "not a png";
    test::FakePlatform platform;
    Editor e(platform);
    std::string error;
    EXPECT_FALSE(initEditor(e, error));
}

TEST(Startup, DefaultDataGivesTheStartState) {
    test::TempWorkingFolder folder;
    folder.copyDefaultData();
    // Whatever the palette file says, entries 0..2 are transparent, white and black.
    {
        std::ofstream f("data/deflpal.lpal", std::ios::binary);
        f << "x";
        for (int i = 0; i < 175; ++i)
            f << "\n9 9 9 9";
    }
    test::FakePlatform platform;
    Editor e(platform);
    std::string error;
    ASSERT_TRUE(initEditor(e, error)) << error;
    const auto& small = e.colour.palettes.small;
    EXPECT_EQ(small[0].color, Color::fromArgb(0, 0, 0, 0));
    EXPECT_EQ(small[1].color, Color::fromArgb(255, 255, 255, 255));
    EXPECT_EQ(small[2].color, Color::fromArgb(255, 0, 0, 0));
    EXPECT_EQ(small[3].color, Color::fromArgb(9, 9, 9, 9));
    EXPECT_EQ(e.colour.currentColor, colors::black);
    EXPECT_EQ(e.colour.currentSwatch, 2);
    EXPECT_EQ(e.shownMode, Mode::Animator);
    EXPECT_EQ(e.currentTool, Tool::Pencil);
    EXPECT_FALSE(e.animation());
    EXPECT_FALSE(e.picture());
    EXPECT_TRUE(e.input.inputEnabled);
    EXPECT_EQ(e.colour.palettes.big[0].color.a(), 0);
    ASSERT_EQ(e.toolButtons.size(), 21u);
    EXPECT_EQ(buttonOf(e, Tool::FilledFreehand).faceWidth, 22);
    EXPECT_EQ(buttonOf(e, Tool::FilledRectangle).faceHeight, 22);
    EXPECT_EQ(buttonOf(e, SwitchButton::Stop).id, 0);
    EXPECT_EQ(e.painter.caches.below.image.width(), 10);
    // Every face is cut from the sheet.
    const auto cutFromTheSheet = [&](const ToolButton& b, Rect c) {
        EXPECT_EQ(b.face.width(), c.w);
        EXPECT_EQ(b.face.pixel(c.w / 2, c.h / 2), e.toolSheet.pixel(c.x + c.w / 2, c.y + c.h / 2));
    };
    for (const ToolRow& row : toolTable)
        cutFromTheSheet(buttonOf(e, row.tool), row.face);
    for (const SwitchButtonRow& row : switchButtonTable)
        cutFromTheSheet(buttonOf(e, row.button), row.face);
}

TEST(Startup, SettingsFileGivesTheSizes) {
    test::TempWorkingFolder folder;
    folder.copyDefaultData();
    {
        std::ofstream f("data/property.txt", std::ios::binary);
        f << "heading\n640 480\n32 32";
    }
    test::FakePlatform platform;
    Editor e(platform);
    std::string error;
    ASSERT_TRUE(initEditor(e, error));
    EXPECT_EQ(e.mode(Mode::Animator).width, 640);
    EXPECT_EQ(e.mode(Mode::Animator).height, 480);
    EXPECT_EQ(e.mode(Mode::Painter).width, 32);
}

TEST(Startup, ASheetOfAnotherSizeGivesBlankFaces) {
    test::TempWorkingFolder folder;
    folder.copyDefaultData();
    Bitmap odd(176, 175);
    {
        Graphics g(odd);
        g.clear(colors::black);
    }
    ASSERT_TRUE(writePngFile(odd, "data/instrument.png"));
    test::FakePlatform platform;
    Editor e(platform);
    std::string error;
    ASSERT_TRUE(initEditor(e, error));
    for (const ToolButton& b : e.toolButtons)
        for (int y = 0; y < b.face.height(); ++y)
            for (int x = 0; x < b.face.width(); ++x)
                ASSERT_EQ(b.face.pixel(x, y).argb, 0u);
}

TEST(Startup, AToolSheetInAnotherFormatStillGivesTheFaces) {
    test::TempWorkingFolder folder;
    folder.copyDefaultData();
    QImage sheet(175, 175, QImage::Format_RGB32);
    sheet.fill(QColor(10, 20, 30));
    ASSERT_TRUE(sheet.save("data/instrument.png", "BMP")); // the name says PNG, the bytes BMP
    test::FakePlatform platform;
    Editor e(platform);
    std::string error;
    ASSERT_TRUE(initEditor(e, error)) << error;
    EXPECT_EQ(e.toolSheet.pixel(100, 100), Color::rgb(10, 20, 30));
    EXPECT_EQ(buttonOf(e, Tool::Pencil).face.pixel(5, 5), Color::rgb(10, 20, 30));
}

// --- Data files that cannot be read -------------------------------------------------------

namespace {

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The name an unreadable file is kept under today.
std::string keptName(const std::string& path) {
    const auto today = std::chrono::year_month_day(
        std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now()));
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02u-%02u", int(today.year()), unsigned(today.month()),
                  unsigned(today.day()));
    return path + ".unreadable-" + date;
}

} // namespace

TEST(Startup, AToolSheetThatIsAFifoIsRefusedWithoutWaiting) {
    test::TempWorkingFolder folder;
    std::filesystem::create_directory("data");
    ASSERT_EQ(::mkfifo("data/instrument.png", 0600), 0);
    test::FakePlatform platform;
    Editor e(platform);
    std::string error;
    EXPECT_FALSE(initEditor(e, error)) << "a FIFO with no writer would block an ordinary open";
    EXPECT_NE(error.find("data/instrument.png"), std::string::npos);
}

TEST(Startup, AnUnreadablePaletteIsKeptAsideAndNeverOverwritten) {
    test::TempWorkingFolder folder;
    folder.copyDefaultData();
    // A palette saved as UTF-16 by another program: the reader makes nothing of it.
    std::string utf16;
    for (char c : std::string("pal\n10 20 30 40\n"))
        utf16 += std::string{c, '\0'};
    { std::ofstream("data/deflpal.lpal", std::ios::binary) << utf16; }
    std::filesystem::remove("data/defbpal.bpal");
    ASSERT_EQ(::mkfifo("data/defbpal.bpal", 0600), 0) << "and a FIFO in place of the other";

    test::FakePlatform platform;
    Editor e(platform);
    std::string error;
    std::ostringstream notices;
    ASSERT_TRUE(initEditor(e, error, notices)) << error;
    const std::string kept = keptName("data/deflpal.lpal");
    EXPECT_EQ(fileText(kept), utf16) << "the user's file, byte for byte, beside itself";
    EXPECT_NE(notices.str().find(kept), std::string::npos) << notices.str();
    EXPECT_EQ(e.colour.palettes.small[2].color, colors::black) << "the defaults are used";

    // The close writes the defaults in the original's place; the kept file stays, and the FIFO
    // is neither opened nor replaced.
    std::ostringstream err;
    EXPECT_FALSE(onDestroy(e, CloseCause::Window, err));
    EXPECT_TRUE(std::filesystem::is_regular_file("data/deflpal.lpal"));
    EXPECT_NE(fileText("data/deflpal.lpal"), utf16);
    EXPECT_EQ(fileText(kept), utf16);
    EXPECT_TRUE(std::filesystem::is_fifo("data/defbpal.bpal"));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].second, "Файл Большой палитры не сохранен");
    EXPECT_NE(err.str().find("data/defbpal.bpal"), std::string::npos) << err.str();
}

// The pixel grid lives in the program's own file beside the settings,
// whose form stays as it was.
TEST(Startup, TheGridIsRememberedAcrossRuns) {
    test::TempWorkingFolder folder;
    folder.copyDefaultData();
    std::string error;
    std::ostringstream notices;
    {
        test::FakePlatform platform;
        Editor e(platform);
        ASSERT_TRUE(initEditor(e, error, notices)) << error;
        EXPECT_FALSE(e.view.pixelGrid) << "off on the first run";
        e.view.pixelGrid = true;
        std::ostringstream err;
        EXPECT_TRUE(onDestroy(e, CloseCause::Window, err)) << err.str();
    }
    EXPECT_TRUE(std::filesystem::is_regular_file("data/vork.ini"));
    DocumentSizes sizes;
    ASSERT_TRUE(readSettings("data/property.txt", sizes));
    const std::string settings = fileText("data/property.txt");
    EXPECT_EQ(std::count(settings.begin(), settings.end(), '\n'), 2) << settings;
    EXPECT_EQ(settings.find("pixelGrid"), std::string::npos);

    test::FakePlatform platform;
    Editor e(platform);
    ASSERT_TRUE(initEditor(e, error, notices)) << error;
    EXPECT_TRUE(e.view.pixelGrid);
}
