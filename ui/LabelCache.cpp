// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/LabelCache.h"

#include <cstdio>

namespace vork {

void LabelCache::draw(Graphics& g, Rect r, const std::string& text, Color background, Color ink,
                      Align align) {
    if (r.w <= 0 || r.h <= 0)
        return;
    char key[64];
    std::snprintf(key, sizeof key, "%d %d %08x %08x %d ", r.w, r.h, unsigned(background.argb),
                  unsigned(ink.argb), int(align));
    const std::string name = key + text;
    auto found = images_.find(name);
    if (found == images_.end()) {
        if (images_.size() >= maxImages)
            images_.clear();
        Bitmap image(r.w, r.h, PixelFormat::Rgb);
        {
            Graphics ig(image);
            ig.clear(background);
            ig.drawText(text, FontKind::Small, Brush::solid(ink),
                        RectF{0, 0, float(r.w), float(r.h)}, align);
        }
        found = images_.emplace(name, std::move(image)).first;
    }
    g.drawImage(found->second, r.x, r.y);
}

} // namespace vork
