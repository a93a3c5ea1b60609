// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/WebpExport.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <cmath>
#include <memory>

namespace vork {

std::string webpExportName(const std::string& chosenName) {
    return exportBaseName(chosenName) + ".webp";
}

std::vector<int> webpDurations(std::span<const double> delaysMs) {
    std::vector<int> out;
    out.reserve(delaysMs.size());
    double owed = 0; // what the frames so far were written longer (-) or shorter (+) than asked
    for (double delay : delaysMs) {
        if (!(delay >= 0)) // negative or not a number
            delay = 0;
        const double wanted = delay + owed;
        if (wanted < 0.5) {
            out.push_back(1);
            owed = 0;
        } else if (wanted >= longestWebpDuration) {
            out.push_back(longestWebpDuration);
            owed = 0;
        } else {
            const int rounded = int(std::lround(wanted));
            out.push_back(rounded);
            owed = wanted - rounded;
        }
    }
    return out;
}

namespace {

WebpEncoding failedEncoding(ImageFailure failure, std::string detail = {}) {
    WebpEncoding out;
    out.failure = failure;
    out.detail = std::move(detail);
    return out;
}

struct EncoderDeleter {
    void operator()(WebPAnimEncoder* encoder) const { WebPAnimEncoderDelete(encoder); }
};
using EncoderPtr = std::unique_ptr<WebPAnimEncoder, EncoderDeleter>;

// One frame handed to the encoder, ending at `timestamp` of the frames before it.
bool addFrame(WebPAnimEncoder* encoder, const WebPConfig& config, const Bitmap& image,
              int timestamp) {
    WebPPicture picture;
    if (!WebPPictureInit(&picture))
        return false;
    picture.use_argb = 1;
    picture.width = image.width();
    picture.height = image.height();
    // The bitmap's bytes are B, G, R, A in memory, with straight alpha.
    bool added = WebPPictureImportBGRA(&picture, image.bytes(), image.stride()) != 0;
    added = added && WebPAnimEncoderAdd(encoder, &picture, timestamp, &config) != 0;
    WebPPictureFree(&picture);
    return added;
}

std::string encoderError(WebPAnimEncoder* encoder) {
    const char* error = encoder ? WebPAnimEncoderGetError(encoder) : nullptr;
    return std::string("WebP: ") + (error && *error ? error : "не удалось закодировать кадр");
}

} // namespace

WebpEncoding encodeWebpFrames(int width, int height, std::span<const double> delaysMs,
                              const FrameSource& frames, const Progress& progress) {
    if (delaysMs.empty())
        return failedEncoding(ImageFailure::NoEnabledFrames);
    const std::vector<int> durations = webpDurations(delaysMs);
    const int frameCount = int(durations.size());

    WebPAnimEncoderOptions options;
    WebPConfig config;
    if (!WebPAnimEncoderOptionsInit(&options) || !WebPConfigInit(&config))
        return failedEncoding(ImageFailure::CannotWrite, "WebP: неверная версия libwebp");
    options.anim_params.loop_count = 0; // forever
    options.anim_params.bgcolor = 0;    // transparent
    options.allow_mixed = 0;
    config.lossless = 1;
    config.exact = 1; // a transparent pixel keeps its colour
    const EncoderPtr encoder(WebPAnimEncoderNew(width, height, &options));
    if (!encoder)
        return failedEncoding(ImageFailure::CannotWrite, encoderError(nullptr));

    int handed = 0, timestamp = 0;
    bool cancelled = false, failed = false;
    frames([&](const Bitmap& image) {
        if (handed >= frameCount || image.width() != width || image.height() != height ||
            !addFrame(encoder.get(), config, image, timestamp)) {
            failed = true;
            return false;
        }
        timestamp += durations[size_t(handed++)];
        cancelled = !reportProgress(progress, handed, frameCount);
        return !cancelled;
    });
    if (cancelled)
        return failedEncoding(ImageFailure::Cancelled);
    if (failed || handed != frameCount ||
        !WebPAnimEncoderAdd(encoder.get(), nullptr, timestamp, nullptr))
        return failedEncoding(ImageFailure::CannotWrite, encoderError(encoder.get()));
    WebPData data;
    WebPDataInit(&data);
    if (!WebPAnimEncoderAssemble(encoder.get(), &data)) {
        WebPDataClear(&data);
        return failedEncoding(ImageFailure::CannotWrite, encoderError(encoder.get()));
    }
    WebpEncoding out;
    out.bytes.assign(data.bytes, data.bytes + data.size);
    WebPDataClear(&data);
    return out;
}

WebpEncoding encodeAnimationWebp(const Document& animation, SingleLayerView view,
                                 const Progress& progress, int scale) {
    return encodeExportedFrames<WebpEncoding>(animation, view, progress, scale, encodeWebpFrames);
}

ExportResult writeWebpEncoding(const WebpEncoding& encoded, const std::string& chosenName) {
    return writeEncodedExport(webpExportName(chosenName), encoded);
}

ExportResult exportAnimationWebp(const Document& animation, const std::string& chosenName,
                                 SingleLayerView view, const Progress& progress, int scale) {
    return writeWebpEncoding(encodeAnimationWebp(animation, view, progress, scale), chosenName);
}

} // namespace vork
