// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ChangeTracker.h"

namespace vork {

namespace {
Rect wholeOf(const Bitmap& image) {
    return {0, 0, image.width(), image.height()};
}
} // namespace

void ChangeTracker::append(Rect r) const {
    ++revision_;
    if (entries_.size() == maxEntries) {
        // The two oldest become one: a consumer that looked between them updates a little more
        // than it needs to.
        entries_[1].rect = unite(entries_[0].rect, entries_[1].rect);
        entries_.erase(entries_.begin());
    }
    entries_.push_back({revision_, r});
}

void ChangeTracker::notice(const Bitmap& image) const {
    const uint64_t key = image.contentKey();
    if (keyKnown_ && key == accountedKey_)
        return;
    append(wholeOf(image));
    accountedKey_ = key;
    keyKnown_ = true;
}

void ChangeTracker::report(const Bitmap& image, Rect r) {
    const Rect inside = intersect(r, wholeOf(image));
    if (!inside.empty())
        append(inside);
    accountedKey_ = image.contentKey();
    keyKnown_ = true;
}

uint64_t ChangeTracker::revision(const Bitmap& image) const {
    notice(image);
    return revision_;
}

Rect ChangeTracker::changedSince(const Bitmap& image, uint64_t since) const {
    notice(image);
    Rect changed;
    for (auto it = entries_.rbegin(); it != entries_.rend() && it->revision > since; ++it)
        changed = unite(changed, it->rect);
    return intersect(changed, wholeOf(image));
}

ImageEdit::ImageEdit(const Bitmap& image, ChangeTracker& changes)
    : image_(image), changes_(changes) {
    changes_.notice(image_);
}

ImageEdit::~ImageEdit() {
    if (told_)
        changes_.report(image_, touched_);
}

void ImageEdit::touched(Rect r) {
    touched_ = unite(touched_, r);
    told_ = true;
}

} // namespace vork
