#include "app/FrameCycle.h"
#include "app/Startup.h"
#include "app/WindowProcedure.h"
#include "gfx/Graphics.h"
#include "support/FakePlatform.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

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
    EXPECT_FALSE(e.painterMode);
    EXPECT_EQ(e.currentTool, Tool::Pencil);
    EXPECT_FALSE(e.animation());
    EXPECT_FALSE(e.picture());
    EXPECT_TRUE(e.input.inputEnabled);
    EXPECT_EQ(e.colour.palettes.big[0].color.a(), 0);
    ASSERT_EQ(e.toolButtons.size(), 21u);
    EXPECT_EQ(e.toolButtons[12].faceWidth, 22);
    EXPECT_EQ(e.toolButtons[13].faceHeight, 22);
    EXPECT_EQ(e.toolButtons[15].id, 0);
    EXPECT_EQ(e.mode(Mode::Painter).caches.below.image.width(), 10);
    // Every face is cut from the sheet.
    for (size_t i = 0; i < e.toolButtons.size(); ++i) {
        const ToolButton& b = e.toolButtons[i];
        Rect c = toolButtonCells[i].cell;
        EXPECT_EQ(b.face.width(), c.w);
        EXPECT_EQ(b.face.pixel(c.w / 2, c.h / 2), e.toolSheet.pixel(c.x + c.w / 2, c.y + c.h / 2));
    }
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
    EXPECT_EQ(e.sizes.animationWidth, 640);
    EXPECT_EQ(e.sizes.animationHeight, 480);
    EXPECT_EQ(e.sizes.pictureWidth, 32);
}

TEST(Startup, ASheetOfAnotherSizeGivesBlankFaces) {
    test::TempWorkingFolder folder;
    folder.copyDefaultData();
    Bitmap odd(176, 175);
    {
        Graphics g(odd);
        g.clear(colors::black);
    }
    ASSERT_TRUE(odd.savePng("data/instrument.png"));
    test::FakePlatform platform;
    Editor e(platform);
    std::string error;
    ASSERT_TRUE(initEditor(e, error));
    for (const ToolButton& b : e.toolButtons)
        for (int y = 0; y < b.face.height(); ++y)
            for (int x = 0; x < b.face.width(); ++x)
                ASSERT_EQ(b.face.pixel(x, y).argb, 0u);
}
