// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Batch.h"

#include "files/AnimationFile.h"
#include "files/DocumentSummary.h"
#include "files/FileErrors.h"
#include "files/GifDelays.h"
#include "files/GifExport.h"
#include "files/ImageExport.h"
#include "files/ImageImport.h"
#include "files/PaletteFiles.h"
#include "files/PictureFile.h"
#include "files/SaveFile.h"
#include "files/SaveQueue.h"
#include "files/ShippedPalette.h"
#include "files/SpriteSheet.h"
#include "files/WebpExport.h"
#include "gfx/ImageCodec.h"
#include "pixels/ExportScale.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <utility>

namespace vork {

namespace {

constexpr int failedStatus = 1, refusedStatus = 2;

enum class FileKind { Picture, Animation, Image };

std::string lowerExtension(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string ext = path.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return ext;
}

FileKind kindOf(const std::string& path) {
    const std::string ext = lowerExtension(path);
    if (ext == ".trnl")
        return FileKind::Picture;
    if (ext == ".gelm")
        return FileKind::Animation;
    return FileKind::Image;
}

DocumentFileFormat formatOf(FileKind kind) {
    return kind == FileKind::Picture ? DocumentFileFormat::Picture : DocumentFileFormat::Animation;
}

// --- Reasons in English -------------------------------------------------------------------

// Texts with a number in them: the Russian start, the English start, and for a second number
// the Russian and English words between them.
struct NumberedReason {
    const char *russian, *english, *russianBetween, *englishBetween, *russianEnd, *englishEnd;
};

constexpr std::pair<const char*, const char*> fixedReasons[] = {
    {"файл не найден", "no such file"},
    {"папка или файл не найдены", "no such file or folder"},
    {"диск заполнен", "the disk is full"},
    {"превышена дисковая квота", "the disk quota is exceeded"},
    {"нет прав на чтение", "no permission to read"},
    {"нет прав на запись", "no permission to write"},
    {"диск доступен только для чтения", "the disk is read-only"},
    {"это папка", "it is a folder"},
    {"слишком длинное имя файла", "the file name is too long"},
    {"слишком много символических ссылок", "too many symbolic links"},
    {"ошибка ввода-вывода", "input/output error"},
    {"открыто слишком много файлов", "too many open files"},
    {"файл слишком большой", "the file is too large"},
    {"это не обычный файл", "not a regular file"},
    {"не указано имя файла", "no file name given"},
    {"символическая ссылка ведёт к несуществующему файлу", "the symbolic link leads to no file"},
    {"данные для записи не подготовлены", "nothing was prepared to write"},
    {"Документ не удалось подготовить к записи: не хватает памяти или он повреждён.",
     "the document could not be prepared for writing: out of memory, or it is damaged"},
    {"Запись прервана.", "writing cancelled"},
    {"не удалось сократить число цветов кадра", "the colours of a frame could not be reduced"},
    {"не удалось закодировать PNG", "PNG encoding failed"},
    {"не хватает памяти", "out of memory"},
    {"WebP: не удалось закодировать кадр", "WebP: a frame could not be encoded"},
    {"это не изображение известного вида", "not an image of any known kind"},
    {"в файле нет ни одного кадра", "the file holds no image"},
    {"файл обрезан до первого кадра", "cut short before the first frame"},
    {"файл обрезан", "the file is cut short"},
    // ImageFailure
    {"не удалось прочитать изображение", "cannot read the image"},
    {"изображение слишком большое",
     "the image is too large (a side over 5000 pixels, or more pixels than memory allows)"},
    {"операция отменена", "cancelled"},
    {"нет модуля записи PNG", "the image library cannot write PNG"},
    {"не удалось записать файл", "cannot write the file"},
    {"в анимации нет включённых кадров", "the animation has no enabled frame"},
    // ReadFailure
    {"Это не файл формата tarnel.", "not a .trnl picture file"},
    {"Это не файл формата gelum.", "not a .gelm animation file"},
    {"Файл обрезан: данные кончаются раньше, чем должны.",
     "the file is cut short: its data ends before it should"},
    {"Файл повреждён: в нём неверные данные.", "the file is damaged: it holds wrong data"},
    {"Документ в файле слишком велик: сторона больше 5000 точек или не хватит памяти.",
     "the document is too large: a side over 5000 pixels, or more pixels than memory allows"},
    {"Файл не удаётся прочитать.", "cannot read the file"},
    {"Чтение прервано.", "reading cancelled"},
};

constexpr NumberedReason numberedReasons[] = {
    {"системная ошибка ", "system error ", nullptr, nullptr, "", ""},
    {"файл обрезан после кадра ", "cut short after frame ", nullptr, nullptr, "", ""},
    {"кадр ", "frame ", " из ", " of ", " не удалось декодировать", " cannot be decoded"},
    {"Слишком много кадров: ", "too many frames: ", ", наибольшее число — ", ", the most is ", ".",
     ""},
    {"Слишком много слоёв в кадре: ", "too many layers in a frame: ", ", наибольшее число — ",
     ", the most is ", ".", ""},
    {"лист ", "a sheet of ", " x ", " x ", " пикселей, наибольшая сторона ",
     " pixels; the largest side is "},
    {"изображение ", "images of ", " x ", " x ", " пикселей, наибольшая сторона ",
     " pixels; the largest side is "},
};

// Reads a run of digits at `at`; empty when there is none.
std::string digitsAt(const std::string& s, size_t& at) {
    const size_t start = at;
    while (at < s.size() && std::isdigit(static_cast<unsigned char>(s[at])))
        ++at;
    return s.substr(start, at - start);
}

std::optional<std::string> numberedReason(const std::string& r) {
    for (const NumberedReason& n : numberedReasons) {
        const std::string start = n.russian;
        if (!r.starts_with(start))
            continue;
        size_t at = start.size();
        std::string english = n.english + digitsAt(r, at);
        if (n.russianBetween) {
            const std::string between = n.russianBetween;
            if (r.compare(at, between.size(), between) != 0)
                continue;
            at += between.size();
            english += n.englishBetween + digitsAt(r, at);
        }
        const std::string end = n.russianEnd;
        if (r.compare(at, end.size(), end) != 0)
            continue;
        at += end.size();
        english += n.englishEnd + digitsAt(r, at);
        if (at == r.size())
            return english;
    }
    return std::nullopt;
}

// A document reader's reason: "Файл не удаётся прочитать: <why>." becomes the why alone.
std::string englishReadReason(const std::string& reason) {
    const std::string unreadable = "Файл не удаётся прочитать: ";
    if (reason.starts_with(unreadable) && reason.ends_with("."))
        return englishReason(
            reason.substr(unreadable.size(), reason.size() - unreadable.size() - 1));
    return englishReason(reason);
}

// An import's or export's outcome: an unreadable image says only why; anything else gives what
// failed and, when there is one, the detail.
std::string englishOutcome(const FileOutcome& outcome) {
    if (outcome.failure == ImageFailure::CannotRead && !outcome.detail.empty())
        return englishReason(outcome.detail);
    const std::string reason = englishReason(outcome.reason);
    return outcome.detail.empty() ? reason : reason + ": " + englishReason(outcome.detail);
}

// --- Printing ------------------------------------------------------------------------------

int failed(std::ostream& err, const std::string& file, const std::string& reason) {
    err << "vork: " << printableName(file) << ": " << reason << "\n";
    return failedStatus;
}

int refused(std::ostream& err, const std::string& why) {
    err << "vork: " << why << " (see vork --help)\n";
    return refusedStatus;
}

int written(std::ostream& out, const std::string& file) {
    out << printableName(file) << "\n";
    return 0;
}

int writeSaveResult(std::ostream& out, std::ostream& err, const std::string& file,
                    const SaveResult& saved) {
    return saved ? written(out, file) : failed(err, file, englishReason(saved.reason));
}

int writeExport(std::ostream& out, std::ostream& err, const ExportResult& result) {
    for (const std::string& file : result.written)
        written(out, file);
    return result ? 0 : failed(err, result.outcome.file, englishOutcome(result.outcome));
}

void printFrame(std::ostream& out, int number, double delay, const std::string& delayNote,
                bool enabled, const std::vector<LayerSummary>& layers, bool withIds) {
    out << "frame " << number << ": delay " << delay << " ms" << delayNote << ", "
        << (enabled ? "enabled" : "disabled") << ", " << layers.size()
        << (layers.size() == 1 ? " layer" : " layers") << "\n";
    for (size_t k = 0; k < layers.size(); ++k) {
        out << "  layer " << k + 1;
        if (withIds)
            out << " (id " << layers[k].id << ")";
        out << ": " << (layers[k].visible ? "visible" : "hidden") << ", opacity "
            << layers[k].opacity << "\n";
    }
}

void printHead(std::ostream& out, const std::string& file, const char* kind, int width,
               int height) {
    out << "file: " << printableName(file) << "\n"
        << "kind: " << kind << "\n"
        << "size: " << width << " x " << height << "\n";
}

int printImageInfo(const std::string& file, std::ostream& out, std::ostream& err) {
    const ImageSummary s = summariseImageFile(file);
    if (!s)
        return failed(err, file, englishOutcome(s.outcome));
    printHead(out, file, "image", s.width, s.height);
    out << "frames: " << s.delaysMs.size() << "\n";
    for (size_t j = 0; j < s.delaysMs.size(); ++j) {
        // A GIF delay the import stretches is told as the file has it.
        const bool stretched = j < s.gifDelays.size() && s.gifDelays[j] < shortestHonouredGifDelay;
        printFrame(out, int(j) + 1, s.delaysMs[j],
                   stretched ? " (" + std::to_string(s.gifDelays[j]) + " hundredths in the file)"
                             : std::string(),
                   true, {LayerSummary{}}, false);
    }
    return 0;
}

// --- Progress ------------------------------------------------------------------------------

Progress progressOf(const ProgressFor& progress, const std::string& counted) {
    return progress ? progress(counted) : Progress{};
}

// The GIF export counts two steps a frame: the colours of every frame first, then the frames
// written. Told as two counts of frames.
Progress gifProgress(const ProgressFor& progress) {
    if (!progress)
        return {};
    Progress counting = progress("counting colours, frames");
    Progress writing = progress("writing frames");
    return [counting, writing](int done, int total) {
        const int frames = std::max(1, total / 2);
        return done <= frames ? reportProgress(counting, done, frames)
                              : reportProgress(writing, done - frames, frames);
    };
}

// --- Documents -----------------------------------------------------------------------------

// A document read or imported from a file, with the palette colours its file holds (none for
// an image), or the reason it could not be had, in English.
struct Loaded {
    std::unique_ptr<Document> document;
    std::vector<PaletteEntry> palette;
    std::string reason;
};

Loaded load(const std::string& path, FileKind kind, const ProgressFor& progress) {
    Loaded l;
    if (kind == FileKind::Image) {
        ImportedDocument imported = importGif(path, progressOf(progress, "reading frames"));
        l.document = std::move(imported.document);
        if (!l.document)
            l.reason = englishOutcome(imported.outcome);
        return l;
    }
    const Progress reading = progressOf(progress, "reading layers");
    DocumentReadResult read = kind == FileKind::Picture ? readPictureFile(path, reading)
                                                        : readAnimationFile(path, reading);
    l.document = std::move(read.document);
    l.palette = std::move(read.smallPalette);
    if (!l.document)
        l.reason = englishReadReason(read.reason);
    return l;
}

std::string noSuchFrame(int frame, int frames, const char* what) {
    return "there is no frame " + std::to_string(frame) + " (the " + what + " has " +
           std::to_string(frames) + ")";
}

// Frame `number` of an image file as a one-frame document, decoding the frames up to it only.
Loaded loadImageFrame(const std::string& path, int number) {
    Loaded l;
    int frames = 0;
    const FileOutcome outcome =
        streamImageFrames(path, FramesHeld::One, [&](ImportedFrame&& frame) {
            frames = frame.count;
            if (frame.number < number)
                return true;
            l.document =
                std::make_unique<Document>(frame.image.width(), frame.image.height(), 100.0);
            l.document->current().delay = frame.delayMs;
            l.document->currentLayer().image = std::move(frame.image);
            return false; // the rest is not needed
        });
    if (l.document)
        return l;
    l.reason = outcome.ok() ? noSuchFrame(number, frames, "image") : englishOutcome(outcome);
    return l;
}

// Every frame of an image file as PNG: one frame as the file named, more as numbered files.
// Each decoded frame is handed to a queue that encodes and saves a few files at a time, so only
// those few frames are in memory, whatever the number of frames.
int imageFramesToPng(const std::string& input, const std::string& output, int scale,
                     std::ostream& out, std::ostream& err, const ProgressFor& progress) {
    if (!canEncodePng())
        return failed(err, output, englishReason(reasonText(ImageFailure::NoPngWriter)));
    const std::string base = exportBaseName(output);
    const Progress writing = progressOf(progress, "writing frames");
    std::optional<SaveQueue> queue;
    std::optional<FileOutcome> tooLarge;
    const FileOutcome read = streamImageFrames(input, FramesHeld::One, [&](ImportedFrame&& frame) {
        const int width = frame.image.width(), height = frame.image.height();
        if (!scaledSizeFits(width, height, scale)) {
            tooLarge = FileOutcome::failed(ImageFailure::TooLarge, output,
                                           scaledTooLargeText(width, height, scale));
            return false;
        }
        if (!queue)
            queue.emplace(writing, frame.count,
                          SaveQueue::underWayFor(int64_t(frame.image.width()) *
                                                 frame.image.height() * 4 * scale * scale));
        std::string file =
            frame.count == 1 ? pictureExportName(output) : frameExportName(base, frame.number);
        auto image = std::make_shared<const Bitmap>(std::move(frame.image));
        return queue->add(file, [image, file, scale]() -> SaveResult {
            const Bitmap enlargedImage = enlarged(*image, scale);
            if (enlargedImage.isNull())
                return {false, "не хватает памяти"};
            const std::optional<std::vector<uint8_t>> bytes = encodePng(enlargedImage);
            if (!bytes)
                return {false, "PNG encoding failed"};
            return saveFileAtomically(file, *bytes);
        });
    });
    ExportResult result;
    if (queue)
        result = queue->finish();
    for (const std::string& file : result.written)
        written(out, file);
    if (queue && !result)
        return failed(err, result.outcome.file, englishOutcome(result.outcome));
    if (tooLarge)
        return failed(err, output, englishOutcome(*tooLarge));
    return read.ok() ? 0 : failed(err, input, englishOutcome(read));
}

// An image's frames, decoded one at a time each time the source is called, enlarged by
// `scale`. A failure to read is kept in `failure`.
FrameSource imageFrameSource(const std::string& input, int scale, FileOutcome& failure) {
    return [&input, scale, &failure](const std::function<bool(const Bitmap&)>& take) {
        const FileOutcome read =
            streamImageFrames(input, FramesHeld::One, [&](ImportedFrame&& frame) {
                const Bitmap image = enlarged(frame.image, scale);
                if (image.isNull()) {
                    failure = FileOutcome::failed(ImageFailure::TooLarge, input);
                    return false;
                }
                return take(image);
            });
        if (!read.ok() && read.failure != ImageFailure::Cancelled)
            failure = read;
        return read.ok();
    };
}

// An image's frames as a new animated GIF or WebP, decoded one at a time (twice for a GIF: the
// colours are counted first).
int imageToAnimation(const std::string& input, const std::string& output, int scale,
                     std::ostream& out, std::ostream& err, const ProgressFor& progress) {
    const ImageSummary summary = summariseImageFile(input);
    if (!summary)
        return failed(err, input, englishOutcome(summary.outcome));
    if (!scaledSizeFits(summary.width, summary.height, scale))
        return failed(err, output,
                      englishOutcome(FileOutcome::failed(
                          ImageFailure::TooLarge, output,
                          scaledTooLargeText(summary.width, summary.height, scale))));
    FileOutcome sourceFailure = FileOutcome::success(input);
    const FrameSource frames = imageFrameSource(input, scale, sourceFailure);
    const int width = summary.width * scale, height = summary.height * scale;
    ExportResult result;
    if (lowerExtension(output) == ".webp")
        result = writeWebpEncoding(encodeWebpFrames(width, height, summary.delaysMs, frames,
                                                    progressOf(progress, "writing frames")),
                                   output);
    else
        result = writeGifEncoding(
            encodeGifFrames(width, height, summary.delaysMs, frames, gifProgress(progress)),
            output);
    if (!sourceFailure.ok())
        return failed(err, input, englishOutcome(sourceFailure));
    return writeExport(out, err, result);
}

} // namespace

std::string printableName(const std::string& name) {
    const bool plain = std::none_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    });
    if (plain)
        return name;
    std::string q = "\"";
    for (char c : name) {
        switch (c) {
        case '\n':
            q += "\\n";
            break;
        case '\t':
            q += "\\t";
            break;
        case '\r':
            q += "\\r";
            break;
        case '"':
            q += "\\\"";
            break;
        case '\\':
            q += "\\\\";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02x", unsigned(static_cast<unsigned char>(c)));
                q += hex;
            } else {
                q += c;
            }
        }
    }
    return q + "\"";
}

