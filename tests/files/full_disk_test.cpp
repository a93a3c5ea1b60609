// SPDX-License-Identifier: GPL-3.0-or-later
// Saving onto a file system that is really full: a small tmpfs mounted for the test, filled to
// the last byte. Needs the right to mount; elsewhere the test says why it was skipped.
#include "files/PaletteFiles.h"
#include "files/SaveFile.h"
#include "files/SettingsFile.h"
#include "support/SmallTmpfs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace vork {
namespace {

using test::fillUp;
using test::readBytes;
using test::SmallTmpfs;
using test::writeBytes;

TEST(FullDisk, SavesFailWithTheOldFilesIntactAndNothingLeftBehind) {
    SmallTmpfs disk("28k");
    if (!disk.mounted)
        GTEST_SKIP() << disk.whyNot;

    const DocumentSizes oldSizes{32, 32, 640, 480};
    Palettes oldPalettes;
    oldPalettes.big[5].color = Color::rgb(1, 2, 3);
    ASSERT_TRUE(writeSettings(disk.file("property.txt"), oldSizes));
    ASSERT_TRUE(writeBigPalette(disk.file("defbpal.bpal"), oldPalettes));
    const std::string settingsBytes = readBytes(disk.file("property.txt"));
    const std::string paletteBytes = readBytes(disk.file("defbpal.bpal"));
    ASSERT_EQ(fillUp(disk.file("filler")), ENOSPC);

    const SaveResult settings = writeSettings(disk.file("property.txt"), DocumentSizes{});
    Palettes changed;
    changed.big[7].color = Color::rgb(200, 100, 50);
    const SaveResult palette = writeBigPalette(disk.file("defbpal.bpal"), changed);
    const std::string raw(10000, 'r');
    const SaveResult helper = saveFileAtomically(disk.file("defbpal.bpal"), bytesOf(raw));

    for (const SaveResult* r : {&settings, &palette, &helper}) {
        EXPECT_FALSE(*r);
        EXPECT_EQ(r->reason, "диск заполнен");
    }
    EXPECT_TRUE(readBytes(disk.file("property.txt")) == settingsBytes) << "settings changed";
    EXPECT_TRUE(readBytes(disk.file("defbpal.bpal")) == paletteBytes) << "palette changed";
    size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(disk.dir.path))
        ++entries;
    EXPECT_EQ(entries, 3u) << "a temporary file was left behind";
}

} // namespace
} // namespace vork
