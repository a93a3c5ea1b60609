// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/DocumentFiles.h"

#include "commands/Autosave.h"
#include "commands/DocumentAftermath.h"
#include "commands/FileMessages.h"
#include "commands/PaletteChoosers.h"
#include "files/AnimationFile.h"
#include "files/PictureFile.h"

#include <filesystem>

namespace vork {

namespace {

struct DocumentFormat {
    const char* openTitle;
    const char* saveTitle;
    const char* filterName;
    const char* pattern;
    const char* folder;
    const char* extension;
    std::string ChooserNames::*rememberedName;
    DocumentReadResult (*read)(const std::string&, const Progress&);
    SaveResult (*write)(const std::string&, const Document&, const std::vector<PaletteEntry>&,
                        const Progress&);
};

const DocumentFormat pictureFormat{.openTitle = "Открыть файл формата tarnel",
                                   .saveTitle = "Сохранить файл формата tarnel",
                                   .filterName = "tarnel files",
                                   .pattern = "*.trnl",
                                   .folder = "tarnel",
                                   .extension = ".trnl",
                                   .rememberedName = &ChooserNames::picture,
                                   .read = readPictureFile,
                                   .write = writePictureFile};
const DocumentFormat animationFormat{.openTitle = "Открыть анимацию формата gelum",
                                     .saveTitle = "Сохранить анимацию в формате gelum",
                                     .filterName = "gelum files",
                                     .pattern = "*.gelm",
                                     .folder = "gelum",
                                     .extension = ".gelm",
                                     .rememberedName = &ChooserNames::animation,
                                     .read = readAnimationFile,
                                     .write = writeAnimationFile};

const DocumentFormat& formatOf(Mode mode) {
    return mode == Mode::Painter ? pictureFormat : animationFormat;
}

// The open chooser has no default extension; the save chooser puts the format's own on.
FileChooser chooserFor(const DocumentFormat& f, const char* title, const char* extension) {
    return FileChooser{title, {{f.filterName, f.pattern}}, f.folder, extension};
}

// The file's colours go into the small palette entry by entry, the first three as well, so
// that a file saved again holds the palette it was opened with.
void takePaletteColours(Palettes& palettes, const std::vector<PaletteEntry>& read) {
    for (size_t i = 0; i < read.size() && i < palettes.small.size(); ++i)
        palettes.small[i].color = read[i].color;
}

// The whole path of a file, so the document keeps naming it whatever the working folder.
std::string absolutePath(const std::string& path) {
    std::error_code error;
    const auto whole = std::filesystem::absolute(path, error);
    return error ? path : whole.lexically_normal().string();
}

// Writes the mode's document to `path`, replacing an existing file only with a complete new
// one; a failed write is shown with the file and the reason and changes nothing.
bool writeDocumentTo(Editor& e, Mode mode, const std::string& path) {
    const DocumentFormat& f = formatOf(mode);
    SaveResult saved;
    {
        const auto progress = e.platform.beginProgress("Запись " + path);
        saved =
            f.write(path, *e.mode(mode).document, e.colour.palettes.small, progressOf(*progress));
    }
    if (saved) {
        documentMatchesFile(e, mode);
        e.mode(mode).filePath = absolutePath(path);
    } else if (!saved.cancelled) {
        reportSaveFailure(e, path, saved.reason);
    }
    return bool(saved);
}

} // namespace

void takeOpenedDocument(Editor& e, Mode mode, DocumentReadResult read) {
    if (!read)
        return;
    takePaletteColours(e.colour.palettes, read.smallPalette);
    replaceDocument(e, mode, std::move(read.document));
}

bool openDocumentFile(Editor& e, Mode mode) {
    ModalScope modal(e);
    const DocumentFormat& f = formatOf(mode);
    const auto path =
        e.platform.openFile(chooserFor(f, f.openTitle, ""), e.chooserNames.*f.rememberedName);
    if (!path)
        return false;
    return openDocumentAt(e, mode, *path);
}

bool openDocumentAt(Editor& e, Mode mode, const std::string& path) {
    ModalScope modal(e);
    const DocumentFormat& f = formatOf(mode);
    DocumentReadResult read;
    {
        const auto progress = e.platform.beginProgress("Чтение " + path);
        read = f.read(path, progressOf(*progress));
    }
    if (!read) {
        if (read.failure != ReadFailure::Cancelled)
            reportOpenFailure(e, path, read.reason);
        return false;
    }
    takeOpenedDocument(e, mode, std::move(read));
    documentMatchesFile(e, mode);
    e.mode(mode).filePath = absolutePath(path);
    return true;
}

bool saveDocumentFile(Editor& e, Mode mode) {
    ModalScope modal(e);
    if (!e.mode(mode).document)
        return false;
    const DocumentFormat& f = formatOf(mode);
    std::string& remembered = e.chooserNames.*f.rememberedName;
    FileChooser chooser = chooserFor(f, f.saveTitle, f.extension);
    // A document that has a file of its own offers that file: its folder and its name.
    if (const std::string& current = e.mode(mode).filePath; !current.empty()) {
        chooser.initialFolder = std::filesystem::path(current).parent_path().string();
        remembered = current;
    }
    const auto chosen = e.platform.saveFile(chooser, remembered);
    if (!chosen)
        return false;
    const std::string path = withExtension(*chosen, f.extension);
    remembered = path;
    return writeDocumentTo(e, mode, path);
}

bool saveDocumentInPlace(Editor& e, Mode mode) {
    if (!e.mode(mode).document)
        return false;
    const std::string path = e.mode(mode).filePath;
    if (path.empty())
        return saveDocumentFile(e, mode);
    ModalScope modal(e);
    return writeDocumentTo(e, mode, path);
}

} // namespace vork
