// SPDX-License-Identifier: GPL-3.0-or-later
// One step of the open-memory measurement (bench/open_memory_bench.cpp), each in a process of
// its own so that its peak resident size is its own:
//   probe write PATH   writes the 4096 x 4096 picture of 8 layers the cases open
//   probe pixels       only makes such a document and writes every pixel: the floor
//   probe whole PATH   reads the file whole into memory, then decodes it
//   probe read PATH    reads it through the picture reader
//   probe taken PATH   opens it in the editor as the user's open does
//   probe open PATH    the same, and paints the window once
#include "app/FrameCycle.h"
#include "app/WindowProcedure.h"
#include "commands/DocumentFiles.h"
#include "files/FileBytes.h"
#include "files/PictureFile.h"
#include "support/FakePlatform.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace vork;

namespace {

constexpr int side = 4096, layerCount = 8;

// Layer i: runs of one to four pixels of colours that differ from run to run, as a scan or a
// noisy drawing gives; its file holds close to a run for every two pixels.
void fillLayer(Bitmap& image, int i) {
    uint32_t state = 0x9E3779B9u * uint32_t(i + 1);
    uint32_t* pixels = image.row(0);
    const size_t count = size_t(image.width()) * size_t(image.height());
    for (size_t at = 0; at < count;) {
        state = state * 1664525u + 1013904223u;
        const size_t length = std::min<size_t>(count - at, 1 + (state >> 30));
        std::fill(pixels + at, pixels + at + length, state | 0xFF000000u);
        at += length;
    }
}

std::unique_ptr<Document> makePicture() {
    auto d = std::make_unique<Document>(side, side, 0.0);
    for (int i = 1; i < layerCount; ++i)
        d->current().appendLayer();
    for (int i = 0; i < layerCount; ++i)
        fillLayer(d->current().layer(i).image, i);
    return d;
}

int fail(const std::string& what) {
    std::fprintf(stderr, "probe: %s\n", what.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    const std::string step = argc > 1 ? argv[1] : "";
    const std::string path = argc > 2 ? argv[2] : "";
    if (step == "write") {
        const SaveResult saved =
            writePictureFile(path, *makePicture(), makePalette(smallPaletteSize));
        return saved ? 0 : fail(saved.reason);
    }
    if (step == "pixels")
        return makePicture() ? 0 : 1;
    if (step == "whole") {
        std::vector<uint8_t> bytes;
        if (readFileBytes(path, bytes) != ReadFailure::None)
            return fail("cannot read " + path);
        const DocumentReadResult read = decodePicture(bytes);
        return read ? 0 : fail(read.reason);
    }
    if (step == "read") {
        const DocumentReadResult read = readPictureFile(path);
        return read ? 0 : fail(read.reason);
    }
    if (step == "open" || step == "taken") {
        test::FakePlatform platform;
        Editor e{platform};
        onResize(e, 1280, 800);
        e.shownMode = Mode::Painter;
        if (!openDocumentAt(e, Mode::Painter, path))
            return fail("cannot open " + path);
        if (step == "taken")
            return 0;
        Bitmap back;
        paintWindow(e, back);
        return back.isNull() ? 1 : 0;
    }
    return fail("unknown step \"" + step + "\"");
}
