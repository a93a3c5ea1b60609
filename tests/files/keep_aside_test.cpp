// SPDX-License-Identifier: GPL-3.0-or-later
// Keeping an unreadable data file aside under a dated name before anything saves over it.
#include "files/KeepAside.h"
#include "files/PaletteFiles.h"
#include "support/TempDir.h"
#include "support/WriteProtection.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace vork {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;
using namespace std::chrono_literals;
using Outcome = KeptAside::Outcome;

constexpr std::chrono::year_month_day day{2026y, std::chrono::December, 8d};

// A palette as another program might save it: UTF-16 with a byte-order mark.
std::string utf16(const std::string& ascii) {
    std::string out = "\xFF\xFE";
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

TEST(KeepAside, AnUnreadablePaletteIsKeptUnderADatedNameBeforeTheDefaultsAreSaved) {
    TempDir dir;
    const std::string path = dir.file("deflpal.lpal");
    const std::string users = utf16("Palette:\r\n255 10 20 30\r\n255 40 50 60");
    writeBytes(path, users);
    Palettes p;
    ASSERT_FALSE(readSmallPalette(path, p));

    const KeptAside kept = keepUnreadableAside(path, day);
    EXPECT_EQ(kept.outcome, Outcome::KeptAside);
    EXPECT_EQ(kept.keptAs, dir.file("deflpal.lpal.unreadable-2026-12-08"));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(readBytes(kept.keptAs), users);
    EXPECT_NE(describeKeptAside(path, kept).find(kept.keptAs), std::string::npos);

    ASSERT_TRUE(writeSmallPalette(path, p));
    EXPECT_EQ(readBytes(kept.keptAs), users);
}

TEST(KeepAside, ATakenNameGetsACounterAndNothingIsReplaced) {
    TempDir dir;
    const std::string path = dir.file("p.bpal");
    writeBytes(dir.file("p.bpal.unreadable-2026-12-08"), "first");
    writeBytes(dir.file("p.bpal.unreadable-2026-12-08.1"), "second");
    writeBytes(path, "third");
    const KeptAside kept = keepUnreadableAside(path, day);
    EXPECT_EQ(kept.outcome, Outcome::KeptAside);
    EXPECT_EQ(kept.keptAs, dir.file("p.bpal.unreadable-2026-12-08.2"));
    EXPECT_EQ(readBytes(dir.file("p.bpal.unreadable-2026-12-08")), "first");
    EXPECT_EQ(readBytes(dir.file("p.bpal.unreadable-2026-12-08.1")), "second");
    EXPECT_EQ(readBytes(kept.keptAs), "third");
}

TEST(KeepAside, ALinkIsMovedAsALinkAndItsFileIsNotTouched) {
    TempDir dir;
    writeBytes(dir.file("mine.lpal"), "unreadable");
    std::filesystem::create_symlink("mine.lpal", dir.path / "deflpal.lpal");
    const KeptAside kept = keepUnreadableAside(dir.file("deflpal.lpal"), day);
    EXPECT_EQ(kept.outcome, Outcome::KeptAside);
    EXPECT_TRUE(std::filesystem::is_symlink(kept.keptAs));
    EXPECT_EQ(readBytes(dir.file("mine.lpal")), "unreadable");
}

TEST(KeepAside, MissingFilesAndNonFilesStayAsTheyAre) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0644), 0);
    std::filesystem::create_directory(dir.path / "folder");
    std::filesystem::create_symlink("nowhere", dir.path / "dangling");
    EXPECT_EQ(keepUnreadableAside(dir.file("missing"), day).outcome, Outcome::NothingThere);
    EXPECT_EQ(describeKeptAside(dir.file("missing"), {}), "");
    for (const char* name : {"fifo", "folder", "dangling"})
        EXPECT_EQ(keepUnreadableAside(dir.file(name), day).outcome, Outcome::NotRegularFile)
            << name;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path),
                            std::filesystem::directory_iterator()),
              3);
}

TEST(KeepAside, AFileThatCannotBeMovedIsReportedAsFailed) {
    TempDir dir;
    std::filesystem::create_directory(dir.path / "locked");
    writeBytes(dir.file("locked/p.lpal"), "user's");
    KeptAside kept;
    {
        test::WriteProtection protection(dir.file("locked"));
        if (!protection.holds())
            GTEST_SKIP() << "running as root where the immutable flag cannot be set";
        kept = keepUnreadableAside(dir.file("locked/p.lpal"), day);
    }
    EXPECT_EQ(kept.outcome, Outcome::Failed);
    EXPECT_EQ(kept.reason, "нет прав на запись");
    EXPECT_EQ(readBytes(dir.file("locked/p.lpal")), "user's");
    EXPECT_NE(describeKeptAside(dir.file("locked/p.lpal"), kept).find(kept.reason),
              std::string::npos);
}

} // namespace
} // namespace vork
