// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/KeepAside.h"

#include "files/FileErrors.h"

#include <cerrno>
#include <cstdio>
#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>

namespace vork {

namespace {

constexpr int maxCounter = 999;

std::string datedName(const std::string& path, const std::string& label,
                      std::chrono::year_month_day day, int counter) {
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, "-%04d-%02u-%02u", int(day.year()), unsigned(day.month()),
                  unsigned(day.day()));
    std::string name = path + "." + label + suffix;
    if (counter > 0)
        name += "." + std::to_string(counter);
    return name;
}

// Renames without ever replacing `to`; false with errno set, EEXIST when `to` is taken.
bool renameWithoutReplacing(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the no-replace rename: check first, then rename.
    struct ::stat st {};
    if (::lstat(to.c_str(), &st) == 0) {
        errno = EEXIST;
        return false;
    }
    return std::rename(from.c_str(), to.c_str()) == 0;
}

KeptAside outcome(KeptAside::Outcome what, std::string keptAs = {}, std::string reason = {}) {
    return KeptAside{what, std::move(keptAs), std::move(reason)};
}

std::chrono::year_month_day localToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return {std::chrono::year(local.tm_year + 1900), std::chrono::month(unsigned(local.tm_mon + 1)),
            std::chrono::day(unsigned(local.tm_mday))};
}

constexpr const char* unreadableLabel = "unreadable";

// Renames the entry at `path` to the first free dated name made from `name`.
KeptAside renameToDatedName(const std::string& path, const std::string& label,
                            std::chrono::year_month_day today, const std::string& name);

} // namespace

KeptAside keepUnreadableAside(const std::string& path) {
    return keepAside(path, unreadableLabel, localToday());
}

KeptAside keepUnreadableAside(const std::string& path, std::chrono::year_month_day today) {
    return keepAside(path, unreadableLabel, today);
}

KeptAside keepAside(const std::string& path, const std::string& label) {
    return keepAside(path, label, localToday());
}

KeptAside keepAside(const std::string& path, const std::string& label,
                    std::chrono::year_month_day today) {
    struct ::stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        const int error = errno;
        if (::lstat(path.c_str(), &st) == 0)
            return outcome(KeptAside::Outcome::NotRegularFile); // a link leading nowhere
        if (error == ENOENT)
            return outcome(KeptAside::Outcome::NothingThere);
        return outcome(KeptAside::Outcome::Failed, {}, reasonForErrno(error, FileAccess::Writing));
    }
    if (!S_ISREG(st.st_mode))
        return outcome(KeptAside::Outcome::NotRegularFile);
    return renameToDatedName(path, label, today, path);
}

KeptAside keepEntryAside(const std::string& path, const std::string& label,
                         const std::string& name) {
    struct ::stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return errno == ENOENT ? outcome(KeptAside::Outcome::NothingThere)
                               : outcome(KeptAside::Outcome::Failed, {},
                                         reasonForErrno(errno, FileAccess::Writing));
    return renameToDatedName(path, label, localToday(), name.empty() ? path : name);
}

namespace {

KeptAside renameToDatedName(const std::string& path, const std::string& label,
                            std::chrono::year_month_day today, const std::string& name) {
    for (int counter = 0; counter <= maxCounter; ++counter) {
        const std::string dated = datedName(name, label, today, counter);
        if (renameWithoutReplacing(path, dated))
            return outcome(KeptAside::Outcome::KeptAside, dated);
        if (errno != EEXIST)
            return outcome(KeptAside::Outcome::Failed, {},
                           reasonForErrno(errno, FileAccess::Writing));
    }
    return outcome(KeptAside::Outcome::Failed, {}, "все запасные имена заняты");
}

} // namespace

std::string describeKeptAside(const std::string& path, const KeptAside& kept) {
    switch (kept.outcome) {
    case KeptAside::Outcome::NothingThere:
        return {};
    case KeptAside::Outcome::NotRegularFile:
        return "vork: файл " + path + " не прочитан: это не обычный файл, он оставлен как есть";
    case KeptAside::Outcome::KeptAside:
        return "vork: файл " + path + " не прочитан; он сохранён под именем " + kept.keptAs;
    case KeptAside::Outcome::Failed:
        return "vork: файл " + path + " не прочитан, и отложить его не удалось: " + kept.reason;
    }
    return {};
}

} // namespace vork
