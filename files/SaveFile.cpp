// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/SaveFile.h"

#include "files/FileErrors.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <random>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vork {

namespace {

constexpr size_t sinkBufferBytes = size_t(64) << 10;
constexpr const char* temporaryMark = ".saving-";
constexpr size_t temporaryLetters = 6;

SaveResult failure(std::string reason) {
    return SaveResult{false, std::move(reason)};
}

SaveResult failureFromErrno(int error) {
    return failure(reasonForErrno(error, FileAccess::Writing));
}

// The file a save replaces or creates.
struct SaveTarget {
    std::string path;                    // with every symbolic link resolved when it exists
    std::optional<struct ::stat> status; // of the existing file
};

std::optional<SaveTarget> resolveTarget(const std::string& path, std::string& reason) {
    if (path.empty()) {
        reason = "не указано имя файла";
        return std::nullopt;
    }
    struct ::stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) {
            reason = reasonForFileType(st.st_mode);
            return std::nullopt;
        }
        char* real = ::realpath(path.c_str(), nullptr);
        if (!real || ::access(real, W_OK) != 0) {
            reason = reasonForErrno(errno, FileAccess::Writing);
            std::free(real);
            return std::nullopt;
        }
        SaveTarget target{real, st};
        std::free(real);
        return target;
    }
    if (errno != ENOENT) {
        reason = reasonForErrno(errno, FileAccess::Writing);
        return std::nullopt;
    }
    // Writing through a link that leads nowhere would create a file wherever it points.
    if (::lstat(path.c_str(), &st) == 0) {
        reason = "символическая ссылка ведёт к несуществующему файлу";
        return std::nullopt;
    }
    return SaveTarget{path, std::nullopt};
}

std::string folderOf(const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

// Creates a new, empty file beside the target under a name no other file has. Returns its
// descriptor, or -1 with errno set.
int createTemporary(const std::string& target, std::string& temporary) {
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::minstd_rand rng(std::random_device{}());
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = target + temporaryMark;
        for (size_t i = 0; i < temporaryLetters; ++i)
            temporary += letters[rng() % (sizeof letters - 1)];
        const int fd =
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// A temporary file not written to for this long, and locked by nobody, was left by a save that
// never finished. The age covers the moment between its creation and its lock.
constexpr time_t abandonedAfterSeconds = 60;

// Marks the temporary file as the save's own for as long as the save runs: a lock on a
// descriptor of its own, which outlives the closing of the written one until the rename.
// -1 when it cannot be had; the save goes on without it.
int lockTemporary(const std::string& temporary) {
    const int fd = ::open(temporary.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Gives the new file the permissions and owner of the file it replaces. A failure only
// leaves the new file with the defaults, so it is not a reason to give up the save.
void copyAttributes(int fd, const struct ::stat& old) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
        // Only the superuser may give a file away; everyone else keeps their own.
    }
    if (::fchmod(fd, old.st_mode & 07777) != 0) {
        // The new file keeps the default permissions.
    }
}

// Makes the rename itself durable. The new file is in place already, so a failure here is
// not reported: the save did happen.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// The target may have been replaced since it was resolved; never rename over anything but a
// regular file.
bool stillReplaceable(const SaveTarget& target, std::string& reason) {
    struct ::stat st {};
    if (::lstat(target.path.c_str(), &st) != 0)
        return true;
    if (S_ISREG(st.st_mode))
        return true;
    reason = reasonForFileType(st.st_mode);
    return false;
}

// Writes, syncs and closes the temporary file; on failure the descriptor is closed too.
SaveResult writeTemporary(int fd, const SaveProducer& produce, FileSystemOps& ops) {
    SaveSink sink(ops, fd);
    const bool produced = produce(sink);
    if (!sink.flush() || !produced) {
        ops.close(fd);
        return sink.error() ? failureFromErrno(sink.error())
                            : failure("данные для записи не подготовлены");
    }
    if (ops.sync(fd) != 0) {
        const int error = errno;
        ops.close(fd);
        return failureFromErrno(error);
    }
    // Some file systems report a failed write-back only here; the descriptor is gone either way.
    if (ops.close(fd) != 0)
        return failureFromErrno(errno);
    return SaveResult{true, {}};
}

} // namespace

void removeAbandonedTemporaries(const std::string& path) {
    namespace fs = std::filesystem;
    // The temporaries are made beside the file a link leads to.
    char* real = ::realpath(path.c_str(), nullptr);
    const fs::path targetPath(real ? real : path);
    std::free(real);
    const std::string prefix = targetPath.filename().string() + temporaryMark;
    std::error_code ec;
    const fs::path folder = targetPath.has_parent_path() ? targetPath.parent_path() : ".";
    const time_t now = ::time(nullptr);
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() != prefix.size() + temporaryLetters || !name.starts_with(prefix))
            continue;
        const int fd =
            ::open(it->path().c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
        if (fd < 0)
            continue;
        struct ::stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
            now - st.st_mtime >= abandonedAfterSeconds && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(it->path().c_str());
        ::close(fd);
    }
}

