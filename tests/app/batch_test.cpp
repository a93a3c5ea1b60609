// SPDX-License-Identifier: GPL-3.0-or-later
// The command line of the real binary, run without a display: QT_QPA_PLATFORM and DISPLAY
// unset, as in a shell on a server.
#include "app/DataLocation.h"
#include "files/AnimationFile.h"
#include "files/GifLayout.h"
#include "files/PaletteFiles.h"
#include "files/PictureFile.h"
#include "files/ShippedPalette.h"
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
// `environment` holds NAME=value settings for the run.
Outcome vork(const std::filesystem::path& folder, const std::vector<std::string>& arguments,
             const std::vector<std::string>& environment = {}) {
    std::string command = "cd " + quoted(folder.string()) +
                          " && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ";
    for (const std::string& setting : environment)
        command += quoted(setting) + " ";
    command += quoted(VORK_BINARY);
    for (const std::string& a : arguments)
        command += " " + quoted(a);
    const std::string errFile = (folder / "stderr.txt").string();
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

Outcome vork(const test::TempDir& folder, const std::vector<std::string>& arguments,
             const std::vector<std::string>& environment = {}) {
    return vork(folder.path, arguments, environment);
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
    EXPECT_EQ(wrong.err, "vork: unknown argument \"--convrt\" (see vork --help)\n");
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

    // Twice the size, with the same two frames and their delays.
    const Outcome webp = vork(dir, {"--convert", "walk.gelm", "walk.webp", "--scale", "2"});
    ASSERT_EQ(webp.status, 0) << webp.err;
    EXPECT_EQ(webp.out, "walk.webp\n");
    QImageReader webpReader(QString::fromStdString(dir.file("walk.webp")));
    EXPECT_EQ(webpReader.imageCount(), 2);
    EXPECT_EQ(webpReader.size(), QSize(12, 8));

    EXPECT_EQ(vork(dir, {"--convert", "walk.gelm", "x.gif", "--frame", "1"}).status, 2);
    EXPECT_EQ(vork(dir, {"--convert", "walk.gelm", "x.gelm", "--sheet", "2"}).status, 2);
    EXPECT_EQ(vork(dir, {"--convert", "walk.gelm", "x.png", "--sheet", "two"}).status, 2);
}

// A GIF of three 8 x 6 frames with delays of 10, 20 and 5 hundredths, and a fourth of 0.
std::string writeDelayedGif(const test::TempDir& dir, const std::string& name) {
    std::vector<test::GifFrame> frames;
    for (int delay : {10, 20, 5, 0}) {
        frames.push_back(test::fullFrame(8, 6, [delay](int x, int) { return x == delay % 8; }));
        frames.back().delayCentiseconds = delay;
    }
    const std::string path = dir.file(name);
    EXPECT_TRUE(test::writeGif(path, 8, 6, {colors::white, red}, frames));
    return path;
}

std::vector<int> gifDelaysOf(const std::string& path) {
    const std::string bytes = test::readBytes(path);
    const auto layout =
        readGifLayout({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
    return layout ? layout->delays : std::vector<int>{};
}

TEST(CommandLineBinary, AGifKeepsItsDelaysThroughInfoAndARoundTrip) {
    test::TempDir dir;
    writeDelayedGif(dir, "in.gif");
    const Outcome info = vork(dir, {"--info", "in.gif"});
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("frame 1: delay 100 ms,"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("frame 2: delay 200 ms,"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("frame 3: delay 50 ms,"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("frame 4: delay 100 ms (0 hundredths in the file),"), std::string::npos)
        << info.out;
    ASSERT_EQ(vork(dir, {"--convert", "in.gif", "a.gelm"}).status, 0);
    const DocumentReadResult a = readAnimationFile(dir.file("a.gelm"));
    ASSERT_TRUE(a);
    ASSERT_EQ(a.document->frameCount(), 4);
    const double delays[] = {100, 200, 50, 100};
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(a.document->frame(k).delay, delays[k]) << "frame " << k + 1;
    ASSERT_EQ(vork(dir, {"--convert", "a.gelm", "out.gif"}).status, 0);
    EXPECT_EQ(gifDelaysOf(dir.file("out.gif")), (std::vector<int>{10, 20, 5, 10}));
    ASSERT_EQ(vork(dir, {"--convert", "in.gif", "direct.gif"}).status, 0);
    EXPECT_EQ(test::readBytes(dir.file("direct.gif")), test::readBytes(dir.file("out.gif")))
        << "GIF -> GIF, a frame at a time, writes what goes through an animation";
}

// The palette a new document takes comes from where the editor keeps its own: data/ of the
// working folder when there is one, else the user's configuration folder; with no palette file
// at all, the shipped colours and a line that says so.
TEST(CommandLineBinary, ANewDocumentTakesThePaletteTheEditorWouldUse) {
    test::TempDir dir;
    QImage image(2, 2, QImage::Format_ARGB32);
    image.fill(qRgba(255, 0, 0, 255));
    ASSERT_TRUE(image.save(QString::fromStdString(dir.file("red.png"))));
    const std::filesystem::path config = dir.path / "config";
    std::filesystem::create_directories(config / "vork");
    std::filesystem::create_directories(dir.path / "withdata" / "data");
    std::filesystem::copy_file(dir.file("red.png"), dir.path / "withdata" / "red.png");

    auto paletteOf = [](Color marker) {
        Palettes p;
        p.fixSmallPaletteEntries();
        p.small[50].color = marker;
        return p;
    };
    const Color inConfig = Color::rgb(1, 2, 3), inData = Color::rgb(4, 5, 6);
    ASSERT_TRUE(
        writeSmallPalette((config / "vork" / "deflpal.lpal").string(), paletteOf(inConfig)));
    ASSERT_TRUE(writeSmallPalette((dir.path / "withdata" / "data" / "deflpal.lpal").string(),
                                  paletteOf(inData)));
    Palettes shipped;
    fillShippedSmallPalette(shipped);

    struct Case {
        std::string folder, xdgConfig;
        Color expected;
        bool notice;
    };
    const Case cases[] = {
        {"withdata", config.string(), inData, false},
        {".", config.string(), inConfig, false},
        {".", (dir.path / "empty").string(), shipped.small[50].color, true},
    };
    for (const Case& c : cases) {
        const std::filesystem::path folder = dir.path / c.folder;
        const std::vector<std::string> env = {"XDG_CONFIG_HOME=" + c.xdgConfig,
                                              "HOME=" + dir.path.string()};
        // The editor, started there, would read this file.
        StartEnvironment start{folder, VORK_BINARY, [&](const char* name) {
                                   const std::string n = name;
                                   return n == "XDG_CONFIG_HOME"
                                              ? std::optional<std::string>(c.xdgConfig)
                                              : std::optional<std::string>(dir.path.string());
                               }};
        Palettes editor;
        const bool editorRead =
            readSmallPalette((folder / chooseDataFolder(start).smallPalette()).string(), editor);
        EXPECT_EQ(editorRead, !c.notice) << c.folder;

        const std::string target = (folder / "p.trnl").string();
        std::filesystem::remove(target);
        const Outcome r = vork(folder, {"--convert", "red.png", "p.trnl"}, env);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err.find("no palette file") != std::string::npos, c.notice) << r.err;
        const DocumentReadResult p = readPictureFile(target);
        ASSERT_TRUE(p);
        EXPECT_EQ(p.smallPalette[50].color, c.expected) << c.folder << " " << c.xdgConfig;
        if (editorRead) {
            EXPECT_EQ(p.smallPalette[50].color, editor.small[50].color) << "the same file";
        }
        if (c.notice) {
            for (size_t i = 0; i < p.smallPalette.size(); ++i)
                EXPECT_EQ(p.smallPalette[i].color, shipped.small[i].color) << "never empty";
        }
    }
}

// The command line's exit statuses and first lines, failures with their reasons in English.
TEST(CommandLineBinary, ExitStatusesAndFirstLines) {
    test::TempDir dir;
    std::filesystem::create_directories(dir.path / "data");
    std::filesystem::copy_file(std::string(VORK_SOURCE_DIR) + "/data/deflpal.lpal",
                               dir.path / "data" / "deflpal.lpal");
    writeAnimation(dir);
    writeDelayedGif(dir, "anim.gif");
    writeDelayedGif(dir, "-dash.gif");
    test::writeBytes(dir.file("text.gif"), "just some text\n");
    const std::string whole = test::readBytes(dir.file("anim.gif"));
    test::writeBytes(dir.file("cut.gif"), whole.substr(0, whole.size() - 30));
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string firstOut, firstErr;
    };
    const Case cases[] = {
        {{"--info", "missing.gif"}, 1, "", "vork: missing.gif: no such file"},
        {{"--convert", "missing.gif", "x.png"}, 1, "", "vork: missing.gif: no such file"},
        {{"--info", "text.gif"}, 1, "", "vork: text.gif: not an image of any known kind"},
        {{"--convert", "cut.gif", "x.gelm"}, 1, "", "vork: cut.gif: cut short after frame 3"},
        {{"--info", "missing.gelm"}, 1, "", "vork: missing.gelm: no such file"},
        {{"--info", "a\nb.gelm"}, 1, "", "vork: \"a\\nb.gelm\": no such file"},
        {{"--convert", "anim.gif", "f.png"}, 0, "f001.png", ""},
        {{"--convert", "anim.gif", "two.png", "--frame", "2"}, 0, "two.png", ""},
        {{"--convert", "anim.gif", "x.png", "--frame", "9"},
         1,
         "",
         "vork: anim.gif: there is no frame 9 (the image has 4)"},
        {{"--convert", "--", "-dash.gif", "d.gelm"}, 0, "d.gelm", ""},
        {{"--convert", "walk.gelm", "s.png", "--sheet", "99999"}, 0, "s.png", ""},
        {{"--convert", "walk.gelm", "w.bmp"},
         2,
         "",
         "vork: \"w.bmp\": the output must end in .trnl, .gelm, .png, .gif or .webp (see vork "
         "--help)"},
        {{"--convert", "anim.gif", "a.webp", "--scale", "2"}, 0, "a.webp", ""},
        {{"--convert", "walk.gelm", "big.gif", "--scale", "16"}, 0, "big.gif", ""},
        {{"--convert", "anim.gif", "big.webp", "--scale", "16"}, 0, "big.webp", ""},
        {{"--convert", "walk.gelm", "x.gelm", "--scale", "2"},
         2,
         "",
         "vork: --scale enlarges exported images: .png, .gif or .webp (see vork --help)"},
        {{"--convert", "walk.gelm", "x.png", "--padding", "2"},
         2,
         "",
         "vork: --padding spaces the cells of a --sheet (see vork --help)"},
        {{"--convert", "walk.gelm", "x.webp", "--frame", "1"},
         2,
         "",
         "vork: --frame makes a picture or a PNG, not a WebP (see vork --help)"},
        {{"walk.gelm"},
         1,
         "",
         "vork: no display: the editor needs a window system (DISPLAY or WAYLAND_DISPLAY); the "
         "command line works without one: vork --help"},
    };
    for (const Case& c : cases) {
        const Outcome r = vork(dir, c.arguments);
        std::string what;
        for (const std::string& a : c.arguments)
            what += a + " ";
        EXPECT_EQ(r.status, c.status) << what << "\n" << r.err;
        EXPECT_EQ(r.out.substr(0, r.out.find('\n')), c.firstOut) << what;
        EXPECT_EQ(r.err.substr(0, r.err.find('\n')), c.firstErr) << what;
        if (c.status != 0) {
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << what << "\n" << r.err;
        }
    }
    EXPECT_EQ(vork(dir, {"--convert", "anim.gif", "f.png"}).out,
              "f001.png\nf002.png\nf003.png\nf004.png\n")
        << "every frame of an animated image";
    EXPECT_EQ(QImage(QString::fromStdString(dir.file("s.png"))).width(), 2 * 6)
        << "more columns than enabled frames make one row";
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
    } cases[] = {{"f.png", "not a regular file"},      {"z.png", "not a regular file"},
                 {"u.gif", "not a regular file"},      {"cut.png", "the file is cut short"},
                 {"cut.bmp", "the file is cut short"}, {"cut.jpg", "the file is cut short"}};
    for (const auto& c : cases) {
        const Outcome r = vork(dir, {"--info", c.file});
        EXPECT_EQ(r.status, 1) << c.file;
        EXPECT_EQ(r.err, std::string("vork: ") + c.file + ": " + c.reason + "\n");
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
