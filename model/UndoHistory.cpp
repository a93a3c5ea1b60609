// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/UndoHistory.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vork {

namespace {
constexpr int tileSide = 64;

struct TileGrid {
    int columns = 0, rows = 0;
    int width = 0, height = 0;
    TileGrid(int w, int h)
        : columns((w + tileSide - 1) / tileSide), rows((h + tileSide - 1) / tileSide), width(w),
          height(h) {}
    Rect bounds(int tx, int ty) const {
        int x = tx * tileSide, y = ty * tileSide;
        return {x, y, std::min(tileSide, width - x), std::min(tileSide, height - y)};
    }
    // The tiles that meet r: columns and rows, first to last inclusive (none when empty).
    Rect tilesMeeting(Rect r) const {
        r = intersect(r, {0, 0, width, height});
        if (r.empty())
            return {};
        const int tx0 = r.x / tileSide, ty0 = r.y / tileSide;
        return {tx0, ty0, (r.x + r.w - 1) / tileSide - tx0 + 1,
                (r.y + r.h - 1) / tileSide - ty0 + 1};
    }
};

} // namespace

// One tile of a snapshot: the pixels of a tileSide x tileSide square (smaller at the edges).
struct UndoHistory::Tile {
    std::vector<uint32_t> pixels;
};

namespace {

// Copies n pixels into a tile, past the processor's cache where the target is aligned for it:
// a snapshot is read again only when it is restored.
void copyIntoTile(uint32_t* to, const uint32_t* from, int n) {
    int x = 0;
#if defined(__SSE2__)
    if ((reinterpret_cast<uintptr_t>(to) & 15) == 0) {
        for (; x + 4 <= n; x += 4)
            _mm_stream_si128(reinterpret_cast<__m128i*>(to + x),
                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + x)));
    }
#endif
    std::memcpy(to + x, from + x, size_t(n - x) * 4);
}

bool tileEquals(const std::vector<uint32_t>& pixels, const Bitmap& b, Rect r) {
    for (int j = 0; j < r.h; ++j)
        if (std::memcmp(pixels.data() + size_t(j) * size_t(r.w), b.row(r.y + j) + r.x,
                        size_t(r.w) * 4) != 0)
            return false;
    return true;
}

} // namespace

std::shared_ptr<UndoHistory::Tile> UndoHistory::newTile(size_t pixels) {
    std::shared_ptr<Tile> t;
    if (spare_.empty()) {
        t = std::make_shared<Tile>();
    } else {
        t = std::move(spare_.back());
        spare_.pop_back();
    }
    t->pixels.resize(pixels);
    return t;
}

std::shared_ptr<UndoHistory::Tile> UndoHistory::makeTile(const Bitmap& b, Rect r) {
    auto t = newTile(size_t(r.w) * size_t(r.h));
    for (int j = 0; j < r.h; ++j)
        copyIntoTile(t->pixels.data() + size_t(j) * size_t(r.w), b.row(r.y + j) + r.x, r.w);
    return t;
}

// Keeps the tiles only `tiles` held for reuse, up to one layer's worth.
void UndoHistory::recycle(Tiles& tiles) {
    const TileGrid g(width_, height_);
    const size_t keep = size_t(g.columns) * size_t(g.rows);
    for (auto& t : tiles)
        if (t && t.use_count() == 1 && spare_.size() < keep)
            spare_.push_back(std::move(t));
    tiles.clear();
}

UndoHistory::Tiles UndoHistory::snapshotOf(const Bitmap& layer) {
    Tiles tiles;
    const TileGrid g(width_, height_);
    tiles.reserve(size_t(g.columns) * size_t(g.rows));
    // A band of tiles at a time, copied row by row, so that the layer is read in order.
    for (int ty = 0; ty < g.rows; ++ty) {
        const size_t first = tiles.size();
        for (int tx = 0; tx < g.columns; ++tx) {
            const Rect r = g.bounds(tx, ty);
            tiles.push_back(newTile(size_t(r.w) * size_t(r.h)));
        }
        const int top = ty * tileSide, rows = g.bounds(0, ty).h;
        for (int j = 0; j < rows; ++j) {
            const uint32_t* from = layer.row(top + j);
            for (int tx = 0; tx < g.columns; ++tx) {
                const int w = g.bounds(tx, ty).w;
                copyIntoTile(tiles[first + size_t(tx)]->pixels.data() + size_t(j) * size_t(w),
                             from + tx * tileSide, w);
            }
        }
    }
#if defined(__SSE2__)
    _mm_sfence(); // the streamed tiles are complete before anyone reads them
#endif
    return tiles;
}

