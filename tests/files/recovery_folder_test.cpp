// SPDX-License-Identifier: GPL-3.0-or-later
// The recovery folder: the names of the copies, which copies are left over from ended runs, the
// lock that tells a running session, and what ended sessions leave behind.
#include "files/RecoveryFolder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>
#include <utime.h>

namespace vork {
namespace {

using test::TempDir;
using test::writeBytes;
namespace fs = std::filesystem;

void touch(const std::string& path, std::time_t when) {
    writeBytes(path, "x");
    const utimbuf times{when, when};
    ::utime(path.c_str(), &times);
}

TEST(RecoveryFolder, CopiesAreNamedByFormatAndSession) {
    EXPECT_EQ(recoveryFilePath("/s/recovery", "20261208-151230-42", DocumentFileFormat::Picture),
              "/s/recovery/picture-20261208-151230-42.trnl");
    EXPECT_EQ(recoveryFilePath("r", "x", DocumentFileFormat::Animation), "r/animation-x.gelm");
    const std::string session = newSessionName(std::time(nullptr), 4242);
    EXPECT_EQ(session.size(), std::string("20261208-151230-4242").size());
    EXPECT_TRUE(session.ends_with("-4242"));
}

TEST(RecoveryFolder, TheLeftoversAreTheCopiesOfEndedSessionsMostRecentFirst) {
    TempDir dir;
    const std::string folder = dir.path.string();
    touch(recoveryFilePath(folder, "a-1", DocumentFileFormat::Picture), 1000);
    touch(recoveryFilePath(folder, "b-2", DocumentFileFormat::Animation), 3000);
    touch(recoveryFilePath(folder, "c-3", DocumentFileFormat::Picture), 2000);
    // Neither copies nor anything like one.
    for (const char* name :
         {"picture-a-1.trnl.declined-2026-12-08", "picture-.trnl", "picture-a.b.trnl",
          "animation-x.trnl", "notes.txt", "picture-a-1.trnl.saving-abcdef"})
        touch(dir.file(name), 5000);
    fs::create_directory(dir.file("picture-folder.trnl"));

    const std::vector<RecoveryFile> found = leftoverRecoveryFiles(folder);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].session, "b-2");
    EXPECT_EQ(found[0].format, DocumentFileFormat::Animation);
    EXPECT_EQ(found[0].keptAt, 3000);
    EXPECT_EQ(found[1].session, "c-3");
    EXPECT_EQ(found[2].session, "a-1");
    EXPECT_EQ(found[2].path, recoveryFilePath(folder, "a-1", DocumentFileFormat::Picture));
    EXPECT_TRUE(leftoverRecoveryFiles(dir.file("missing")).empty());
}

TEST(RecoveryFolder, ARunningSessionsCopiesAreNotLeftovers) {
    TempDir dir;
    const std::string folder = dir.file("state/recovery");
    SessionLock lock;
    std::string reason;
    ASSERT_TRUE(lock.take(folder, "live-1", reason)) << reason;
    EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
    touch(recoveryFilePath(folder, "live-1", DocumentFileFormat::Picture), 1000);
    EXPECT_TRUE(sessionRunning(folder, "live-1"));
    EXPECT_TRUE(leftoverRecoveryFiles(folder).empty());
    SessionLock again;
    EXPECT_FALSE(again.take(folder, "live-1", reason)) << "one session, one run";

    // Let go, the session has ended: its lock file goes and its copy is a leftover.
    SessionLock moved = std::move(lock);
    EXPECT_TRUE(sessionRunning(folder, "live-1"));
    moved.release();
    EXPECT_FALSE(sessionRunning(folder, "live-1"));
    EXPECT_FALSE(fs::exists(dir.file("state/recovery/session-live-1.lock")));
    EXPECT_EQ(leftoverRecoveryFiles(folder).size(), 1u);
}

TEST(RecoveryFolder, EndedSessionsLoseTheirLocksAndUnfinishedWritesButNotTheirCopies) {
    TempDir dir;
    const std::string folder = dir.path.string();
    SessionLock running;
    std::string reason;
    ASSERT_TRUE(running.take(folder, "live-1", reason)) << reason;
    const std::string ended = recoveryFilePath(folder, "dead-2", DocumentFileFormat::Picture);
    touch(ended, 1000);
    touch(ended + ".saving-k3j4h5", 1000);
    touch(dir.file("session-dead-2.lock"), 1000);
    const std::string live = recoveryFilePath(folder, "live-1", DocumentFileFormat::Animation);
    touch(live + ".saving-abcdef", 1000);
    touch(dir.file("notes.saving-abcdef"), 1000);

    removeEndedSessionFiles(folder);
    EXPECT_TRUE(fs::exists(ended));
    EXPECT_FALSE(fs::exists(ended + ".saving-k3j4h5"));
    EXPECT_FALSE(fs::exists(dir.file("session-dead-2.lock")));
    EXPECT_TRUE(fs::exists(live + ".saving-abcdef")) << "a write under way in a running session";
    EXPECT_TRUE(fs::exists(dir.file("session-live-1.lock")));
    EXPECT_TRUE(fs::exists(dir.file("notes.saving-abcdef")));
}

TEST(RecoveryFolder, AFolderThatCannotBeMadeIsRefusedWithItsReason) {
    TempDir dir;
    writeBytes(dir.file("file"), "x");
    SessionLock lock;
    std::string reason;
    EXPECT_FALSE(lock.take(dir.file("file/recovery"), "s-1", reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_FALSE(lock.held());
}

} // namespace
} // namespace vork
