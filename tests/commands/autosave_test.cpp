// SPDX-License-Identifier: GPL-3.0-or-later
// Copies of unsaved documents on a scripted clock: when they are written, what they hold, when
// they go, the close, and writes that fail.
#include "app/WindowProcedure.h"
#include "commands/DocumentFiles.h"
#include "support/RecoveryScenario.h"
#include "support/SmallTmpfs.h"
#include "ui/Commands.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <sstream>

namespace vork {
namespace {

using test::blue;
using test::readBytes;
using test::red;

// Writes fail as on a full disk while `failing` is set; the workers write through it too.
class DiskThatFills : public FileSystemOps {
  public:
    std::atomic<bool> failing{false};
    ssize_t write(int fd, const void* data, size_t size) override {
        if (failing) {
            errno = ENOSPC;
            return -1;
        }
        return FileSystemOps::write(fd, data, size);
    }
};

struct Autosave : test::RecoveryScenario<::testing::TestWithParam<Mode>> {
    Mode mode = Mode::Animator;
    DiskThatFills disk;

    void SetUp() override {
        resize(1000, 700);
        mode = GetParam();
        e.data = DataFolder{dir.path.string(), dir.path.string(), dir.path.string()};
        e.recovery.fileOps = &disk;
        openFolder();
        at(0);
        newDocument(mode, 40, 30);
        paint();
    }
    Layer& layer() { return e.mode(mode).document->currentLayer(); }
    // A change the way the tools make one: pixels, then the commit's mark.
    void changeAt(uint32_t tick, int x, Color c) {
        at(tick);
        layer().image.setPixel(x, 0, c);
        markDocumentChanged(e, mode);
    }
    Color copiedPixel(int x) {
        const DocumentReadResult read = readCopy(mode);
        return read ? read.document->currentLayer().image.pixel(x, 0) : Color{};
    }
};

INSTANTIATE_TEST_SUITE_P(BothModes, Autosave, ::testing::Values(Mode::Painter, Mode::Animator),
                         test::modeTestName);

TEST_P(Autosave, TheCopyIsWrittenThirtySecondsAfterTheFirstChangeItLacks) {
    paintAt(100000);
    EXPECT_FALSE(writing(mode)) << "a clean document has no copy";
    changeAt(100000, 1, red);
    changeAt(110000, 2, red); // a later change does not put the copy off
    paintAt(129999);
    EXPECT_FALSE(writing(mode));
    EXPECT_FALSE(copyExists(mode));
    paintAt(130000);
    ASSERT_TRUE(writing(mode));
    finishCopies();
    EXPECT_EQ(copiedPixel(1), red);
    EXPECT_EQ(copiedPixel(2), red);

    // Nothing more is written while the copy holds every change.
    paintAt(200000);
    EXPECT_FALSE(writing(mode));

    // The next change starts the next 30 seconds.
    changeAt(210000, 3, blue);
    paintAt(239999);
    EXPECT_FALSE(writing(mode));
    paintAt(240000);
    finishCopies();
    EXPECT_EQ(copiedPixel(3), blue);
    EXPECT_TRUE(e.mode(mode).changes.modified) << "a copy is no save";
}

TEST_P(Autosave, NoCopyIsTakenWhileTheButtonIsHeldOrADialogIsOpen) {
    changeAt(1000, 1, red);
    at(31000);
    e.input.mouseDown = true;
    e.input.mouseX = e.input.mouseY = 1; // on the command bar, away from the canvas
    paint();
    EXPECT_FALSE(writing(mode));
    e.input.mouseDown = false;
    {
        ModalScope dialog(e);
        autosaveTick(e);
        EXPECT_FALSE(writing(mode));
    }
    paint();
    EXPECT_TRUE(writing(mode));
}

TEST_P(Autosave, TheCopyHoldsTheDocumentAsItWasWhenTakenWhateverIsDrawnAfter) {
    changeAt(1000, 1, red);
    paintAt(31000);
    ASSERT_TRUE(writing(mode));
    // Drawn at once, while the worker may still be reading the pixels.
    for (int x = 0; x < 40; ++x)
        layer().image.setPixel(x, 5, blue);
    layer().image.setPixel(1, 0, blue);
    finishCopies();
    EXPECT_EQ(copiedPixel(1), red);
    const DocumentReadResult read = readCopy(mode);
    ASSERT_TRUE(read);
    EXPECT_EQ(read.document->currentLayer().image.pixel(20, 5), colors::transparent);
    EXPECT_EQ(layer().image.pixel(1, 0), blue) << "the document keeps what was drawn";
    EXPECT_EQ(layer().image.pixel(20, 5), blue);
}

TEST_P(Autosave, ASaveAndANewDocumentRemoveTheCopy) {
    changeAt(1000, 1, red);
    paintAt(31000);
    finishCopies();
    ASSERT_TRUE(copyExists(mode));
    platform.saveAnswers.push_back(dir.file("work"));
    ASSERT_TRUE(saveDocumentFile(e, mode));
    EXPECT_FALSE(copyExists(mode));
    EXPECT_FALSE(e.mode(mode).changes.modified);
    paintAt(100000);
    EXPECT_FALSE(writing(mode));

    changeAt(100000, 2, red);
    paintAt(130000); // the write is under way when the new document comes
    newDocument(mode, 10, 10);
    EXPECT_FALSE(copyExists(mode));
    paintAt(200000);
    EXPECT_FALSE(copyExists(mode));
}

TEST_P(Autosave, TheCloseWritesEveryCopyThatLacksChangesAtOnce) {
    const Mode other = mode == Mode::Painter ? Mode::Animator : Mode::Painter;
    newDocument(other, 8, 8); // clean: the close keeps no copy of it
    changeAt(1000, 1, red);
    at(2000);
    std::ostringstream err;
    EXPECT_TRUE(onDestroy(e, CloseCause::Signal, err)) << err.str();
    EXPECT_EQ(copiedPixel(1), red);
    EXPECT_FALSE(copyExists(other));
}

TEST_P(Autosave, AFailedWriteLeavesThePreviousCopyAndTellsTheUserOnce) {
    changeAt(1000, 1, red);
    paintAt(31000);
    finishCopies();
    const std::string before = readBytes(copyPath(mode));
    ASSERT_FALSE(before.empty());

    disk.failing = true;
    changeAt(40000, 2, blue);
    paintAt(70000);
    finishCopies();
    EXPECT_EQ(readBytes(copyPath(mode)), before);
    ASSERT_EQ(platform.posted, std::vector<Command>{Command::AutosaveFailed});
    runPosted();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].second.find("диск заполнен"), std::string::npos);
    EXPECT_NE(platform.messages[0].second.find(copyPath(mode)), std::string::npos);

