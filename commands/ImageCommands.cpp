// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/ImageCommands.h"

#include "canvas/Canvas.h"
#include "commands/DocumentAftermath.h"
#include "commands/ExportScaleChoice.h"
#include "commands/FileMessages.h"
#include "files/GifExport.h"
#include "files/ImageExport.h"
#include "files/ImageImport.h"
#include "files/SpriteSheet.h"
#include "files/WebpExport.h"
#include "pixels/SelectionOps.h"

namespace vork {

namespace {

constexpr const char* imageFilterName = "Image files";
constexpr const char* imagePatterns = "*.png;*.jpg;*.gif;*.bmp;*.tiff";

std::optional<std::string> chooseToOpen(Editor& e, const char* title, const char* filterName,
                                        const char* pattern, const char* folder,
                                        std::string ChooserNames::*remembered) {
    return e.platform.openFile(FileChooser{title, {{filterName, pattern}}, folder, ""},
                               e.chooserNames.*remembered);
}

std::optional<std::string> chooseToExport(Editor& e, const char* title, const char* folder,
                                          std::string ChooserNames::*remembered,
                                          const char* filterName = "PNG files",
                                          const char* pattern = "*.png",
                                          const char* extension = ".png") {
    return e.platform.saveFile(FileChooser{title, {{filterName, pattern}}, folder, extension},
                               e.chooserNames.*remembered);
}

// The image to insert, loaded; nothing when cancelled or when it failed (which is shown).
std::optional<Bitmap> chooseImageToInsert(Editor& e) {
    const auto path = chooseToOpen(e, "Вставка из графического файла", imageFilterName,
                                   imagePatterns, "frames", &ChooserNames::imageToInsert);
    if (!path)
        return std::nullopt;
    LoadedImage loaded = loadImageFile(*path);
    if (!loaded) {
        reportOpenFailure(e, *path, loaded.outcome.shown());
        return std::nullopt;
    }
    return std::move(loaded.image);
}

void reportExportFailure(Editor& e, const FileOutcome& outcome) {
    if (outcome.failure == ImageFailure::Cancelled)
        return;
    reportSaveFailure(e, outcome.file, outcome.shown());
}

SingleLayerView viewOf(const ModeState& m) {
    return m.layers.singleLayerView ? SingleLayerView::On : SingleLayerView::Off;
}

} // namespace

bool insertImage(Editor& e, Mode mode) {
    ModalScope modal(e);
    if (!e.mode(mode).document)
        return false;
    auto image = chooseImageToInsert(e);
    if (!image)
        return false;
    Selection& s = e.selection;
    s.copyImage = std::move(*image);
    s.hasCopy = true;
    s.pastedFromOutside = true;
    e.currentTool = Tool::RectangleSelection;
    e.mode(mode).drag.shapeDrag = false;
    const Document& d = *e.mode(mode).document;
    const Point centre = insertionCentre(canvasPlacement(e, mode), mode, d.width, d.height);
    pasteSelection(s, centre.x, centre.y);
    requestModeRepaint(e, mode);
    return true;
}

bool loadImageForPaste(Editor& e) {
    ModalScope modal(e);
    if (!e.picture() && !e.animation())
        return false;
    auto image = chooseImageToInsert(e);
    if (!image)
        return false;
    e.selection.copyImage = std::move(*image);
    e.selection.hasCopy = true;
    e.currentTool = Tool::RectangleSelection;
    return true;
}

bool openImageAsNewPicture(Editor& e) {
    ModalScope modal(e);
    const auto path = chooseToOpen(e, "Загрузка Png; Jpg; Gif; Bmp; Tiff.", imageFilterName,
                                   imagePatterns, "png", &ChooserNames::imageAsPicture);
    if (!path)
        return false;
    ImportedDocument opened = openImageAsPicture(*path);
    if (!opened) {
        reportOpenFailure(e, *path, opened.outcome.shown());
        return false;
    }
    replaceDocument(e, Mode::Painter, std::move(opened.document));
    markDocumentChanged(e, Mode::Painter); // in no file of its own yet
    return true;
}

bool importGifAnimation(Editor& e) {
    ModalScope modal(e);
    const auto path = chooseToOpen(e, "Импорт анимации из GIF файлов", "GIF files", "*.gif", "gif",
                                   &ChooserNames::gifImport);
    if (!path)
        return false;
    ImportedDocument imported;
    {
        const auto progress = e.platform.beginProgress("Импорт " + *path);
        imported = importGif(*path, progressOf(*progress));
    }
    if (!imported) {
        if (imported.outcome.failure != ImageFailure::Cancelled)
            reportOpenFailure(e, *path, imported.outcome.shown());
        return false;
    }
    replaceDocument(e, Mode::Animator, std::move(imported.document));
    markDocumentChanged(e, Mode::Animator); // in no file of its own yet
    return true;
}

bool exportPictureFile(Editor& e) {
    ModalScope modal(e);
    ModeState& m = e.mode(Mode::Painter);
    if (!m.document)
        return false;
    const auto scaling = askExportScale(e, m.document->width, m.document->height);
    if (!scaling)
        return false;
    const auto chosen =
        chooseToExport(e, "Сохранить растр в формате PNG", "png", &ChooserNames::pictureExport);
    if (!chosen)
        return false;
    const Document& picture = *m.document;
    const int viewed = picture.frame(0).layerWithSerial(m.layers.viewedLayer);
    const ExportResult written =
        exportPicturePng(composePicture(picture, viewOf(m), viewed), *chosen, scaling->scale);
    if (!written)
        reportExportFailure(e, written.outcome);
    return bool(written);
}

namespace {

// The animation's enabled frames through one of the exports, with a progress window; a
// failure is shown.
template <typename Export>
bool exportAnimation(Editor& e, const std::string& progressTitle, Export run) {
    ModeState& m = e.mode(Mode::Animator);
    ExportResult written;
    {
        const auto progress = e.platform.beginProgress(progressTitle);
        written = run(*m.document, viewOf(m), progressOf(*progress));
    }
    if (!written)
        reportExportFailure(e, written.outcome);
    return bool(written);
}

// The scale of the animation's export, asked first; nothing when cancelled.
std::optional<ExportScaling> askAnimationScale(Editor& e, bool sheet = false) {
    const Document& animation = *e.animation();
    return askExportScale(e, animation.width, animation.height, sheet);
}

} // namespace

bool exportGifFile(Editor& e) {
    ModalScope modal(e);
    if (!e.animation())
        return false;
    const auto scaling = askAnimationScale(e);
    if (!scaling)
        return false;
    const auto chosen = chooseToExport(e, "Экспорт анимации в формате GIF", "gif",
                                       &ChooserNames::gifExport, "GIF files", "*.gif", ".gif");
    if (!chosen)
        return false;
    return exportAnimation(e, "Экспорт " + *chosen,
                           [&](const Document& d, SingleLayerView v, const Progress& p) {
                               return exportAnimationGif(d, *chosen, v, p, scaling->scale);
                           });
}

bool exportWebpFile(Editor& e) {
    ModalScope modal(e);
    if (!e.animation())
        return false;
    const auto scaling = askAnimationScale(e);
    if (!scaling)
        return false;
    const auto chosen = chooseToExport(e, "Экспорт анимации в формате WebP", "webp",
                                       &ChooserNames::webpExport, "WebP files", "*.webp", ".webp");
    if (!chosen)
        return false;
    return exportAnimation(e, "Экспорт " + *chosen,
                           [&](const Document& d, SingleLayerView v, const Progress& p) {
                               return exportAnimationWebp(d, *chosen, v, p, scaling->scale);
                           });
}

bool exportSpriteSheetFile(Editor& e) {
    ModalScope modal(e);
    if (!e.animation())
        return false;
    const auto scaling = askAnimationScale(e, true);
    if (!scaling)
        return false;
    const auto chosen =
        chooseToExport(e, "Экспорт листа спрайтов", "sheets", &ChooserNames::sheetExport);
    if (!chosen)
        return false;
    return exportAnimation(
        e, "Экспорт " + *chosen, [&](const Document& d, SingleLayerView v, const Progress& p) {
            return exportSpriteSheet(d, *chosen, v, 0, p, scaling->scale, scaling->padding);
        });
}

bool exportFrameFiles(Editor& e) {
    ModalScope modal(e);
    ModeState& m = e.mode(Mode::Animator);
    if (!m.document)
        return false;
    const auto scaling = askAnimationScale(e);
    if (!scaling)
        return false;
    const auto chosen =
        chooseToExport(e, "Экспорт кадров в формате PNG", "frames", &ChooserNames::framesExport);
    if (!chosen)
        return false;
    return exportAnimation(e, "Экспорт кадров " + *chosen,
                           [&](const Document& d, SingleLayerView v, const Progress& p) {
                               return exportFramesPng(d, *chosen, v, p, scaling->scale);
                           });
}

} // namespace vork
