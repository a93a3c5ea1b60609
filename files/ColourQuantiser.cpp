// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ColourQuantiser.h"

#include <libimagequant.h>

#include <algorithm>
#include <memory>

namespace vork {

namespace {

struct LiqDeleter {
    void operator()(liq_attr* p) const { liq_attr_destroy(p); }
    void operator()(liq_image* p) const { liq_image_destroy(p); }
    void operator()(liq_result* p) const { liq_result_destroy(p); }
};
template <typename T> using LiqPtr = std::unique_ptr<T, LiqDeleter>;

std::vector<liq_color> toRgba(std::span<const uint32_t> pixels) {
    std::vector<liq_color> rgba(pixels.size());
    for (size_t i = 0; i < pixels.size(); ++i) {
        const uint32_t p = pixels[i];
        rgba[i] = {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p), uint8_t(p >> 24)};
    }
    return rgba;
}

uint32_t rgbOf(liq_color c) {
    return uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
}

int distance(uint32_t a, uint32_t b) {
    const int dr = int(uint8_t(a >> 16)) - int(uint8_t(b >> 16)),
              dg = int(uint8_t(a >> 8)) - int(uint8_t(b >> 8)),
              db = int(uint8_t(a)) - int(uint8_t(b));
    return dr * dr + dg * dg + db * db;
}

uint8_t nearestEntry(const std::vector<uint32_t>& palette, uint32_t colour) {
    size_t best = 0;
    for (size_t i = 1; i < palette.size(); ++i)
        if (distance(colour, palette[i]) < distance(colour, palette[best]))
            best = i;
    return uint8_t(best);
}

// The library's palette cut down to ours: its first maxColours opaque entries, in its order.
// `mapping` sends each of its indices to ours: a transparent entry to the index past the end,
// an opaque entry beyond the limit (should the library give more) to the nearest kept one.
QuantisedImage adoptPalette(const liq_palette& palette, int maxColours,
                            std::vector<uint8_t>& mapping) {
    QuantisedImage out;
    std::vector<unsigned> spare;
    mapping.assign(palette.count, 0);
    for (unsigned i = 0; i < palette.count; ++i) {
        const liq_color c = palette.entries[i];
        if (c.a < 128)
            continue;
        if (int(out.palette.size()) == maxColours) {
            spare.push_back(i);
            continue;
        }
        mapping[i] = uint8_t(out.palette.size());
        out.palette.push_back(rgbOf(c));
    }
    for (unsigned i : spare)
        mapping[i] = nearestEntry(out.palette, rgbOf(palette.entries[i]));
    for (unsigned i = 0; i < palette.count; ++i)
        if (palette.entries[i].a < 128)
            mapping[i] = uint8_t(out.palette.size());
    return out;
}

} // namespace

std::optional<QuantisedImage> quantiseColours(std::span<const uint32_t> pixels, int width,
                                              int height, int maxColours) {
    if (maxColours < 1 || maxColours > 255 || width <= 0 || height <= 0 ||
        pixels.size() != size_t(width) * size_t(height))
        return std::nullopt;
    const bool anyUncoloured = std::find(pixels.begin(), pixels.end(), 0u) != pixels.end();
    LiqPtr<liq_attr> attr(liq_attr_create());
    // The pixels without colour all fall on one fully transparent entry of their own.
    if (!attr || liq_set_max_colors(attr.get(), maxColours + anyUncoloured) != LIQ_OK)
        return std::nullopt;
    const std::vector<liq_color> rgba = toRgba(pixels);
    LiqPtr<liq_image> image(liq_image_create_rgba(attr.get(), rgba.data(), width, height, 0));
    liq_result* quantised = nullptr;
    if (!image || liq_image_quantize(image.get(), attr.get(), &quantised) != LIQ_OK)
        return std::nullopt;
    LiqPtr<liq_result> result(quantised);
    liq_set_dithering_level(result.get(), 0);
    std::vector<uint8_t> remapped(pixels.size());
    if (liq_write_remapped_image(result.get(), image.get(), remapped.data(), remapped.size()) !=
        LIQ_OK)
        return std::nullopt;

    std::vector<uint8_t> mapping;
    QuantisedImage out = adoptPalette(*liq_get_palette(result.get()), maxColours, mapping);
    const uint8_t none = uint8_t(out.palette.size());
    out.indices.resize(pixels.size());
    for (size_t i = 0; i < pixels.size(); ++i) {
        uint8_t index = pixels[i] == 0 ? none : mapping[remapped[i]];
        // A coloured pixel the library put on a transparent entry still gets a colour.
        if (index == none && pixels[i] != 0) {
            if (out.palette.empty())
                return std::nullopt;
            index = nearestEntry(out.palette, pixels[i]);
        }
        out.indices[i] = index;
    }
    return out;
}

} // namespace vork