    // Tried again 30 seconds later, without telling the user a second time.
    paintAt(99999);
    EXPECT_FALSE(writing(mode));
    paintAt(100000);
    finishCopies();
    EXPECT_TRUE(platform.posted.empty());
    EXPECT_EQ(readBytes(copyPath(mode)), before);

    // Once a copy could be written again, the next failure is told again.
    disk.failing = false;
    paintAt(130000);
    finishCopies();
    EXPECT_EQ(copiedPixel(2), blue);
    disk.failing = true;
    changeAt(140000, 3, red);
    paintAt(170000);
    finishCopies();
    EXPECT_EQ(platform.posted, std::vector<Command>{Command::AutosaveFailed});
}

TEST_P(Autosave, ACopyTheCloseCannotWriteIsToldAndMakesTheCloseFail) {
    disk.failing = true;
    changeAt(1000, 1, red);
    std::ostringstream err;
    EXPECT_FALSE(onDestroy(e, CloseCause::Window, err));
    EXPECT_NE(err.str().find(copyPath(mode)), std::string::npos);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].first, autosaveFailureCaption);
    EXPECT_FALSE(copyExists(mode));
}

TEST_P(Autosave, OnAFullDiskThePreviousCopyStaysWhole) {
    test::SmallTmpfs small("64k");
    if (!small.mounted)
        GTEST_SKIP() << small.whyNot;
    waitForCopies();
    e.recovery = RecoveryState{};
    folder = small.file("recovery");
    openFolder();
    changeAt(1000, 1, red);
    paintAt(31000);
    finishCopies();
    const std::string before = readBytes(copyPath(mode));
    ASSERT_FALSE(before.empty());
    ASSERT_EQ(test::fillUp(small.file("filler")), ENOSPC);

    changeAt(40000, 2, blue);
    paintAt(70000);
    finishCopies();
    EXPECT_EQ(readBytes(copyPath(mode)), before);
    runPosted();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].second.find("диск заполнен"), std::string::npos);
    waitForCopies();
    e.recovery.lock.release(); // before the file system goes
}

} // namespace
} // namespace vork