std::string englishReason(const std::string& reason) {
    for (const auto& [russian, english] : fixedReasons)
        if (reason == russian)
            return english;
    if (auto numbered = numberedReason(reason))
        return *numbered;
    return reason;
}

std::vector<PaletteEntry> defaultSmallPalette(const DataFolder& data, std::ostream& err) {
    Palettes palettes;
    palettes.fixSmallPaletteEntries();
    const std::string user = data.smallPalette();
    const std::string shipped = data.resources + "/deflpal.lpal";
    if (readSmallPalette(user, palettes) || readSmallPalette(shipped, palettes))
        return palettes.small;
    err << "vork: no palette file (" << printableName(user)
        << (shipped != user ? " or " + printableName(shipped) : std::string())
        << "): the new file takes the built-in default palette\n";
    fillShippedSmallPalette(palettes);
    return palettes.small;
}

int printFileInfo(const std::string& file, std::ostream& out, std::ostream& err) {
    const FileKind kind = kindOf(file);
    if (kind == FileKind::Image)
        return printImageInfo(file, out, err);
    const DocumentSummary s = summariseDocumentFile(file, formatOf(kind));
    if (!s)
        return failed(err, file, englishReadReason(s.reason));
    printHead(out, file, kind == FileKind::Picture ? "picture" : "animation", s.width, s.height);
    out << "default delay: " << s.defaultDelay << " ms\n";
    out << "frames: " << s.frames.size() << "\n";
    for (size_t j = 0; j < s.frames.size(); ++j)
        printFrame(out, int(j) + 1, s.frames[j].delay, {}, s.frames[j].enabled, s.frames[j].layers,
                   kind == FileKind::Picture);
    return 0;
}

