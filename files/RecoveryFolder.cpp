// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/RecoveryFolder.h"

#include "files/FileErrors.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vork {

namespace fs = std::filesystem;

namespace {

struct CopyKind {
    DocumentFileFormat format;
    const char* prefix;
    const char* extension;
};
constexpr CopyKind copyKinds[] = {{DocumentFileFormat::Picture, "picture-", ".trnl"},
                                  {DocumentFileFormat::Animation, "animation-", ".gelm"}};
constexpr const char* lockPrefix = "session-";
constexpr const char* lockExtension = ".lock";
// What the atomic save puts after the name of the file it is writing.
constexpr const char* temporaryMark = ".saving-";

std::string lockPath(const std::string& folder, const std::string& session) {
    return (fs::path(folder) / (lockPrefix + session + lockExtension)).string();
}

bool validSession(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
               c == '-';
    });
}

// The session named between `prefix` and `suffix`, or nothing when the name is not of that form.
std::optional<std::string> sessionBetween(std::string_view name, std::string_view prefix,
                                          std::string_view suffix) {
    if (name.size() <= prefix.size() + suffix.size() || !name.starts_with(prefix) ||
        !name.ends_with(suffix))
        return std::nullopt;
    const std::string_view session =
        name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    if (!validSession(session))
        return std::nullopt;
    return std::string(session);
}

// The format and session of a copy's file name.
std::optional<std::pair<DocumentFileFormat, std::string>> parseCopyName(std::string_view name) {
    for (const CopyKind& k : copyKinds)
        if (auto session = sessionBetween(name, k.prefix, k.extension))
            return std::pair{k.format, *session};
    return std::nullopt;
}

std::vector<fs::path> regularFilesIn(const std::string& folder) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file(ec))
            files.push_back(it->path());
    return files;
}

// Every entry of the folder, links not followed.
std::vector<std::pair<fs::path, struct ::stat>> entriesIn(const std::string& folder) {
    std::vector<std::pair<fs::path, struct ::stat>> entries;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        struct ::stat st {};
        if (::lstat(it->path().c_str(), &st) == 0)
            entries.emplace_back(it->path(), st);
    }
    return entries;
}

std::string refusalOf(const struct ::stat& st) {
    if (S_ISREG(st.st_mode))
        return {};
    if (S_ISLNK(st.st_mode))
        return "это символическая ссылка, а не обычный файл";
    return reasonForFileType(st.st_mode);
}

// Creates the lock file already locked: made unnamed in the folder, locked, and only then
// given its name, so that no other run can ever find it unlocked and take its session for
// ended. A file system without unnamed files gets a file created and then locked. The
// descriptor, or -1 with errno set.
int createLocked(const std::string& folder, const std::string& path) {
    int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return fd;
        const int error = errno;
        ::close(fd);
        errno = error;
        if (error != ENOENT) // without /proc the fallback below is the only way
            return -1;
    }
    fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

} // namespace

std::string newSessionName(std::time_t start, pid_t process) {
    std::tm local{};
    ::localtime_r(&start, &local);
    char name[64];
    std::snprintf(name, sizeof name, "%04d%02d%02d-%02d%02d%02d-%ld", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  long(process));
    return name;
}

std::string recoveryFilePath(const std::string& folder, const std::string& session,
                             DocumentFileFormat format) {
    const CopyKind& k = copyKinds[format == DocumentFileFormat::Picture ? 0 : 1];
    return (fs::path(folder) / (k.prefix + session + k.extension)).string();
}

SessionLock::SessionLock(SessionLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}

SessionLock& SessionLock::operator=(SessionLock&& other) noexcept {
    if (this != &other) {
        release();
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::move(other.path_);
    }
    return *this;
}

bool SessionLock::take(const std::string& folder, const std::string& session, std::string& reason) {
    release();
    std::error_code ec;
    const bool made = fs::create_directories(folder, ec);
    if (ec) {
        reason = reasonForErrno(ec.value(), FileAccess::Writing);
        return false;
    }
    // The copies are the user's documents: nobody else need read them.
    if (made)
        fs::permissions(folder, fs::perms::owner_all, ec);
    const std::string path = lockPath(folder, session);
    const int fd = createLocked(folder, path);
    if (fd < 0) {
        reason = reasonForErrno(errno, FileAccess::Writing);
        return false;
    }
    fd_ = fd;
    path_ = path;
    return true;
}

void SessionLock::release() {
    if (fd_ < 0)
        return;
    // Removed while still locked, so no other run can find it unlocked and take it for ended.
    ::unlink(path_.c_str());
    ::close(fd_);
    fd_ = -1;
    path_.clear();
}

bool sessionRunning(const std::string& folder, const std::string& session) {
    const int fd = ::open(lockPath(folder, session).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    const bool locked = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return locked;
}

std::vector<RecoveryFile> leftoverRecoveryFiles(const std::string& folder) {
    std::vector<RecoveryFile> files;
    for (const auto& [path, st] : entriesIn(folder)) {
        const auto parsed = parseCopyName(path.filename().string());
        if (!parsed || sessionRunning(folder, parsed->second))
            continue;
        files.push_back({path.string(), parsed->first, parsed->second, st.st_mtime, refusalOf(st)});
    }
    std::stable_sort(files.begin(), files.end(), [](const RecoveryFile& a, const RecoveryFile& b) {
        return a.keptAt != b.keptAt ? a.keptAt > b.keptAt : a.path > b.path;
    });
    return files;
}

bool claimRecoveryFile(const std::string& path, const std::string& to) {
    if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) != 0) {
        if (errno != EINVAL && errno != ENOSYS)
            return false;
        // A file system without the no-replace rename.
        struct ::stat taken {};
        if (::lstat(to.c_str(), &taken) == 0 || std::rename(path.c_str(), to.c_str()) != 0)
            return false;
    }
    // Swapped for something else after the folder was listed: put back, never read.
    struct ::stat st {};
    if (::lstat(to.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        return true;
    std::rename(to.c_str(), path.c_str());
    return false;
}

void removeEndedSessionFiles(const std::string& folder) {
    for (const fs::path& path : regularFilesIn(folder)) {
        const std::string name = path.filename().string();
        std::optional<std::string> session = sessionBetween(name, lockPrefix, lockExtension);
        if (const size_t mark = name.find(temporaryMark); !session && mark != std::string::npos)
            if (const auto parsed = parseCopyName(std::string_view(name).substr(0, mark)))
                session = parsed->second;
        if (session && !sessionRunning(folder, *session))
            ::unlink(path.c_str());
    }
}

} // namespace vork
