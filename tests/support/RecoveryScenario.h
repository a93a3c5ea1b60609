// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An editor that keeps copies of its unsaved documents in a recovery folder of its own, on a
// scripted clock, with the copies' files read back through the document formats.
#include "commands/Autosave.h"
#include "files/AnimationFile.h"
#include "files/PictureFile.h"
#include "support/CommandScenario.h"
#include "support/TempDir.h"

#include <filesystem>
#include <string>

namespace vork::test {

inline DocumentFileFormat formatOf(Mode mode) {
    return mode == Mode::Painter ? DocumentFileFormat::Picture : DocumentFileFormat::Animation;
}

inline DocumentReadResult readDocumentFile(const std::string& path, DocumentFileFormat format) {
    return format == DocumentFileFormat::Picture ? readPictureFile(path) : readAnimationFile(path);
}

template <class Base = ::testing::Test> struct RecoveryScenario : CommandScenario<Base> {
    TempDir dir;
    std::string folder = dir.file("recovery");

    // The writes under way finish before the folder, and whatever the fixtures built on this
    // one hand the workers, go.
    void TearDown() override { waitForCopies(); }
    ~RecoveryScenario() override { waitForCopies(); }

    void openFolder() {
        std::string reason;
        ASSERT_TRUE(openRecoveryFolder(this->e, folder, reason)) << reason;
    }
    void at(uint32_t tick) { this->platform.tick = tick; }
    // One paint at the tick: the tick after it starts the copies that are due.
    void paintAt(uint32_t tick) {
        at(tick);
        this->paint();
    }
    void waitForCopies() {
        for (ModeState& m : this->e.modes)
            if (m.changes.writing.valid())
                m.changes.writing.wait();
    }
    // Waits for the copies under way and takes them in, as the next tick would.
    void finishCopies() {
        waitForCopies();
        autosaveTick(this->e);
    }
    bool writing(Mode mode) { return this->e.mode(mode).changes.writing.valid(); }
    std::string copyPath(Mode mode) {
        return recoveryFilePath(folder, this->e.recovery.session, formatOf(mode));
    }
    bool copyExists(Mode mode) { return std::filesystem::exists(copyPath(mode)); }
    DocumentReadResult readCopy(Mode mode) {
        return readDocumentFile(copyPath(mode), formatOf(mode));
    }
};

} // namespace vork::test
