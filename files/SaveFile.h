// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Saving a file so that an existing one is replaced only by the complete new one. Every writer
// of the program saves through here.
//
// The content goes to a new file beside the target, is written out, synced to the disk and
// only then renamed over the target. Any failure on the way (a short or failed write, a failed
// sync or close, a failed rename) removes the new file, leaves the old one byte for byte and is
// reported with its reason.
//
// Only regular files are ever replaced. A path that is, or leads through symbolic links to, a
// folder, a device, a FIFO or a socket is refused untouched; so is a link that leads nowhere.
// A save through a symbolic link to a regular file replaces the file the link leads to, and the
// link stays a link. The new file gets the permissions and, where allowed, the owner of the one
// it replaces. A file the user may not write to is refused rather than replaced.
#include "files/FileSystemOps.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vork {

struct SaveResult {
    bool ok = false;
    std::string reason; // empty when ok; otherwise a short reason in Russian, e.g. "диск заполнен"
    bool cancelled = false; // the progress callback asked to stop before anything was written
    explicit operator bool() const { return ok; }
};

inline std::span<const uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// Takes the content of a save piece by piece and gathers small pieces into larger writes.
// Once a write has failed, every further call returns false and writes nothing.
class SaveSink {
  public:
    SaveSink(FileSystemOps& ops, int fd) : ops(ops), fd(fd) {}
    bool write(std::span<const uint8_t> bytes);
    bool write(std::string_view text) { return write(bytesOf(text)); }
    // Writes out what has been gathered; false when this or any earlier write failed.
    bool flush();
    // The errno of the first failed write; 0 while none failed.
    int error() const { return firstError; }

  private:
    bool writeOut(std::span<const uint8_t> bytes);
    FileSystemOps& ops;
    int fd;
    std::vector<uint8_t> pending;
    int firstError = 0;
};

// Produces the content of a save into the sink; returns false to abandon the save.
using SaveProducer = std::function<bool(SaveSink&)>;

// Writes `bytes` to `path` so that an existing file is replaced only by the complete new one.
SaveResult saveFileAtomically(const std::string& path, std::span<const uint8_t> bytes);
SaveResult saveFileAtomically(const std::string& path, std::span<const uint8_t> bytes,
                              FileSystemOps& ops);
// Removes the temporary files that earlier saves of the file at `path` left when they were
// killed: regular files of the user's named "<file>.saving-XXXXXX" beside it that no save
// holds (a save locks its temporary file until the rename) and that have not been written
// for a minute. Called before saves of large files (documents, GIFs); it reads the whole
// folder, so not before each file of a numbered series.
void removeAbandonedTemporaries(const std::string& path);

// The same for content made piece by piece, for documents too big to build in memory first.
SaveResult saveFileAtomically(const std::string& path, const SaveProducer& produce,
                              FileSystemOps& ops = systemFileOps());

// One file of a series written into one folder: saved as above, except that the folder is not
// synced after the rename. The caller syncs it once after the series (syncFolderOf), which
// makes every rename of the series durable at once; until then each target is either its old
// file or the complete new one, never a part.
SaveResult saveFileInSeries(const std::string& path, std::span<const uint8_t> bytes);
// Syncs the folder that holds `path` (the folder itself, which records its files' names).
void syncFolderOf(const std::string& path);

} // namespace vork
