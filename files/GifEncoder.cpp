// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/GifEncoder.h"

#include <gif_lib.h>

#include <cstring>
#include <memory>
#include <new>

namespace vork {

namespace {

int appendBytes(GifFileType* gif, const GifByteType* bytes, int count) {
    auto* output = static_cast<GifEncoder::Output*>(gif->UserData);
    try {
        output->bytes.insert(output->bytes.end(), bytes, bytes + count);
    } catch (const std::bad_alloc&) {
        output->failed = true;
        return 0; // giflib reports a failed write; no exception passes through C code
    }
    return count;
}

struct MapDeleter {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};
using ColourMap = std::unique_ptr<ColorMapObject, MapDeleter>;

// The palette padded with black to the power of two of entries the format demands (2 at least).
ColourMap makeColourMap(std::span<const uint32_t> palette) {
    int size = 2;
    while (size < int(palette.size()))
        size *= 2;
    ColourMap map(GifMakeMapObject(size, nullptr));
    if (!map)
        return map;
    std::memset(map->Colors, 0, sizeof(GifColorType) * size_t(size));
    for (size_t i = 0; i < palette.size(); ++i)
        map->Colors[i] = {GifByteType(palette[i] >> 16), GifByteType(palette[i] >> 8),
                          GifByteType(palette[i])};
    return map;
}

} // namespace

GifEncoder::GifEncoder(int width, int height, std::span<const uint32_t> globalPalette,
                       int backgroundIndex) {
    int error = 0;
    gif = EGifOpen(&output, appendBytes, &error);
    if (!gif) {
        firstError = GifErrorString(error);
        return;
    }
    EGifSetGifVersion(gif, true);
    ColourMap global;
    if (!globalPalette.empty() && !(global = makeColourMap(globalPalette))) {
        firstError = "out of memory";
        return;
    }
    if (check(EGifPutScreenDesc(gif, width, height, 8, global ? backgroundIndex : 0, global.get())))
        writeLoopForever();
}

GifEncoder::~GifEncoder() {
    if (gif)
        EGifCloseFile(gif, nullptr);
}

bool GifEncoder::check(int giflibResult) {
    if (giflibResult == GIF_OK && !output.failed)
        return true;
    if (firstError.empty())
        firstError = output.failed ? "out of memory" : GifErrorString(gif->Error);
    return false;
}

bool GifEncoder::writeLoopForever() {
    static const char application[] = "NETSCAPE2.0";
    const GifByteType loop[3] = {1, 0, 0}; // sub-block 1: the loop count, 0 for ever
    return check(EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE)) &&
           check(EGifPutExtensionBlock(gif, 11, application)) &&
           check(EGifPutExtensionBlock(gif, 3, loop)) && check(EGifPutExtensionTrailer(gif));
}

bool GifEncoder::addFrame(const GifFrameRecord& frame) {
    if (!gif || !firstError.empty())
        return false;
    GraphicsControlBlock control{};
    control.DisposalMode =
        frame.disposal == GifDisposal::Clear ? DISPOSE_BACKGROUND : DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime = frame.delay;
    control.TransparentColor = frame.transparentIndex;
    GifByteType extension[4];
    const size_t length = EGifGCBToExtension(&control, extension);
    if (!check(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), extension)))
        return false;

    ColourMap local;
    if (!frame.localPalette.empty() && !(local = makeColourMap(frame.localPalette))) {
        firstError = "out of memory";
        return false;
    }
    const Rect r = frame.rect;
    if (!check(EGifPutImageDesc(gif, r.x, r.y, r.w, r.h, false, local.get())))
        return false;
    row.resize(size_t(r.w));
    for (int y = 0; y < r.h; ++y) {
        std::memcpy(row.data(), frame.indices.data() + size_t(y) * size_t(r.w), row.size());
        if (!check(EGifPutLine(gif, row.data(), r.w)))
            return false;
    }
    return true;
}

std::optional<std::vector<uint8_t>> GifEncoder::finish() {
    if (!gif)
        return std::nullopt;
    int error = 0;
    const int closed = EGifCloseFile(gif, &error);
    gif = nullptr;
    if (closed != GIF_OK && firstError.empty())
        firstError = GifErrorString(error);
    if (output.failed && firstError.empty())
        firstError = "out of memory";
    if (!firstError.empty())
        return std::nullopt;
    return std::move(output.bytes);
}

} // namespace vork