int convertFile(const std::string& input, const std::string& output, const ConvertOptions& options,
                std::ostream& out, std::ostream& err, const ProgressFor& progress) {
    const std::optional<int> frame = options.frame;
    const FileKind from = kindOf(input);
    const std::string to = lowerExtension(output);
    const int scale = options.scale;
    const bool animated = to == ".gif" || to == ".webp";
    if (to != ".trnl" && to != ".gelm" && to != ".png" && !animated) {
        const std::string shown = printableName(output);
        return refused(err, (shown.starts_with('"') ? shown : "\"" + shown + "\"") +
                                ": the output must end in .trnl, .gelm, .png, .gif or .webp");
    }
    if (options.sheetColumns && (to != ".png" || frame))
        return refused(err, "--sheet makes one PNG sheet of all the enabled frames");
    if (options.padding && !options.sheetColumns)
        return refused(err, "--padding spaces the cells of a --sheet");
    if (scale != 1 && (to == ".trnl" || to == ".gelm"))
        return refused(err, "--scale enlarges exported images: .png, .gif or .webp");
    if (to == ".gif" && frame)
        return refused(err, "--frame makes a picture or a PNG, not a GIF");
    if (to == ".webp" && frame)
        return refused(err, "--frame makes a picture or a PNG, not a WebP");
    if (frame && from == FileKind::Picture)
        return refused(err, "--frame picks a frame of a .gelm animation or of an image");
    if (frame && to == ".gelm")
        return refused(err, "--frame makes a picture or a PNG, not an animation");
    if (from == FileKind::Animation && to == ".trnl" && !frame)
        return refused(err, "an animation becomes a picture one frame at a time: add --frame N");

    // An image's frames go to PNG files or a GIF one at a time, never all in memory.
    if (from == FileKind::Image && to == ".png" && !frame && !options.sheetColumns)
        return imageFramesToPng(input, output, scale, out, err, progress);
    if (from == FileKind::Image && animated)
        return imageToAnimation(input, output, scale, out, err, progress);

    Loaded l;
    if (frame && from == FileKind::Animation) {
        AnimationFrameRead one = readAnimationFrame(input, *frame);
        if (!one.summary)
            return failed(err, input, englishReadReason(one.summary.reason));
        if (!one.read)
            return failed(err, input,
                          one.read.reason.empty()
                              ? noSuchFrame(*frame, int(one.summary.frames.size()), "animation")
                              : englishReadReason(one.read.reason));
        l.document = std::move(one.read.document);
        l.palette = std::move(one.read.smallPalette);
    } else if (from == FileKind::Image && (frame || to == ".trnl")) {
        l = loadImageFrame(input, frame.value_or(1)); // a picture of the first image by default
    } else {
        l = load(input, from, progress);
    }
    if (!l.document)
        return failed(err, input, l.reason);
    Document& d = *l.document;
    if (l.palette.empty() && (to == ".trnl" || to == ".gelm"))
        l.palette = defaultSmallPalette(options.data, err);

    if (to == ".gif")
        return writeExport(
            out, err,
            exportAnimationGif(d, output, SingleLayerView::Off, gifProgress(progress), scale));
    if (to == ".webp")
        return writeExport(out, err,
                           exportAnimationWebp(d, output, SingleLayerView::Off,
                                               progressOf(progress, "writing frames"), scale));
    if (options.sheetColumns)
        return writeExport(out, err,
                           exportSpriteSheet(d, output, SingleLayerView::Off, *options.sheetColumns,
                                             progressOf(progress, "composing frames"), scale,
                                             options.padding.value_or(0)));
    if (to == ".png") {
        // An animation without --frame gives its enabled frames as numbered files; anything
        // else one composite picture, layers as the editor shows them with single-layer view off.
        if (from == FileKind::Animation && !frame)
            return writeExport(out, err,
                               exportFramesPng(d, output, SingleLayerView::Off,
                                               progressOf(progress, "writing frames"), scale));
        return writeExport(
            out, err,
            exportPicturePng(composeLayers(d.frame(0), d.width, d.height, SingleLayerView::Off, 0),
                             output, scale));
    }
    const Progress writing = progressOf(progress, "writing layers");
    if (to == ".trnl") {
        d.defaultDelay = 0;
        return writeSaveResult(out, err, output, writePictureFile(output, d, l.palette, writing));
    }
    // A picture becomes a one-frame animation whose frame lasts as long as a new animation's.
    if (from == FileKind::Picture) {
        d.defaultDelay = 100;
        d.frame(0).delay = 100;
    }
    return writeSaveResult(out, err, output, writeAnimationFile(output, d, l.palette, writing));
}

} // namespace vork
