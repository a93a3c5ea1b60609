// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Startup.h"

#include "app/Layout.h"
#include "files/KeepAside.h"
#include "files/PaletteFiles.h"
#include "files/ReadFile.h"
#include "files/SettingsFile.h"
#include "gfx/ImageCodec.h"
#include "ui/Widgets.h"

namespace vork {

void makeToolButtons(Editor& e) {
    for (const ToolRow& row : toolTable)
        e.toolButtons[buttonIndex(row.tool)] = makeToolButton(e.toolSheet, row.face, int(row.tool));
    for (const SwitchButtonRow& row : switchButtonTable)
        e.toolButtons[buttonIndex(row.button)] = makeToolButton(e.toolSheet, row.face, row.id);
}

namespace {

// The tool sheet is a small picture; anything larger is not one.
constexpr size_t maxToolSheetBytes = 16u << 20;

// Reads one data file. One that exists but cannot be read (a palette saved by another program,
// say) is kept aside under a dated name before the close can write the defaults over it, and
// the user is told; if it cannot be kept aside, the close leaves it alone.
template <typename Read>
void readDataFile(Editor& e, const std::string& path, Read read, std::ostream& notices) {
    if (read(path))
        return;
    const KeptAside kept = keepUnreadableAside(path);
    const std::string line = describeKeptAside(path, kept);
    if (!line.empty())
        notices << line << "\n";
    if (kept.outcome == KeptAside::Outcome::Failed)
        e.dataFilesNotToSave.push_back(path);
}

} // namespace

bool initEditor(Editor& e, std::string& error, std::ostream& notices) {
    // A missing or unreadable settings file leaves the built-in sizes.
    DocumentSizes sizes = documentSizes(e);
    readDataFile(
        e, e.data.settings(), [&](const std::string& p) { return readSettings(p, sizes); },
        notices);
    setDocumentSizes(e, sizes);
    // The program's own settings: a missing file (the first run) leaves the defaults, and a
    // line it cannot use leaves its setting as it was.
    readViewSettings(e.data.viewSettings(), e.view);

    // Read as bytes first: only a regular file is opened, so a FIFO cannot hold up the start.
    const std::string toolSheet = e.data.toolSheet();
    const ReadResult bytes = readWholeFile(toolSheet, maxToolSheetBytes);
    // A PNG sheet (the one shipped) is read without the image plugins, which the first frame
    // does not need; a sheet of another format still reads through them.
    Bitmap loaded = bytes ? decodePng(bytes.bytes) : Bitmap();
    if (loaded.isNull() && bytes)
        loaded = decodeImage(bytes.bytes);
    if (loaded.isNull() || loaded.width() == 0) {
        error = "vork: cannot read the tool sheet \"" + toolSheet +
                "\"; the program needs it to draw its buttons.";
        return false;
    }
    // A sheet of another size is accepted but leaves the faces blank.
    e.toolSheet = Bitmap(175, 175);
    copyPixels(loaded, e.toolSheet);

    makeToolButtons(e);

    e.panels = Panels{};
    layoutAnimatorPanels(e);

    Palettes& p = e.colour.palettes;
    p = Palettes{};
    readDataFile(
        e, e.data.bigPalette(), [&](const std::string& f) { return readBigPalette(f, p); },
        notices);
    readDataFile(
        e, e.data.smallPalette(), [&](const std::string& f) { return readSmallPalette(f, p); },
        notices);
    p.fixSmallPaletteEntries();

    e.colour.alphaColor = colors::black;
    e.colour.currentColor = p.small[2].color;
    e.colour.currentSwatch = 2;

    e.selection = Selection{};
    for (ModeState& m : e.modes)
        m.layers.transparencyLock = Selection{};
    e.painter.caches = LayerCaches{};

    e.shownMode = Mode::Animator;
    e.currentTool = Tool::Pencil;
    e.input.inputEnabled = true;
    return true;
}

} // namespace vork
