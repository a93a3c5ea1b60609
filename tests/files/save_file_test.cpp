// SPDX-License-Identifier: GPL-3.0-or-later
// Saving through saveFileAtomically: a failure at any step leaves the old file byte for byte and
// no temporary file behind; only regular files are ever replaced.
#include "files/AnimationFile.h"
#include "files/SaveFile.h"
#include "support/TempDir.h"
#include "support/WriteProtection.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <ctime>
#include <random>
#include <set>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <utime.h>

namespace vork {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

std::string randomBytes(size_t size, unsigned seed) {
    std::mt19937 rng(seed);
    std::string s(size, '\0');
    for (auto& c : s)
        c = char(rng());
    return s;
}

std::set<std::string> namesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// Lets the first `acceptedBytes` bytes through, as a disk about to fill up would, and then
// fails every write with `error`.
class WriteFailsAfter : public FileSystemOps {
  public:
    WriteFailsAfter(size_t acceptedBytes, int error) : left(acceptedBytes), error(error) {}
    ssize_t write(int fd, const void* data, size_t size) override {
        if (left == 0) {
            errno = error;
            return -1;
        }
        const size_t n = std::min(size, left);
        left -= n;
        return FileSystemOps::write(fd, data, n);
    }

  private:
    size_t left;
    int error;
};

class SyncFails : public FileSystemOps {
  public:
    int sync(int) override {
        errno = EIO;
        return -1;
    }
};

// The descriptor is released, as close(2) always does, but the write-back is reported lost.
class CloseFails : public FileSystemOps {
  public:
    int close(int fd) override {
        FileSystemOps::close(fd);
        errno = EIO;
        return -1;
    }
};

class RenameFails : public FileSystemOps {
  public:
    int rename(const char*, const char*) override {
        errno = EACCES;
        return -1;
    }
};

// Writes `content` in pieces of 100 bytes, each small enough to be gathered before any write.
SaveProducer inPieces(const std::string& content) {
    return [content](SaveSink& sink) {
        for (size_t at = 0; at < content.size(); at += 100)
            sink.write(std::string_view(content).substr(at, 100));
        return true;
    };
}

// A save on its own and one of a series (whose folder is synced once afterwards) alike.
TEST(SaveFile, ReplacesTheOldFileWithTheCompleteNewOne) {
    for (bool series : {false, true}) {
        SCOPED_TRACE(series ? "in a series" : "on its own");
        TempDir dir;
        const std::string path = dir.file("doc");
        writeBytes(path, randomBytes(300000, 1));
        ::chmod(path.c_str(), 0640);
        for (const std::string& content :
             {randomBytes(200000, 2), std::string("short"), std::string()}) {
            const std::string copy = content;
            const SaveResult r = series ? saveFileInSeries(path, bytesOf(copy))
                                        : saveFileAtomically(path, bytesOf(copy));
            ASSERT_TRUE(r) << r.reason;
            EXPECT_TRUE(r.reason.empty());
            EXPECT_TRUE(readBytes(path) == content) << "the new content did not arrive whole";
            EXPECT_EQ(namesIn(dir.path), std::set<std::string>{"doc"});
        }
        struct ::stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0640u) << "the replaced file's permissions are kept";
        if (series)
            syncFolderOf(path);
    }
}

