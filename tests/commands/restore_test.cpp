// SPDX-License-Identifier: GPL-3.0-or-later
// The start's offer of the documents an earlier run left unsaved: restored into their modes, or
// kept aside, and never a question when there is nothing to restore.
#include "commands/Restore.h"
#include "files/KeepAside.h"
#include "support/RecoveryScenario.h"

#include <gtest/gtest.h>

#include <sstream>

#include <sys/stat.h>

#include <utime.h>

namespace vork {
namespace {

using test::blue;
using test::readBytes;
using test::red;

constexpr const char* endedSession = "20261207-101500-4242";

std::string today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

struct Restore : test::RecoveryScenario<> {
    std::ostringstream err;

    void SetUp() override {
        resize(1000, 700);
        openFolder();
    }
    // A copy an ended session left: a document of w x h whose bottom layer's first pixel is
    // `c`, with `frames` frames of two layers, written at `keptAt`.
    std::string leaveCopy(Mode mode, int w, int h, Color c, std::time_t keptAt,
                          const std::string& session = endedSession, int frames = 1) {
        Document d(w, h, 100);
        for (int f = 1; f < frames; ++f)
            d.insertFrameAfter(f - 1);
        for (Frame& frame : d.frames())
            frame.appendLayer();
        d.frame(0).layer(0).image.setPixel(0, 0, c);
        std::vector<PaletteEntry> palette = e.colour.palettes.small;
        palette[50].color = c;
        const std::string path = recoveryFilePath(folder, session, test::formatOf(mode));
        const SaveResult saved = mode == Mode::Painter ? writePictureFile(path, d, palette)
                                                       : writeAnimationFile(path, d, palette);
        EXPECT_TRUE(saved) << saved.reason;
        const utimbuf times{keptAt, keptAt};
        ::utime(path.c_str(), &times);
        return path;
    }
    bool exists(const std::string& path) { return std::filesystem::exists(path); }
    Document* doc(Mode mode) { return e.mode(mode).document.get(); }
};

TEST_F(Restore, YesOpensEveryCopyIntoItsModeAsAnOpenedFileMarkedAsChanged) {
    const std::string picture = leaveCopy(Mode::Painter, 20, 10, red, 1000000);
    const std::string animation = leaveCopy(Mode::Animator, 30, 12, blue, 2000000, endedSession, 3);
    const std::string pictureBytes = readBytes(picture);
    platform.restoreAnswers.push_back(true);
    offerRestore(e, err);

    ASSERT_EQ(platform.restoreQuestions.size(), 1u);
    const RestoreQuestion& q = platform.restoreQuestions[0];
    EXPECT_EQ(q.folder, folder);
    ASSERT_EQ(q.documents.size(), 2u);
    // The most recent first.
    EXPECT_EQ(q.documents[0].mode, Mode::Animator);
    EXPECT_EQ(q.documents[0].width, 30);
    EXPECT_EQ(q.documents[0].frames, 3);
    EXPECT_EQ(q.documents[0].layers, 6);
    EXPECT_EQ(q.documents[0].keptAt, 2000000);
    EXPECT_EQ(q.documents[1].mode, Mode::Painter);
    EXPECT_EQ(q.documents[1].height, 10);
    EXPECT_EQ(q.documents[1].layers, 2);

    ASSERT_TRUE(doc(Mode::Painter) && doc(Mode::Animator));
    EXPECT_EQ(doc(Mode::Painter)->frame(0).layer(0).image.pixel(0, 0), red);
    EXPECT_EQ(doc(Mode::Animator)->frame(0).layer(0).image.pixel(0, 0), blue);
    EXPECT_EQ(doc(Mode::Animator)->frameCount(), 3);
    // The aftermath of an open: the size globals and the thumbnails follow the documents.
    EXPECT_EQ(e.mode(Mode::Painter).width, 20);
    EXPECT_EQ(e.mode(Mode::Animator).height, 12);
    EXPECT_EQ(doc(Mode::Animator)->frame(0).thumbnail.width(), 55);
    // The palette of the most recent copy.
    EXPECT_EQ(e.colour.palettes.small[50].color, blue);
    EXPECT_EQ(e.shownMode, Mode::Animator);

    for (Mode mode : {Mode::Painter, Mode::Animator}) {
        EXPECT_TRUE(e.mode(mode).changes.modified);
        EXPECT_TRUE(copyExists(mode)) << "the copy becomes this run's own";
    }
    EXPECT_FALSE(exists(picture));
    EXPECT_FALSE(exists(animation));
    EXPECT_EQ(readBytes(copyPath(Mode::Painter)), pictureBytes);
    // The copy holds the document already: nothing falls due.
    paintAt(10'000'000);
    EXPECT_FALSE(writing(Mode::Painter) || writing(Mode::Animator));
    // Nothing is left to offer.
    offerRestore(e, err);
    EXPECT_EQ(platform.restoreQuestions.size(), 1u);
}

TEST_F(Restore, APictureAloneIsShownInThePainter) {
    leaveCopy(Mode::Painter, 5, 5, red, 1000000);
    platform.restoreAnswers.push_back(true);
    offerRestore(e, err);
    EXPECT_TRUE(doc(Mode::Painter));
    EXPECT_EQ(e.shownMode, Mode::Painter);
}

TEST_F(Restore, NoKeepsEveryCopyAsideUnderADatedName) {
    const std::string picture = leaveCopy(Mode::Painter, 20, 10, red, 1000000);
    const std::string bytes = readBytes(picture);
    platform.restoreAnswers.push_back(false);
    offerRestore(e, err);
    EXPECT_EQ(platform.restoreQuestions.size(), 1u);
    EXPECT_FALSE(doc(Mode::Painter));
    EXPECT_FALSE(exists(picture));
    const std::string kept = picture + ".declined-" + today();
    EXPECT_EQ(readBytes(kept), bytes);
    EXPECT_NE(err.str().find(kept), std::string::npos);
    offerRestore(e, err);
    EXPECT_EQ(platform.restoreQuestions.size(), 1u) << "a declined copy is not offered again";
}

TEST_F(Restore, NothingIsAskedWithoutCopiesOfEndedSessions) {
    offerRestore(e, err);
    EXPECT_TRUE(platform.restoreQuestions.empty());

    // Another run of the program that is still going keeps its copies.
    SessionLock running;
    std::string reason;
    ASSERT_TRUE(running.take(folder, "20261208-090000-7", reason)) << reason;
    const std::string theirs = leaveCopy(Mode::Animator, 4, 4, red, 1000000, "20261208-090000-7");
    offerRestore(e, err);
    EXPECT_TRUE(platform.restoreQuestions.empty());
    EXPECT_TRUE(exists(theirs));
    EXPECT_FALSE(doc(Mode::Animator));
}

TEST_F(Restore, AnUnreadableCopyIsKeptAsideAndToldAndTheOthersAreStillOffered) {
    const std::string damaged =
        recoveryFilePath(folder, endedSession, DocumentFileFormat::Animation);
    test::writeBytes(damaged, "gelm and then nothing");
    leaveCopy(Mode::Painter, 20, 10, red, 1000000);
    platform.restoreAnswers.push_back(true);
    offerRestore(e, err);

    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].second.find(damaged), std::string::npos);
    const std::string kept = damaged + ".unreadable-" + today();
    EXPECT_NE(platform.messages[0].second.find(kept), std::string::npos);
    EXPECT_EQ(readBytes(kept), "gelm and then nothing");
    ASSERT_EQ(platform.restoreQuestions.size(), 1u);
    EXPECT_EQ(platform.restoreQuestions[0].documents.size(), 1u);
    EXPECT_TRUE(doc(Mode::Painter));
    EXPECT_FALSE(doc(Mode::Animator));
}

