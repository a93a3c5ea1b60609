// SPDX-License-Identifier: GPL-3.0-or-later
// Reading whole files: only regular files are read, nothing blocks, and the cap holds.
#include "files/PaletteFiles.h"
#include "files/ReadFile.h"
#include "files/SettingsFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace vork {
namespace {

using test::TempDir;
using test::writeBytes;
using namespace std::string_literals;

std::string text(const ReadResult& r) {
    return {r.bytes.begin(), r.bytes.end()};
}

TEST(ReadFile, ReadsARegularFileWholeAlsoThroughALink) {
    TempDir dir;
    const std::string content = std::string(70000, 'a') + "\0end"s; // longer than one read
    writeBytes(dir.file("f"), content);
    std::filesystem::create_symlink("f", dir.path / "link");
    for (const char* name : {"f", "link"}) {
        const ReadResult r = readWholeFile(dir.file(name), 100000);
        ASSERT_TRUE(r) << name << ": " << r.reason;
        EXPECT_EQ(text(r), content);
        EXPECT_TRUE(r.reason.empty());
    }
    writeBytes(dir.file("empty"), "");
    const ReadResult empty = readWholeFile(dir.file("empty"), 10);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty.bytes.empty());
}

TEST(ReadFile, AFileOverTheCapIsRefused) {
    TempDir dir;
    writeBytes(dir.file("f"), std::string(1001, 'x'));
    EXPECT_TRUE(readWholeFile(dir.file("f"), 1001));
    const ReadResult r = readWholeFile(dir.file("f"), 1000);
    EXPECT_FALSE(r);
    EXPECT_EQ(r.reason, "файл слишком большой");
    EXPECT_TRUE(r.bytes.empty());
}

// If the reader opened a FIFO, the open would wait for a writer that never comes: these calls
// return at once only because nothing but a regular file is opened.
TEST(ReadFile, FifosDevicesFoldersAndMissingFilesAreUnreadable) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0644), 0);
    std::filesystem::create_symlink(dir.path / "fifo", dir.path / "link-to-fifo");
    std::filesystem::create_directory(dir.path / "folder");
    const struct {
        std::string path;
        const char* reason;
    } cases[] = {
        {dir.file("fifo"), "это не обычный файл"},
        {dir.file("link-to-fifo"), "это не обычный файл"},
        {"/dev/zero", "это не обычный файл"},
        {dir.file("folder"), "это папка"},
        {dir.file("missing"), "файл не найден"},
    };
    for (const auto& c : cases) {
        const ReadResult r = readWholeFile(c.path, 1000);
        EXPECT_FALSE(r) << c.path;
        EXPECT_EQ(r.reason, c.reason) << c.path;
    }
}

TEST(ReadFile, PaletteAndSettingsReadersPassOverAFifo) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0644), 0);
    Palettes p;
    p.big[3].color = Color::rgb(1, 2, 3);
    p.small[3].color = Color::rgb(4, 5, 6);
    DocumentSizes s{11, 12, 13, 14};
    EXPECT_FALSE(readBigPalette(dir.file("fifo"), p));
    EXPECT_FALSE(readSmallPalette(dir.file("fifo"), p));
    EXPECT_FALSE(readSettings(dir.file("fifo"), s));
    EXPECT_EQ(p.big[3].color, Color::rgb(1, 2, 3));
    EXPECT_EQ(p.small[3].color, Color::rgb(4, 5, 6));
    EXPECT_EQ(s.pictureWidth, 11);
    EXPECT_TRUE(std::filesystem::is_fifo(dir.path / "fifo"));
}

} // namespace
} // namespace vork