// A save killed midway leaves its temporary file; the next save of the same document removes
// those no running save holds (a save locks its temporary file while it writes it).
TEST(SaveFile, TemporariesOfEarlierKilledSavesOfTheDocumentAreRemoved) {
    TempDir dir;
    const std::string path = dir.file("target.gelm");
    const auto made = [&](const std::string& name, std::time_t age) {
        writeBytes(dir.file(name), "left");
        const std::time_t when = std::time(nullptr) - age;
        const utimbuf times{when, when};
        ::utime(dir.file(name).c_str(), &times);
    };
    made("target.gelm.saving-k3j4h5", 3600);  // killed an hour ago: goes
    made("target.gelm.saving-abcdef", 3600);  // a save under way, holding its lock: stays
    made("target.gelm.saving-zz9zz9", 0);     // just made, not yet locked: stays
    made("other.gelm.saving-k3j4h5", 3600);   // another target's: stays
    made("target.gelm.saving-long123", 3600); // not a name a save makes: stays
    const int held = ::open(dir.file("target.gelm.saving-abcdef").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    ASSERT_TRUE(saveFileAtomically(path, bytesOf(std::string("new"))));
    EXPECT_EQ(namesIn(dir.path).size(), 6u) << "a plain save does not look";
    ASSERT_TRUE(writeAnimationFile(path, Document(2, 2, 100), {}));
    ::close(held);
    EXPECT_EQ(namesIn(dir.path),
              (std::set<std::string>{"target.gelm", "target.gelm.saving-abcdef",
                                     "target.gelm.saving-zz9zz9", "other.gelm.saving-k3j4h5",
                                     "target.gelm.saving-long123"}));
    EXPECT_EQ(readBytes(path).substr(0, 4), "gelm");
}

TEST(SaveFile, ContentMadeInPiecesArrivesWhole) {
    TempDir dir;
    const std::string content = randomBytes(150123, 3); // more than one gathered write
    ASSERT_TRUE(saveFileAtomically(dir.file("new"), inPieces(content)));
    EXPECT_TRUE(readBytes(dir.file("new")) == content);
}

TEST(SaveFile, EveryFailedStepLeavesTheOldFileAndNoTemporary) {
    const std::string old = randomBytes(5000, 4);
    const std::string big = randomBytes(200000, 5);
    const std::string small = randomBytes(3000, 6);
    WriteFailsAfter diskFullAtOnce(0, ENOSPC);
    WriteFailsAfter diskFullMidway(70000, ENOSPC); // a short write, then the failure
    WriteFailsAfter quotaAtFlush(0, EDQUOT);
    SyncFails syncFails;
    CloseFails closeFails;
    RenameFails renameFails;
    struct Case {
        const char* what;
        FileSystemOps& ops;
        bool gathered; // content given in small pieces, so the failure comes at the flush
        const char* reason;
    } cases[] = {
        {"first write", diskFullAtOnce, false, "диск заполнен"},
        {"short write then failure", diskFullMidway, false, "диск заполнен"},
        {"flush of gathered pieces", quotaAtFlush, true, "превышена дисковая квота"},
        {"sync", syncFails, false, "ошибка ввода-вывода"},
        {"close", closeFails, true, "ошибка ввода-вывода"},
        {"rename", renameFails, false, "нет прав на запись"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::string path = dir.file("palette.bpal");
        writeBytes(path, old);
        const SaveResult r = c.gathered ? saveFileAtomically(path, inPieces(small), c.ops)
                                        : saveFileAtomically(path, bytesOf(big), c.ops);
        EXPECT_FALSE(r);
        EXPECT_EQ(r.reason, c.reason);
        EXPECT_TRUE(readBytes(path) == old) << "the old file changed";
        EXPECT_EQ(namesIn(dir.path), std::set<std::string>{"palette.bpal"});
    }
}

TEST(SaveFile, AbandonedContentIsNotSaved) {
    TempDir dir;
    writeBytes(dir.file("f"), "old");
    const SaveResult r = saveFileAtomically(dir.file("f"), [](SaveSink& sink) {
        sink.write(std::string_view("half of it"));
        return false;
    });
    EXPECT_FALSE(r);
    EXPECT_FALSE(r.reason.empty());
    EXPECT_EQ(readBytes(dir.file("f")), "old");
    EXPECT_EQ(namesIn(dir.path), std::set<std::string>{"f"});
}

TEST(SaveFile, ThroughALinkReplacesTheFileItLeadsTo) {
    TempDir dir;
    std::filesystem::create_directory(dir.path / "real");
    writeBytes(dir.file("real/palette"), "old");
    std::filesystem::create_symlink("real/palette", dir.path / "link");
    ASSERT_TRUE(saveFileAtomically(dir.file("link"), bytesOf("new")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path / "link"));
    EXPECT_EQ(std::filesystem::read_symlink(dir.path / "link"), "real/palette");
    EXPECT_EQ(readBytes(dir.file("real/palette")), "new");
    EXPECT_EQ(namesIn(dir.path / "real"), std::set<std::string>{"palette"});
}

TEST(SaveFile, ALinkLeadingNowhereIsRefused) {
    TempDir dir;
    std::filesystem::create_symlink(dir.path / "elsewhere" / "nothing", dir.path / "link");
    const SaveResult r = saveFileAtomically(dir.file("link"), bytesOf("new"));
    EXPECT_FALSE(r);
    EXPECT_FALSE(r.reason.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.path / "elsewhere"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path / "link"));
}

// A character device of our own (the same device as /dev/null), so that a fault here could
// never replace the system's node; /dev/null itself where nodes cannot be made.
std::string characterDevice(const TempDir& dir) {
    const std::string node = dir.file("null-device");
    if (::mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
        return node;
    return "/dev/null";
}

TEST(SaveFile, DevicesFifosAndFoldersAreRefusedUntouched) {
    TempDir dir;
    const std::string device = characterDevice(dir);
    std::filesystem::create_symlink(device, dir.path / "link-to-device");
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0644), 0);
    std::filesystem::create_directory(dir.path / "folder");
    writeBytes(dir.file("folder/inside"), "kept");
    const std::set<std::string> before = namesIn(dir.path);

    for (const std::string& path :
         {device, dir.file("link-to-device"), dir.file("fifo"), dir.file("folder")}) {
        SCOPED_TRACE(path);
        const SaveResult r = saveFileAtomically(path, bytesOf("must not land"));
        EXPECT_FALSE(r);
        EXPECT_EQ(r.reason, path == dir.file("folder") ? "это папка" : "это не обычный файл");
    }
    struct ::stat st {};
    ASSERT_EQ(::lstat(device.c_str(), &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    EXPECT_EQ(st.st_rdev, makedev(1, 3));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path / "link-to-device"));
    EXPECT_TRUE(std::filesystem::is_fifo(dir.path / "fifo"));
    EXPECT_EQ(readBytes(dir.file("folder/inside")), "kept");
    EXPECT_EQ(namesIn(dir.path), before);
}

TEST(SaveFile, AFileThatMayNotBeWrittenIsRefused) {
    TempDir dir;
    const std::string path = dir.file("locked");
    writeBytes(path, "old");
    SaveResult r;
    {
        test::WriteProtection protection(path);
        if (!protection.holds())
            GTEST_SKIP() << "running as root where the immutable flag cannot be set";
        r = saveFileAtomically(path, bytesOf("new"));
    }
    EXPECT_FALSE(r);
    EXPECT_EQ(r.reason, "нет прав на запись");
    EXPECT_EQ(readBytes(path), "old");
    EXPECT_EQ(namesIn(dir.path), std::set<std::string>{"locked"});
}

TEST(SaveFile, AMissingFolderIsReported) {
    TempDir dir;
    const SaveResult r = saveFileAtomically(dir.file("no/such/file"), bytesOf("x"));
    EXPECT_FALSE(r);
    EXPECT_EQ(r.reason, "папка или файл не найдены");
    EXPECT_TRUE(std::filesystem::is_empty(dir.path));
}

} // namespace
} // namespace vork
