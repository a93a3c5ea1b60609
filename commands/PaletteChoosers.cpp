// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/PaletteChoosers.h"

#include "files/ForeignPalettes.h"
#include "files/ImageImport.h"
#include "files/PaletteFiles.h"
#include "files/SettingsFile.h"
#include "files/ViewSettingsFile.h"
#include "pixels/LayerOps.h"

#include <algorithm>
#include <filesystem>

namespace vork {

namespace {

constexpr const char* saveErrorCaption = "Ошибка сохранения";
constexpr const char* smallPaletteNotSaved = "Файл малой палитры не сохранен";
constexpr const char* bigPaletteNotSaved = "Файл Большой палитры не сохранен";
constexpr const char* settingsNotSaved = "Файл свойств не сохранен";
constexpr const char* paletteNotLoadedCaption = "Ошибка загрузки";
constexpr const char* paletteCutCaption = "Палитра загружена не вся";

struct PaletteKind {
    const char* openTitle;
    const char* saveTitle;
    const char* pattern;
    const char* extension;
    const char* notSavedText;
    bool (*read)(const std::string&, Palettes&);
    SaveResult (*write)(const std::string&, const Palettes&);
    std::string ChooserNames::*rememberedName;
    // The entries a palette of another tool fills and is written from: all but the fixed ones.
    std::vector<PaletteEntry> Palettes::*entries;
    int firstFree;
};

const PaletteKind smallKind{.openTitle = "Открыть малую палитру",
                            .saveTitle = "Сохранить малую палитру",
                            .pattern = "*.lpal",
                            .extension = ".lpal",
                            .notSavedText = smallPaletteNotSaved,
                            .read = readSmallPalette,
                            .write = writeSmallPalette,
                            .rememberedName = &ChooserNames::smallPalette,
                            .entries = &Palettes::small,
                            .firstFree = 3};
const PaletteKind bigKind{.openTitle = "Открыть большую палитру",
                          .saveTitle = "Сохранить большую палитру",
                          .pattern = "*.bpal",
                          .extension = ".bpal",
                          .notSavedText = bigPaletteNotSaved,
                          .read = readBigPalette,
                          .write = writeBigPalette,
                          .rememberedName = &ChooserNames::bigPalette,
                          .entries = &Palettes::big,
                          .firstFree = 1};

FileChooser chooserFor(const Editor& editor, const PaletteKind& kind, const char* title,
                       std::string defaultExtension) {
    FileChooser c;
    c.title = title;
    c.filters = {{"Pal files", kind.pattern}};
    for (auto& filter : foreignPaletteFilters())
        c.filters.push_back(std::move(filter));
    c.initialFolder = editor.data.user;
    c.defaultExtension = std::move(defaultExtension);
    // Palette files are the user's working set, saved again and again: replaced without asking.
    c.confirmOverwrite = false;
    return c;
}

std::vector<Color> freeColours(const Palettes& palettes, const PaletteKind& kind) {
    std::vector<Color> colours;
    const std::vector<PaletteEntry>& entries = palettes.*kind.entries;
    for (size_t i = size_t(kind.firstFree); i < entries.size(); ++i)
        colours.push_back(entries[i].color);
    return colours;
}

// A palette of another tool fills the free entries from the first on; what does not fit is
// left out and said, and entries past a shorter palette keep their colours. A file that is not
// wholly in its form changes nothing and says why.
bool openForeignPalette(Editor& editor, const PaletteKind& kind, const std::string& path,
                        ForeignPalette form) {
    const ForeignPaletteRead read = readForeignPalette(path, form);
    if (!read) {
        editor.platform.messageBox(paletteNotLoadedCaption,
                                   "Палитра " + path + " не загружена: " + read.reason);
        return false;
    }
    std::vector<PaletteEntry>& entries = editor.colour.palettes.*kind.entries;
    const size_t room = entries.size() - size_t(kind.firstFree);
    const size_t taken = std::min(room, read.colours.size());
    for (size_t i = 0; i < taken; ++i)
        entries[size_t(kind.firstFree) + i].color = read.colours[i];
    if (read.colours.size() > taken)
        editor.platform.messageBox(
            paletteCutCaption, "В палитре " + std::to_string(read.colours.size()) +
                                   " цветов, поместилось " + std::to_string(taken) + ", " +
                                   std::to_string(read.colours.size() - taken) + " не загружено.");
    return true;
}

bool openPalette(Editor& editor, const PaletteKind& kind) {
    ModalScope modal(editor);
    std::string& name = editor.chooserNames.*kind.rememberedName;
    const auto path = editor.platform.openFile(chooserFor(editor, kind, kind.openTitle, ""), name);
    if (!path)
        return false;
    if (const auto form = foreignPaletteOf(*path))
        return openForeignPalette(editor, kind, *path, *form);
    return kind.read(*path, editor.colour.palettes);
}

bool savePalette(Editor& editor, const PaletteKind& kind) {
    ModalScope modal(editor);
    std::string& name = editor.chooserNames.*kind.rememberedName;
    int filter = 0;
    FileChooser chooser = chooserFor(editor, kind, kind.saveTitle, kind.extension);
    chooser.chosenFilter = &filter;
    const auto chosen = editor.platform.saveFile(chooser, name);
    if (!chosen)
        return false;
    // The chosen filter picks the form: the palette's own, or one of another tool's, whose
    // extension then goes on the name as the palette's own does.
    const std::vector<ForeignPalette> forms = foreignPaletteForms();
    const bool foreign = filter >= 1 && size_t(filter) <= forms.size();
    const ForeignPalette form = foreign ? forms[size_t(filter - 1)] : ForeignPalette::Gimp;
    name = withExtension(*chosen, foreign ? foreignPaletteExtension(form) : kind.extension);
    const SaveResult written =
        foreign ? writeForeignPalette(name, form, freeColours(editor.colour.palettes, kind))
                : kind.write(name, editor.colour.palettes);
    if (written)
        return true;
    editor.platform.messageBox(saveErrorCaption, kind.notSavedText);
    return false;
}

} // namespace

std::string withExtension(const std::string& path, const std::string& extension) {
    const size_t slash = path.find_last_of('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = path.find_last_of('.');
    // A dot in a folder name or at the start of a hidden file's name starts no extension.
    if (dot == std::string::npos || dot <= nameStart)
        return path + extension;
    return path.substr(0, dot) + extension;
}

bool openSmallPalette(Editor& editor) {
    return openPalette(editor, smallKind);
}
bool saveSmallPalette(Editor& editor) {
    return savePalette(editor, smallKind);
}
bool openBigPalette(Editor& editor) {
    return openPalette(editor, bigKind);
}
bool saveBigPalette(Editor& editor) {
    return savePalette(editor, bigKind);
}

bool makeBigPaletteFromImage(Editor& editor) {
    ModalScope modal(editor);
    FileChooser c;
    c.title = "Открыть растр для создания палитры";
    c.filters = {{"Image files", "*.png;*.jpg;*.gif;*.bmp;*.tiff"}};
    const auto path = editor.platform.openFile(c, editor.chooserNames.bigPaletteImage);
    if (!path)
        return false;
    const LoadedImage loaded = loadImageFile(*path);
    if (!loaded || !sampleBigPalette(loaded.image, editor.colour.palettes.big)) {
        editor.platform.messageBox("Ошибка загрузки", "Файл растра не загружен");
        return false;
    }
    return true;
}

bool saveSettingsAndPalettes(Editor& editor, FailureReport how, std::ostream& err) {
    editor.input.inputEnabled = false;
    bool allWritten = true;
    auto save = [&](const std::string& path, const char* text, auto write) {
        const auto& kept = editor.dataFilesNotToSave;
        const SaveResult written =
            std::find(kept.begin(), kept.end(), path) != kept.end()
                ? SaveResult{false, "файл не был прочитан и не отложен в сторону"}
                : write(path);
        if (written)
            return;
        allWritten = false;
        err << "vork: " << path << " не сохранен: " << written.reason << "\n";
        if (how == FailureReport::MessageBox)
            editor.platform.messageBox(saveErrorCaption, text);
    };
    const DataFolder& data = editor.data;
    const Palettes& palettes = editor.colour.palettes;
    save(data.settings(), settingsNotSaved,
         [&](const std::string& p) { return writeSettings(p, documentSizes(editor)); });
    save(data.bigPalette(), bigPaletteNotSaved,
         [&](const std::string& p) { return writeBigPalette(p, palettes); });
    save(data.smallPalette(), smallPaletteNotSaved,
         [&](const std::string& p) { return writeSmallPalette(p, palettes); });
    // The program's own settings file goes where the settings go. A missing folder has been
    // reported by the files above already; a failed write is said on standard error only,
    // since the grid and the scale are easily set again.
    std::error_code noFolder;
    if (std::filesystem::is_directory(data.user, noFolder)) {
        const std::string path = data.viewSettings();
        if (const SaveResult written = writeViewSettings(path, editor.view); !written) {
            allWritten = false;
            err << "vork: " << path << " не сохранен: " << written.reason << "\n";
        }
    }
    return allWritten;
}

} // namespace vork
