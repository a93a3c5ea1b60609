// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/SpriteSheetJson.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace vork {

namespace {

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(c));
            out += escaped;
        } else {
            out += c; // UTF-8 passes as it is
        }
    }
    return out + "\"";
}

// The shortest text that reads back as the same number: 100, 33.5.
std::string number(double value) {
    if (!std::isfinite(value) || value < 0)
        value = 0;
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return std::string(digits, end);
}

std::string size(int w, int h) {
    return "{\"w\": " + std::to_string(w) + ", \"h\": " + std::to_string(h) + "}";
}

std::string rect(int x, int y, int w, int h) {
    return "{\"x\": " + std::to_string(x) + ", \"y\": " + std::to_string(y) +
           ", \"w\": " + std::to_string(w) + ", \"h\": " + std::to_string(h) + "}";
}

std::string frameLine(const SheetFrame& f) {
    const Rect r = f.rect;
    return "    {\"filename\": " + quoted(f.name) + ", \"frame\": " + rect(r.x, r.y, r.w, r.h) +
           ", \"rotated\": false, \"trimmed\": false, \"spriteSourceSize\": " +
           rect(0, 0, r.w, r.h) + ", \"sourceSize\": " + size(r.w, r.h) +
           ", \"duration\": " + number(f.delayMs) + "}";
}

} // namespace

std::string spriteSheetJson(const std::vector<SheetFrame>& frames, const std::string& imageName,
                            int sheetWidth, int sheetHeight, int scale) {
    std::string out = "{\n  \"frames\": [\n";
    for (size_t i = 0; i < frames.size(); ++i)
        out += frameLine(frames[i]) + (i + 1 < frames.size() ? ",\n" : "\n");
    out += "  ],\n  \"meta\": {\n";
    out += "    \"app\": \"vork\",\n";
    out += "    \"image\": " + quoted(imageName) + ",\n";
    out += "    \"format\": \"RGBA8888\",\n";
    out += "    \"size\": " + size(sheetWidth, sheetHeight) + ",\n";
    out += "    \"scale\": \"" + std::to_string(scale) + "\"\n  }\n}\n";
    return out;
}

} // namespace vork
