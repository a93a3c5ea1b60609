// SPDX-License-Identifier: GPL-3.0-or-later
// The recovery folder: the names of the copies, which copies are left over from ended runs, the
// lock that tells a running session, and what ended sessions leave behind.
#include "files/RecoveryFolder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <map>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
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

    std::vector<RecoveryFile> found = leftoverRecoveryFiles(folder);
    // The folder named like a copy is listed, as no copy at all (see below).
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0].session, "folder");
    EXPECT_EQ(found[0].refusal, "это папка");
    found.erase(found.begin());
    for (const RecoveryFile& f : found)
        EXPECT_EQ(f.refusal, "");
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

// A copy that is not a regular file is never read nor written through: a link to a document
// elsewhere would have later copies replace that document.
TEST(RecoveryFolder, EntriesNamedLikeCopiesThatAreNoRegularFilesAreListedAsRefused) {
    TempDir dir;
    const std::string folder = dir.file("recovery");
    fs::create_directory(folder);
    writeBytes(dir.file("victim.gelm"), "gelm");
    const auto copy = [&](const char* session) {
        return recoveryFilePath(folder, session, DocumentFileFormat::Animation);
    };
    fs::create_symlink(dir.file("victim.gelm"), copy("link-1"));
    fs::create_symlink("/dev/zero", copy("zero-2"));
    ASSERT_EQ(::mkfifo(copy("fifo-3").c_str(), 0600), 0);
    fs::create_directory(copy("folder-4"));
    const std::map<std::string, std::string> expected = {
        {"link-1", "это символическая ссылка, а не обычный файл"},
        {"zero-2", "это символическая ссылка, а не обычный файл"},
        {"fifo-3", "это не обычный файл"},
        {"folder-4", "это папка"}};
    std::map<std::string, std::string> found;
    for (const RecoveryFile& f : leftoverRecoveryFiles(folder))
        found[f.session] = f.refusal;
    EXPECT_EQ(found, expected);

    // Nor can one be claimed: it stays where it is.
    const std::string mine = copy("mine-5");
    EXPECT_FALSE(claimRecoveryFile(copy("link-1"), mine));
    EXPECT_TRUE(fs::is_symlink(copy("link-1")));
    EXPECT_FALSE(fs::exists(fs::symlink_status(mine)));
    EXPECT_EQ(test::readBytes(dir.file("victim.gelm")), "gelm");
}

// Two runs starting together both find the same leftover; only the one that renames it first
// into its own session has it, and the other no longer sees it.
TEST(RecoveryFolder, ALeftoverCopyIsClaimedByOneRunOnly) {
    TempDir dir;
    const std::string folder = dir.path.string();
    const std::string left = recoveryFilePath(folder, "dead-1", DocumentFileFormat::Picture);
    touch(left, 1000);
    SessionLock first, second;
    std::string reason;
    ASSERT_TRUE(first.take(folder, "first-2", reason));
    ASSERT_TRUE(second.take(folder, "second-3", reason));
    const std::string firstCopy = recoveryFilePath(folder, "first-2", DocumentFileFormat::Picture);
    const std::string secondCopy =
        recoveryFilePath(folder, "second-3", DocumentFileFormat::Picture);
    EXPECT_TRUE(claimRecoveryFile(left, firstCopy));
    EXPECT_FALSE(claimRecoveryFile(left, secondCopy));
    EXPECT_TRUE(fs::exists(firstCopy));
    EXPECT_FALSE(fs::exists(secondCopy));
    EXPECT_TRUE(leftoverRecoveryFiles(folder).empty()) << "the copy belongs to a running session";
    // A name that is taken is never replaced.
    touch(left, 1000);
    EXPECT_FALSE(claimRecoveryFile(left, firstCopy));
    EXPECT_TRUE(fs::exists(left));
}

// The lock file is made already locked: another run never finds it unlocked and takes the
// session for ended. Watched from a second thread while one session after another starts.
TEST(RecoveryFolder, ALockFileIsNeverSeenUnlocked) {
    TempDir dir;
    const std::string folder = dir.path.string();
    std::atomic<bool> done{false};
    std::atomic<int> seenUnlocked{0}, seen{0};
    std::thread watcher([&] {
        while (!done) {
            for (const auto& entry : fs::directory_iterator(folder)) {
                const std::string name = entry.path().filename().string();
                if (!name.ends_with(".lock"))
                    continue;
                const int fd = ::open(entry.path().c_str(), O_RDONLY | O_CLOEXEC);
                if (fd < 0)
                    continue; // gone meanwhile
                ++seen;
                if (::flock(fd, LOCK_SH | LOCK_NB) == 0) {
                    // Removed before it is let go, so a lock file found unlocked is a fault
                    // only while it still has its name.
                    if (fs::exists(entry.path()))
                        ++seenUnlocked;
                }
                ::close(fd);
            }
        }
    });
    std::string reason;
    for (int i = 0; i < 2000; ++i) {
        SessionLock lock;
        ASSERT_TRUE(lock.take(folder, "s-" + std::to_string(i), reason)) << reason;
    }
    done = true;
    watcher.join();
    EXPECT_EQ(seenUnlocked, 0) << "of " << seen << " lock files seen";
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