UndoHistory::UndoHistory(const Bitmap& layer) {
    restart(layer);
}

UndoHistory::~UndoHistory() = default;

void UndoHistory::restart(const Bitmap& layer) {
    layerHolds_.clear();
    for (auto& s : states_)
        recycle(*s);
    states_.clear();
    width_ = layer.width();
    height_ = layer.height();
    states_.push_back(std::make_unique<Tiles>(snapshotOf(layer)));
    current_ = 0;
    layerHolds_ = *states_.front();
    spare_.clear(); // what the new size did not take is given back
}

void UndoHistory::record(const Bitmap& layer) {
    record(layer, {0, 0, width_, height_});
}

void UndoHistory::record(const Bitmap& layer, Rect changed) {
    if (layer.width() != width_ || layer.height() != height_)
        return; // a snapshot of another size could never be restored
    const TileGrid g(width_, height_);
    auto next = std::make_unique<Tiles>(layerHolds_);
    const Rect touched = g.tilesMeeting(changed);
    for (int ty = touched.y; ty < touched.y + touched.h; ++ty)
        for (int tx = touched.x; tx < touched.x + touched.w; ++tx) {
            auto& tile = (*next)[size_t(ty * g.columns + tx)];
            const Rect r = g.bounds(tx, ty);
            if (!tileEquals(tile->pixels, layer, r))
                tile = makeTile(layer, r);
        }
#if defined(__SSE2__)
    _mm_sfence();
#endif
    layerHolds_ = *next;
    for (size_t i = size_t(current_) + 1; i < states_.size(); ++i)
        recycle(*states_[i]);
    states_.erase(states_.begin() + current_ + 1, states_.end());
    states_.push_back(std::move(next));
    if (int(states_.size()) > maxStates) {
        recycle(*states_.front());
        states_.erase(states_.begin());
    }
    current_ = int(states_.size()) - 1;
}

bool UndoHistory::undo() {
    if (current_ == 0)
        return false;
    --current_;
    return true;
}

bool UndoHistory::redo() {
    if (current_ + 1 >= int(states_.size()))
        return false;
    ++current_;
    return true;
}

Rect UndoHistory::restoreInto(Bitmap& layer) {
    return restoreInto(layer, {0, 0, width_, height_});
}

Rect UndoHistory::restoreInto(Bitmap& layer, Rect changed) {
    if (layer.width() != width_ || layer.height() != height_ || layer.isNull())
        return {};
    const Tiles& target = *states_[size_t(current_)];
    const TileGrid g(width_, height_);
    const Rect touched = g.tilesMeeting(changed);
    Rect written;
    for (int ty = 0; ty < g.rows; ++ty)
        for (int tx = 0; tx < g.columns; ++tx) {
            const size_t i = size_t(ty * g.columns + tx);
            const bool meets = tx >= touched.x && tx < touched.x + touched.w && ty >= touched.y &&
                               ty < touched.y + touched.h;
            if (target[i] == layerHolds_[i] && !meets)
                continue;
            const Rect r = g.bounds(tx, ty);
            const Tile& t = *target[i];
            for (int j = 0; j < r.h; ++j)
                std::memcpy(layer.row(r.y + j) + r.x, t.pixels.data() + size_t(j) * size_t(r.w),
                            size_t(r.w) * 4);
            written = unite(written, r);
        }
    layerHolds_ = target;
    return written;
}

int UndoHistory::stateCount() const {
    return int(states_.size());
}
int UndoHistory::currentState() const {
    return current_;
}

size_t UndoHistory::memoryBytes() const {
    std::unordered_set<const Tile*> seen;
    size_t bytes = 0;
    for (const auto& s : states_)
        for (const auto& t : *s)
            if (seen.insert(t.get()).second)
                bytes += t->pixels.capacity() * 4;
    for (const auto& t : spare_)
        bytes += t->pixels.capacity() * 4;
    return bytes;
}

} // namespace vork
