#include "model/UndoHistory.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

namespace vork {

namespace {
constexpr int tileSide = 64;

// One tile of a snapshot: the pixels of a tileSide x tileSide square (smaller at the edges).
struct Tile {
    std::vector<uint32_t> pixels;
};

struct TileGrid {
    int columns = 0, rows = 0;
    int width = 0, height = 0;
    Rect bounds(int tx, int ty) const {
        int x = tx * tileSide, y = ty * tileSide;
        return {x, y, std::min(tileSide, width - x), std::min(tileSide, height - y)};
    }
};

bool tileEquals(const Tile& t, const Bitmap& b, Rect r) {
    for (int j = 0; j < r.h; ++j)
        if (std::memcmp(t.pixels.data() + size_t(j) * size_t(r.w), b.row(r.y + j) + r.x,
                        size_t(r.w) * 4) != 0)
            return false;
    return true;
}

std::shared_ptr<const Tile> makeTile(const Bitmap& b, Rect r) {
    auto t = std::make_shared<Tile>();
    t->pixels.resize(size_t(r.w) * size_t(r.h));
    for (int j = 0; j < r.h; ++j)
        std::memcpy(t->pixels.data() + size_t(j) * size_t(r.w), b.row(r.y + j) + r.x,
                    size_t(r.w) * 4);
    return t;
}
} // namespace

struct UndoHistory::Snapshot {
    std::vector<std::shared_ptr<const Tile>> tiles; // row by row
};

namespace {
TileGrid gridOf(int w, int h) {
    TileGrid g;
    g.width = w;
    g.height = h;
    g.columns = (w + tileSide - 1) / tileSide;
    g.rows = (h + tileSide - 1) / tileSide;
    return g;
}
} // namespace

UndoHistory::UndoHistory(const Bitmap& layer) : width_(layer.width()), height_(layer.height()) {
    auto first = std::make_unique<Snapshot>();
    TileGrid g = gridOf(width_, height_);
    for (int ty = 0; ty < g.rows; ++ty)
        for (int tx = 0; tx < g.columns; ++tx)
            first->tiles.push_back(makeTile(layer, g.bounds(tx, ty)));
    states_.push_back(std::move(first));
}

UndoHistory::~UndoHistory() = default;

void UndoHistory::record(const Bitmap& layer) {
    if (layer.width() != width_ || layer.height() != height_)
        return; // a snapshot of another size could never be restored
    const Snapshot& base = *states_[size_t(current_)];
    auto next = std::make_unique<Snapshot>();
    TileGrid g = gridOf(width_, height_);
    next->tiles.reserve(base.tiles.size());
    for (int ty = 0; ty < g.rows; ++ty)
        for (int tx = 0; tx < g.columns; ++tx) {
            Rect r = g.bounds(tx, ty);
            const auto& old = base.tiles[size_t(ty * g.columns + tx)];
            next->tiles.push_back(tileEquals(*old, layer, r) ? old : makeTile(layer, r));
        }
    states_.erase(states_.begin() + current_ + 1, states_.end());
    states_.push_back(std::move(next));
    if (int(states_.size()) > maxStates)
        states_.erase(states_.begin());
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

void UndoHistory::restoreInto(Bitmap& layer) const {
    if (layer.width() != width_ || layer.height() != height_ || layer.isNull())
        return;
    const Snapshot& s = *states_[size_t(current_)];
    TileGrid g = gridOf(width_, height_);
    for (int ty = 0; ty < g.rows; ++ty)
        for (int tx = 0; tx < g.columns; ++tx) {
            Rect r = g.bounds(tx, ty);
            const Tile& t = *s.tiles[size_t(ty * g.columns + tx)];
            for (int j = 0; j < r.h; ++j)
                std::memcpy(layer.row(r.y + j) + r.x, t.pixels.data() + size_t(j) * size_t(r.w),
                            size_t(r.w) * 4);
        }
}

int UndoHistory::stateCount() const { return int(states_.size()); }
int UndoHistory::currentState() const { return current_; }

size_t UndoHistory::memoryBytes() const {
    std::unordered_set<const Tile*> seen;
    size_t bytes = 0;
    for (const auto& s : states_)
        for (const auto& t : s->tiles)
            if (seen.insert(t.get()).second)
                bytes += t->pixels.size() * 4;
    return bytes;
}

} // namespace vork