TEST_F(Restore, OnlyTheMostRecentCopyOfAModeComesBackAndTheOlderOnesAreKeptAside) {
    const std::string older = leaveCopy(Mode::Painter, 6, 6, blue, 1000000, "20261201-080000-1");
    leaveCopy(Mode::Painter, 7, 7, red, 2000000);
    platform.restoreAnswers.push_back(true);
    offerRestore(e, err);
    ASSERT_EQ(platform.restoreQuestions.at(0).documents.size(), 1u);
    EXPECT_EQ(doc(Mode::Painter)->width, 7);
    EXPECT_FALSE(exists(older));
    EXPECT_TRUE(exists(older + ".older-" + today()));
}

// A copy that is a link to an animation elsewhere must not be restored: later copies would be
// written through it over that file. Links, FIFOs and folders named like copies are told once
// and kept aside as they are; the file a link leads to is never touched.
TEST_F(Restore, EntriesThatAreNoRegularFilesAreToldOnceAndKeptAsideNeverFollowed) {
    const std::string victim = dir.file("victim.gelm");
    ASSERT_TRUE(writeAnimationFile(victim, Document(5, 5, 100), e.colour.palettes.small));
    const std::string victimBytes = readBytes(victim);
    const auto copy = [&](const char* session, Mode mode = Mode::Animator) {
        return recoveryFilePath(folder, session, test::formatOf(mode));
    };
    std::filesystem::create_symlink(victim, copy("20261207-101500-1"));
    ASSERT_EQ(::mkfifo(copy("20261207-101500-2").c_str(), 0600), 0);
    std::filesystem::create_directory(copy("20261207-101500-3", Mode::Painter));
    platform.restoreAnswers.push_back(true);
    offerRestore(e, err);

    EXPECT_TRUE(platform.restoreQuestions.empty()) << "nothing there is a copy";
    EXPECT_FALSE(doc(Mode::Animator));
    ASSERT_EQ(platform.messages.size(), 1u);
    for (const char* session : {"20261207-101500-1", "20261207-101500-2"}) {
        const std::string kept = copy(session) + ".unreadable-" + today();
        EXPECT_NE(platform.messages[0].second.find(kept), std::string::npos) << session;
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(copy(session))));
    }
    EXPECT_TRUE(std::filesystem::is_symlink(copy("20261207-101500-1") + ".unreadable-" + today()));
    EXPECT_TRUE(std::filesystem::is_directory(copy("20261207-101500-3", Mode::Painter) +
                                              ".unreadable-" + today()));
    EXPECT_NE(platform.messages[0].second.find("символическая ссылка"), std::string::npos);
    EXPECT_EQ(readBytes(victim), victimBytes);

    offerRestore(e, err);
    EXPECT_EQ(platform.messages.size(), 1u) << "told once";
}

// Two runs started together find the same leftover; the one that offers it has first renamed it
// into its own session, so the other no longer finds it, and its copy is the restored file.
TEST_F(Restore, ARestoredCopyBelongsToTheRunThatClaimedItAlone) {
    const std::string left = leaveCopy(Mode::Animator, 8, 8, red, 1000000);
    platform.restoreAnswers.push_back(true);
    offerRestore(e, err);
    ASSERT_TRUE(doc(Mode::Animator));
    EXPECT_FALSE(exists(left));
    EXPECT_TRUE(copyExists(Mode::Animator));
    EXPECT_TRUE(leftoverRecoveryFiles(folder).empty()) << "a second run would find nothing";
}

} // namespace
} // namespace vork
