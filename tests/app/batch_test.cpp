// SPDX-License-Identifier: GPL-3.0-or-later
// The command line of the real binary, run without a display: QT_QPA_PLATFORM and DISPLAY
// unset, as in a shell on a server.
#include "files/AnimationFile.h"
#include "files/PictureFile.h"
#include "support/GifWriter.h"
#include "support/TempDir.h"

#include <QImage>
#include <QImageReader>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>

using namespace vork;

namespace {

struct Outcome {
    int status = -1;
    std::string out, err;
};

std::string quoted(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs vork with the arguments in `folder`, without a display, and gathers what it printed.
Outcome vork(const test::TempDir& folder, const std::vector<std::string>& arguments) {
    std::string command = "cd " + quoted(folder.path.string()) +
                          " && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                          quoted(VORK_BINARY);
    for (const std::string& a : arguments)
        command += " " + quoted(a);
    const std::string errFile = folder.file("stderr.txt");
    command += " 2> " + quoted(errFile);
    Outcome r;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return r;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        r.out.append(buffer, n);
    const int raw = ::pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.err = test::readBytes(errFile);
    std::filesystem::remove(errFile);
    return r;
}

const Color red = Color::rgb(255, 0, 0);

// Three frames of 6 x 4, delays 100, 200 and 40, the second one off, a red pixel in each at
// x = frame index; the first frame has a second, hidden layer of opacity 90.
std::string writeAnimation(const test::TempDir& dir) {
    Document d(6, 4, 100);
    d.frame(0).appendLayer();
    d.frame(0).layer(1).visible = false;
    d.frame(0).layer(1).opacity = 90;
    d.insertFrameAfter(0);
    d.insertFrameAfter(1);
    const int delays[] = {100, 200, 40};
    for (int k = 0; k < 3; ++k) {
        d.frame(k).delay = delays[k];
        d.frame(k).layer(0).image.setPixel(k, 0, red);
    }
    d.frame(1).enabled = false;
    const std::string path = dir.file("walk.gelm");
    EXPECT_TRUE(writeAnimationFile(path, d, makePalette(smallPaletteSize)));
    return path;
}

TEST(CommandLineBinary, HelpVersionAndAWrongArgument) {
    test::TempDir dir;
    const Outcome help = vork(dir, {"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--convert IN OUT"), std::string::npos);
    const Outcome version = vork(dir, {"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "vork 2.0\n");
    const Outcome wrong = vork(dir, {"--convrt", "a", "b"});
    EXPECT_NE(wrong.status, 0);
    EXPECT_EQ(wrong.err.rfind("vork: unknown argument \"--convrt\"\n", 0), 0u) << wrong.err;
    EXPECT_NE(wrong.err.find("usage:"), std::string::npos);
}

TEST(CommandLineBinary, InfoTellsWhatAnAnimationHolds) {
    test::TempDir dir;
    writeAnimation(dir);
    const Outcome r = vork(dir, {"--info", "walk.gelm"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "file: walk.gelm\n"
                     "kind: animation\n"
                     "size: 6 x 4\n"
                     "default delay: 100 ms\n"
                     "frames: 3\n"
                     "frame 1: delay 100 ms, enabled, 2 layers\n"
                     "  layer 1: visible, opacity 255\n"
                     "  layer 2: hidden, opacity 90\n"
                     "frame 2: delay 200 ms, disabled, 1 layer\n"
                     "  layer 1: visible, opacity 255\n"
                     "frame 3: delay 40 ms, enabled, 1 layer\n"
                     "  layer 1: visible, opacity 255\n");
}

TEST(CommandLineBinary, ADamagedOrMissingFileFailsWithOneLine) {
    test::TempDir dir;
    const std::string file = writeAnimation(dir);
    const std::string bytes = test::readBytes(file);
    test::writeBytes(file, bytes.substr(0, bytes.size() - 3));
    for (const auto& args : {std::vector<std::string>{"--info", "walk.gelm"},
                             std::vector<std::string>{"--convert", "walk.gelm", "out.png"},
                             std::vector<std::string>{"--info", "missing.png"}}) {
        const Outcome r = vork(dir, args);
        EXPECT_EQ(r.status, 1) << args[1];
        EXPECT_TRUE(r.out.empty());
        EXPECT_EQ(r.err.rfind("vork: " + args[1] + ": ", 0), 0u) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("out001.png")));
}

TEST(CommandLineBinary, AnAnimationBecomesNumberedFramesOrOnePicture) {
    test::TempDir dir;
    writeAnimation(dir);
    const Outcome frames = vork(dir, {"--convert", "walk.gelm", "out.png"});
    ASSERT_EQ(frames.status, 0) << frames.err;
    EXPECT_EQ(frames.out, "out001.png\nout002.png\n") << "the switched-off frame is skipped";
    QImage second(QString::fromStdString(dir.file("out002.png")));
    EXPECT_EQ(second.pixel(2, 0), qRgba(255, 0, 0, 255)) << "frame 3 is the second file";

    const Outcome picture = vork(dir, {"--convert", "walk.gelm", "still.trnl", "--frame", "2"});
    ASSERT_EQ(picture.status, 0) << picture.err;
    const DocumentReadResult read = readPictureFile(dir.file("still.trnl"));
    ASSERT_TRUE(read);
    EXPECT_EQ(read.document->frameCount(), 1);
    EXPECT_EQ(read.document->frame(0).layer(0).image.pixel(1, 0), red);

    const Outcome noFrame = vork(dir, {"--convert", "walk.gelm", "still.trnl"});
    EXPECT_EQ(noFrame.status, 2);
    const Outcome pastTheEnd = vork(dir, {"--convert", "walk.gelm", "x.png", "--frame", "4"});
    EXPECT_EQ(pastTheEnd.status, 1);
    EXPECT_NE(pastTheEnd.err.find("frame 4"), std::string::npos);
}

TEST(CommandLineBinary, AGifBecomesAnAnimationAndAPictureAOneFrameAnimation) {
    test::TempDir dir;
    std::vector<test::GifFrame> frames;
    for (int k = 0; k < 5; ++k)
        frames.push_back(test::fullFrame(16, 12, [k](int x, int) { return x == k ? 1 : 0; }));
    ASSERT_TRUE(test::writeGif(dir.file("in.gif"), 16, 12, {colors::white, red}, frames));
    const Outcome gif = vork(dir, {"--convert", "in.gif", "anim.gelm"});
    ASSERT_EQ(gif.status, 0) << gif.err;
    EXPECT_EQ(gif.out, "anim.gelm\n");
    const DocumentReadResult a = readAnimationFile(dir.file("anim.gelm"));
    ASSERT_TRUE(a);
    ASSERT_EQ(a.document->frameCount(), 5);
    EXPECT_EQ(a.document->frame(4).delay, 100);
    EXPECT_EQ(a.document->frame(4).layer(0).image.pixel(4, 3), red);

    const Outcome info = vork(dir, {"--info", "in.gif"});
    EXPECT_EQ(info.status, 0);
    EXPECT_NE(info.out.find("kind: image\nsize: 16 x 12\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("frames: 5\n"), std::string::npos);

    ASSERT_EQ(vork(dir, {"--convert", "in.gif", "pic.trnl"}).status, 0);
    const Outcome toAnimation = vork(dir, {"--convert", "pic.trnl", "one.gelm"});
    ASSERT_EQ(toAnimation.status, 0) << toAnimation.err;
    const DocumentReadResult one = readAnimationFile(dir.file("one.gelm"));
    ASSERT_TRUE(one);
    EXPECT_EQ(one.document->frameCount(), 1);
    EXPECT_EQ(one.document->frame(0).layer(0).image.pixel(0, 0), red);

    const Outcome png = vork(dir, {"--convert", "pic.trnl", "pic.png"});
    ASSERT_EQ(png.status, 0) << png.err;
    EXPECT_EQ(QImage(QString::fromStdString(dir.file("pic.png"))).pixel(0, 5),
              qRgba(255, 0, 0, 255));

    const Outcome badOut = vork(dir, {"--convert", "pic.trnl", "pic.bmp"});
    EXPECT_EQ(badOut.status, 2);
}

TEST(CommandLineBinary, AnAnimationBecomesAGifOrASpriteSheet) {
    test::TempDir dir;
    writeAnimation(dir);
    const Outcome gif = vork(dir, {"--convert", "walk.gelm", "walk.gif"});
    ASSERT_EQ(gif.status, 0) << gif.err;
    EXPECT_EQ(gif.out, "walk.gif\n");
    QImageReader reader(QString::fromStdString(dir.file("walk.gif")));
    EXPECT_EQ(reader.imageCount(), 2) << "the switched-off frame is left out";

    const Outcome sheet = vork(dir, {"--convert", "walk.gelm", "sheet.png", "--sheet", "1"});
    ASSERT_EQ(sheet.status, 0) << sheet.err;
    EXPECT_NE(sheet.out.find("sheet.png"), std::string::npos) << sheet.out;
    EXPECT_NE(sheet.out.find("sheet.json"), std::string::npos) << sheet.out;
    QImage image(QString::fromStdString(dir.file("sheet.png")));
    EXPECT_EQ(image.width(), 6) << "one column";
    EXPECT_EQ(image.height(), 8);

    EXPECT_EQ(vork(dir, {"--convert", "walk.gelm", "x.gif", "--frame", "1"}).status, 2);
    EXPECT_EQ(vork(dir, {"--convert", "walk.gelm", "x.gelm", "--sheet", "2"}).status, 2);
    EXPECT_EQ(vork(dir, {"--convert", "walk.gelm", "x.png", "--sheet", "two"}).status, 2);
}

// Hostile and unlucky image files through the command line: each is refused with one line
// that says why, at once (a FIFO or a device would otherwise hang or exhaust memory), and no
// decoder library adds lines of its own.
TEST(CommandLineBinary, ImagesThatAreNoRegularFileOrAreCutShortAreRefusedWithOneLine) {
    test::TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("f.png").c_str(), 0644), 0);
    std::filesystem::create_symlink("/dev/zero", dir.file("z.png"));
    std::filesystem::create_symlink("/dev/urandom", dir.file("u.gif"));
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::red);
    for (const char* format : {"png", "bmp", "jpg"}) {
        const std::string whole = dir.file(std::string("whole.") + format);
        ASSERT_TRUE(image.save(QString::fromStdString(whole), format));
        const std::string bytes = test::readBytes(whole);
        test::writeBytes(dir.file(std::string("cut.") + format), bytes.substr(0, bytes.size() / 2));
    }
    const struct {
        const char* file;
        const char* reason;
    } cases[] = {{"f.png", "это не обычный файл"}, {"z.png", "это не обычный файл"},
                 {"u.gif", "это не обычный файл"}, {"cut.png", "файл обрезан"},
                 {"cut.bmp", "файл обрезан"},      {"cut.jpg", "файл обрезан"}};
    for (const auto& c : cases) {
        const Outcome r = vork(dir, {"--info", c.file});
        EXPECT_EQ(r.status, 1) << c.file;
        EXPECT_EQ(r.err, std::string("vork: ") + c.file +
                             ": не удалось прочитать изображение: " + c.reason + "\n");
    }
    EXPECT_EQ(vork(dir, {"--info", "whole.jpg"}).status, 0);
}

// A name need not be valid UTF-8: the bytes of the name reach the file system as they are.
TEST(CommandLineBinary, ImageNamesThatAreNotUtf8AreWrittenAndReadAsTheyAre) {
    test::TempDir dir;
    writeAnimation(dir);
    for (const std::string name : {"g\xff.gif", "p\xff.png"}) {
        const std::vector<std::string> convert =
            name.ends_with(".gif")
                ? std::vector<std::string>{"--convert", "walk.gelm", name}
                : std::vector<std::string>{"--convert", "walk.gelm", name, "--frame", "1"};
        const Outcome written = vork(dir, convert);
        ASSERT_EQ(written.status, 0) << written.err;
        EXPECT_TRUE(std::filesystem::exists(dir.file(name))) << "written under its own bytes";
        const Outcome info = vork(dir, {"--info", name});
        EXPECT_EQ(info.status, 0) << info.err;
        EXPECT_NE(info.out.find("size: 6 x 4"), std::string::npos) << info.out;
    }
}

} // namespace