bool SaveSink::writeOut(std::span<const uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ops.write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            // A write that takes nothing without an error would loop for ever.
            firstError = written < 0 && errno != 0 ? errno : EIO;
            return false;
        }
        bytes = bytes.subspan(size_t(written));
    }
    return true;
}

bool SaveSink::write(std::span<const uint8_t> bytes) {
    if (firstError)
        return false;
    if (pending.size() + bytes.size() > sinkBufferBytes && !flush())
        return false;
    if (bytes.size() >= sinkBufferBytes)
        return writeOut(bytes);
    pending.insert(pending.end(), bytes.begin(), bytes.end());
    return true;
}

bool SaveSink::flush() {
    if (firstError)
        return false;
    const bool written = writeOut(pending);
    pending.clear();
    return written;
}

SaveResult saveFileAtomically(const std::string& path, std::span<const uint8_t> bytes) {
    return saveFileAtomically(path, bytes, systemFileOps());
}

SaveResult saveFileAtomically(const std::string& path, std::span<const uint8_t> bytes,
                              FileSystemOps& ops) {
    return saveFileAtomically(
        path, [bytes](SaveSink& sink) { return sink.write(bytes); }, ops);
}

namespace {

SaveResult saveReplacing(const std::string& path, const SaveProducer& produce, FileSystemOps& ops,
                         bool syncTheFolder) {
    std::string reason;
    const auto target = resolveTarget(path, reason);
    if (!target)
        return failure(reason);

    std::string temporary;
    const int fd = createTemporary(target->path, temporary);
    if (fd < 0)
        return failureFromErrno(errno);
    const int lock = lockTemporary(temporary);
    if (target->status)
        copyAttributes(fd, *target->status);

    SaveResult result = writeTemporary(fd, produce, ops);
    if (result && !stillReplaceable(*target, reason))
        result = failure(reason);
    if (result && ops.rename(temporary.c_str(), target->path.c_str()) != 0)
        result = failureFromErrno(errno);
    if (!result)
        ::unlink(temporary.c_str());
    if (lock >= 0)
        ::close(lock);
    if (!result)
        return result;
    if (syncTheFolder)
        syncFolder(folderOf(target->path));
    return result;
}

} // namespace

SaveResult saveFileAtomically(const std::string& path, const SaveProducer& produce,
                              FileSystemOps& ops) {
    return saveReplacing(path, produce, ops, true);
}

SaveResult saveFileInSeries(const std::string& path, std::span<const uint8_t> bytes) {
    return saveReplacing(
        path, [bytes](SaveSink& sink) { return sink.write(bytes); }, systemFileOps(), false);
}

void syncFolderOf(const std::string& path) {
    std::string reason;
    const auto target = resolveTarget(path, reason);
    syncFolder(folderOf(target ? target->path : path));
}

} // namespace vork
