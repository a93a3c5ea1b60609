// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/DocumentFiles.h"

#include "commands/Autosave.h"
#include "commands/DocumentAftermath.h"
#include "commands/FileMessages.h"
#include "commands/PaletteChoosers.h"
#include "files/AnimationFile.h"
#include "files/PictureFile.h"

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
    return true;
}

bool saveDocumentFile(Editor& e, Mode mode) {
    ModalScope modal(e);
    const Document* document = e.mode(mode).document.get();
    if (!document)
        return false;
    const DocumentFormat& f = formatOf(mode);
    std::string& remembered = e.chooserNames.*f.rememberedName;
    const auto chosen = e.platform.saveFile(chooserFor(f, f.saveTitle, f.extension), remembered);
    if (!chosen)
        return false;
    const std::string path = withExtension(*chosen, f.extension);
    remembered = path;
    SaveResult saved;
    {
        const auto progress = e.platform.beginProgress("Запись " + path);
        saved = f.write(path, *document, e.colour.palettes.small, progressOf(*progress));
    }
    if (saved)
        documentMatchesFile(e, mode);
    else if (!saved.cancelled)
        reportSaveFailure(e, path, saved.reason);
    return bool(saved);
}

} // namespace vork
