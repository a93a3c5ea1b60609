// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The recovery folder: where the program keeps a copy of every document that has changes in no
// file, so that a crash, a kill or a power cut loses at most the last half minute of work.
//
// Each run of the program is a session with a name of its own (its start time and process id,
// "20261208-151230-4242"). Its copies are "picture-<session>.trnl" and
// "animation-<session>.gelm", written in the document formats, and for as long as it runs the
// session holds a lock on "session-<session>.lock". A copy whose session still holds its lock
// belongs to a program that is running and is left alone; every other copy was left behind by
// a run that ended without its documents being saved, and is offered back at the next start.
#include "files/DocumentRead.h"

#include <ctime>
#include <string>
#include <vector>

#include <sys/types.h>

namespace vork {

// One copy left behind by a session that has ended.
struct RecoveryFile {
    std::string path;
    DocumentFileFormat format = DocumentFileFormat::Picture;
    std::string session;
    std::time_t keptAt = 0; // when it was last written
    // Why the entry is no copy at all, though named like one: a symbolic link, a folder, a FIFO
    // or a device. Such an entry is never read nor written through. Empty for a regular file.
    std::string refusal;
};

std::string newSessionName(std::time_t start, pid_t process);

// Where the session keeps its copy of a document of the format.
std::string recoveryFilePath(const std::string& folder, const std::string& session,
                             DocumentFileFormat format);

// The lock that tells other runs of the program that a session is still running. It is let go
// (and its file removed) when the object goes, and by the system when the process dies however
// it dies.
class SessionLock {
  public:
    SessionLock() = default;
    ~SessionLock() { release(); }
    SessionLock(SessionLock&& other) noexcept;
    SessionLock& operator=(SessionLock&& other) noexcept;
    SessionLock(const SessionLock&) = delete;
    SessionLock& operator=(const SessionLock&) = delete;

    // Makes the folder (open to the user alone) when it is missing and takes the session's
    // lock. False, with the reason in Russian, when either failed.
    bool take(const std::string& folder, const std::string& session, std::string& reason);
    bool held() const { return fd_ >= 0; }
    void release();

  private:
    int fd_ = -1;
    std::string path_;
};

// Whether a program that is running holds the session's lock.
bool sessionRunning(const std::string& folder, const std::string& session);

// The copies in the folder whose sessions have ended, the most recently written first, and the
// entries named like such copies that are not regular files (with their refusal).
std::vector<RecoveryFile> leftoverRecoveryFiles(const std::string& folder);

// Takes a leftover copy for this run by renaming it to `to`, a name of this run's own session,
// so that no other run offers it as well. False when another run took it first, the name is
// taken, or what is there now is not a regular file (then it stays where it is).
bool claimRecoveryFile(const std::string& path, const std::string& to);

// Removes what ended sessions left besides their copies: their lock files and the temporary
// files of writes a crash interrupted.
void removeEndedSessionFiles(const std::string& folder);

} // namespace vork
