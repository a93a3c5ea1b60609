// SPDX-License-Identifier: GPL-3.0-or-later
// The flood fill has two ways to find a region, both giving the 4-connected region of pixels of
// the seed's colour, pixel for pixel the same.
//
// Most fills are small or made of long runs: those grow from the seed a row run at a time,
// filling a whole run of matching pixels, then looking for matching runs on the rows above and
// below. That touches only the region and keeps the to-do list to one entry per run.
//
// A region of many short runs (a maze of one-pixel corridors, dithering) would make that walk
// jump between rows all over the picture, a cache miss per run. When the run count says so, the
// fill undoes its few runs and works row by row instead: it labels the connected runs of every
// row against the row above (a union of sets), then fills, again top to bottom, the runs labelled
// like the seed's. Both passes read the picture in memory order.
#include "pixels/Pixels.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

namespace vork {

namespace {

// The inclusive bounds of every pixel filled.
class FilledBounds {
  public:
    void take(int first, int last, int y) {
        left_ = std::min(left_, first);
        right_ = std::max(right_, last);
        top_ = std::min(top_, y);
        bottom_ = std::max(bottom_, y);
    }
    Rect rect() const {
        return right_ < left_ ? Rect{} : Rect{left_, top_, right_ - left_ + 1, bottom_ - top_ + 1};
    }

  private:
    int left_ = INT_MAX, top_ = INT_MAX, right_ = INT_MIN, bottom_ = INT_MIN;
};

// The fill that grows from the seed a run at a time. It gives up after `runBudget` runs, puts
// back what it filled and says so: the caller then labels the picture row by row.
class SpanFill {
  public:
    SpanFill(Bitmap& b, uint32_t target, uint32_t fill, size_t runBudget)
        : bitmap_(b), width_(b.width()), height_(b.height()), target_(target), fill_(fill),
          budget_(runBudget) {}

    const FilledBounds& bounds() const { return bounds_; }

    // Fills the region of target-coloured pixels around (x, y), which lies inside the bitmap
    // (nothing when (x, y) does not have the target colour). False when the run budget ran out:
    // every pixel this fill changed is then back to the target colour.
    bool fillFrom(int x, int y) {
        if (bitmap_.row(y)[x] != target_)
            return true;
        int left = x;
        while (left > 0 && bitmap_.row(y)[left - 1] == target_)
            --left;
        const int right = fillRun(bitmap_.row(y), left, y);
        push(y + 1, left, right, +1);
        push(y - 1, left, right, -1);
        while (!pending_.empty() && filled_.size() <= budget_) {
            const Pending span = pending_.back();
            pending_.pop_back();
            examine(span);
        }
        if (filled_.size() <= budget_)
            return true;
        for (const Filled& f : filled_)
            std::fill(bitmap_.row(f.y) + f.first, bitmap_.row(f.y) + f.last + 1, target_);
        return false;
    }

  private:
    // Columns left..right of row y - dy were filled; row y is to be searched below (or above)
    // them. Every run found there continues in direction dy, and the part of it that reaches
    // beyond left..right may also leak back into row y - dy.
    struct Pending {
        int y, left, right, dy;
    };
    struct Filled {
        int y, first, last;
    };

    void push(int y, int left, int right, int dy) {
        if (y >= 0 && y < height_)
            pending_.push_back({y, left, right, dy});
    }

    void took(int first, int last, int y) {
        bounds_.take(first, last, y);
        filled_.push_back({y, first, last});
    }

    // Fills the run of target pixels of row y starting at column `start` (which matches);
    // returns the column of its last pixel.
    int fillRun(uint32_t* row, int start, int y) {
        int end = start + 1;
        while (end < width_ && row[end] == target_)
            ++end;
        std::fill(row + start, row + end, fill_);
        took(start, end - 1, y);
        return end - 1;
    }

    void examine(const Pending& span) {
        uint32_t* row = bitmap_.row(span.y);
        int x = span.left;
        while (x <= span.right) {
            while (x <= span.right && row[x] != target_)
                ++x;
            if (x > span.right)
                break;
            int start = x;
            if (start == span.left)
                while (start > 0 && row[start - 1] == target_)
                    --start;
            const int end = fillRun(row, x, span.y);
            if (start < x) {
                std::fill(row + start, row + x, fill_);
                took(start, x - 1, span.y);
            }
            push(span.y + span.dy, start, end, span.dy);
            if (start < span.left)
                push(span.y - span.dy, start, span.left - 1, -span.dy);
            if (end > span.right)
                push(span.y - span.dy, span.right + 1, end, -span.dy);
            // Column end + 1 is either outside or does not match.
            x = end + 2;
        }
    }

    Bitmap& bitmap_;
    const int width_, height_;
    const uint32_t target_, fill_;
    const size_t budget_;
    std::vector<Pending> pending_;
    std::vector<Filled> filled_;
    FilledBounds bounds_;
};

// Bit masks of pixels, one bit a pixel, 64 to a word, a row taking whole words.
using Word = uint64_t;
constexpr int wordBits = 64;

// Every bit of `within` connected to a bit of `seeds` (a subset of it) through set bits of
// `within`, inside one word: the seeds spread up and then down in doubling steps.
Word spreadUp(Word seeds, Word within) {
    for (int step = 1; step < wordBits; step *= 2) {
        seeds |= within & (seeds << step);
        within &= within << step;
    }
    return seeds;
}
Word spreadDown(Word seeds, Word within) {
    for (int step = 1; step < wordBits; step *= 2) {
        seeds |= within & (seeds >> step);
        within &= within >> step;
    }
    return seeds;
}

// The runs of set bits in `within` that hold a bit of `seeds`, over a row of `words` words;
// `seeds` becomes the result.
void spreadAlongRow(Word* seeds, const Word* within, int words) {
    for (int k = 0; k < words; ++k) {
        if (k > 0 && (seeds[k - 1] >> (wordBits - 1)) != 0)
            seeds[k] |= within[k] & 1u;
        seeds[k] = spreadDown(spreadUp(seeds[k], within[k]), within[k]);
    }
    for (int k = words - 2; k >= 0; --k)
        if ((seeds[k + 1] & 1u) != 0 && (within[k] >> (wordBits - 1)) != 0 &&
            (seeds[k] >> (wordBits - 1)) == 0)
            seeds[k] = spreadDown(seeds[k] | (Word(1) << (wordBits - 1)), within[k]);
}

// A run of target pixels in one row, inclusive.
struct Run {
    int first, last;
};

// Calls take(first, last) for every run of set bits of a row mask, left to right.
template <class Take> void forEachRun(const Word* mask, int words, Take take) {
    int open = -1; // the first column of a run still going on at the end of the last word
    for (int k = 0; k < words; ++k) {
        Word bits = mask[k];
        const int base = k * wordBits;
        if (open >= 0) {
            const Word gaps = ~bits;
            if (gaps == 0)
                continue;
            const int end = __builtin_ctzll(gaps);
            take(open, base + end - 1);
            open = -1;
            bits &= ~Word(0) << end; // end < 64: a gap was found
        }
        while (bits != 0) {
            const int start = __builtin_ctzll(bits);
            const Word gaps = ~bits & (~Word(0) << start);
            if (gaps == 0) {
                open = base + start;
                break;
            }
            const int end = __builtin_ctzll(gaps);
            take(base + start, base + end - 1);
            bits &= end == wordBits ? 0 : ~Word(0) << end;
        }
    }
    if (open >= 0)
        take(open, words * wordBits - 1); // not reached: bits past the width are never set
}

// The row-by-row fill. A run that touches runs of the row above takes the label of the first of
// them and joins the labels of the others to it; a run that touches none starts a new label.
// The region is then the runs whose label is joined to a seed's. It is rebuilt row by row from
// the masks: a row's part of it is every run touching the region's runs in the row above, and
// every run starting a label joined to a seed's.
class RowLabelFill {
  public:
    RowLabelFill(Bitmap& b, uint32_t target, uint32_t fill)
        : bitmap_(b), width_(b.width()), height_(b.height()),
          words_((width_ + wordBits - 1) / wordBits), target_(target), fill_(fill),
          masks_(size_t(words_) * size_t(height_)) {}

    // Fills the regions of the given seeds, which lie inside the bitmap.
    FilledBounds fill(const std::vector<Point>& seeds) {
        std::vector<uint32_t> seedLabels;
        std::vector<Run> above, here;
        std::vector<uint32_t> aboveLabels, hereLabels;
        for (int y = 0; y < height_; ++y) {
            Word* mask = rowMask(y);
            readRow(y, mask);
            // A row the same as the one above has the same runs, each continuing its own.
            const bool sameAsAbove =
                y > 0 && std::memcmp(mask, mask - words_, size_t(words_) * sizeof(Word)) == 0;
            if (!sameAsAbove) {
                here.clear();
                forEachRun(mask, words_, [&](int first, int last) {
                    here.push_back({first, last});
                });
                label(y, above, aboveLabels, here, hereLabels);
                std::swap(above, here);
                std::swap(aboveLabels, hereLabels);
            }
            for (Point s : seeds)
                if (s.y == y)
                    for (size_t j = 0; j < above.size(); ++j)
                        if (above[j].first <= s.x && s.x <= above[j].last)
                            seedLabels.push_back(aboveLabels[j]);
        }
        // Labels only ever join a smaller one, so one pass from the first settles every root.
        for (size_t i = 0; i < parent_.size(); ++i)
            parent_[i] = parent_[parent_[i]];
        for (uint32_t& s : seedLabels)
            s = parent_[s];
        return paint(seedLabels);
    }

  private:
    struct Start {
        int y, x;
    };

    Word* rowMask(int y) { return masks_.data() + size_t(y) * size_t(words_); }

    void readRow(int y, Word* mask) const {
        const uint32_t* row = bitmap_.row(y);
        for (int k = 0; k < words_; ++k) {
            const int x0 = k * wordBits, n = std::min(wordBits, width_ - x0);
            Word bits = 0;
            if (n == wordBits)
                for (int i = 0; i < wordBits; ++i)
                    bits |= Word(row[x0 + i] == target_) << i;
            else
                for (int i = 0; i < n; ++i)
                    bits |= Word(row[x0 + i] == target_) << i;
            mask[k] = bits;
        }
    }

    uint32_t root(uint32_t i) {
        while (parent_[i] != i) {
            parent_[i] = parent_[parent_[i]];
            i = parent_[i];
        }
        return i;
    }

    void join(uint32_t a, uint32_t b) {
        a = root(a);
        b = root(b);
        if (a < b)
            parent_[b] = a;
        else if (b < a)
            parent_[a] = b;
    }

    void label(int y, const std::vector<Run>& above, const std::vector<uint32_t>& aboveLabels,
               const std::vector<Run>& here, std::vector<uint32_t>& hereLabels) {
        hereLabels.resize(here.size());
        size_t k = 0;
        for (size_t j = 0; j < here.size(); ++j) {
            const Run r = here[j];
            while (k < above.size() && above[k].last < r.first)
                ++k;
            size_t end = k;
            while (end < above.size() && above[end].first <= r.last)
                ++end;
            if (end == k) {
                // Nothing above: the run starts a label of its own.
                const auto fresh = uint32_t(parent_.size());
                parent_.push_back(fresh);
                starts_.push_back({y, r.first});
                hereLabels[j] = fresh;
                continue;
            }
            hereLabels[j] = aboveLabels[k];
            for (size_t q = k + 1; q < end; ++q)
                join(aboveLabels[k], aboveLabels[q]);
            k = end - 1; // the last run above may reach the next run here too
        }
    }

    FilledBounds paint(const std::vector<uint32_t>& seedRoots) {
        FilledBounds bounds;
        std::vector<Word> region(size_t(words_), 0), columns(size_t(words_), 0);
        size_t nextStart = 0;
        for (int y = 0; y < height_; ++y) {
            const Word* mask = rowMask(y);
            bool any = false;
            for (int k = 0; k < words_; ++k)
                region[size_t(k)] &= mask[k];
            for (; nextStart < starts_.size() && starts_[nextStart].y == y; ++nextStart) {
                const uint32_t r = parent_[nextStart];
                if (std::find(seedRoots.begin(), seedRoots.end(), r) != seedRoots.end()) {
                    const int x = starts_[nextStart].x;
                    region[size_t(x / wordBits)] |= Word(1) << (x % wordBits);
                }
            }
            spreadAlongRow(region.data(), mask, words_);
            uint32_t* row = bitmap_.row(y);
            for (int k = 0; k < words_; ++k) {
                const Word bits = region[size_t(k)];
                if (bits == 0)
                    continue;
                any = true;
                columns[size_t(k)] |= bits;
                uint32_t* at = row + k * wordBits;
                if (bits == ~Word(0)) {
                    std::fill(at, at + wordBits, fill_);
                    continue;
                }
                for (Word rest = bits; rest != 0; rest &= rest - 1)
                    at[__builtin_ctzll(rest)] = fill_;
            }
            if (any)
                bounds.take(firstBit(columns), lastBit(columns), y);
        }
        return bounds;
    }

    static int firstBit(const std::vector<Word>& bits) {
        for (size_t k = 0; k < bits.size(); ++k)
            if (bits[k] != 0)
                return int(k) * wordBits + __builtin_ctzll(bits[k]);
        return INT_MAX;
    }
    static int lastBit(const std::vector<Word>& bits) {
        for (size_t k = bits.size(); k-- > 0;)
            if (bits[k] != 0)
                return int(k) * wordBits + wordBits - 1 - __builtin_clzll(bits[k]);
        return INT_MIN;
    }

    Bitmap& bitmap_;
    const int width_, height_, words_;
    const uint32_t target_, fill_;
    std::vector<Word> masks_;
    std::vector<uint32_t> parent_; // each label's parent; a root is its own
    std::vector<Start> starts_;    // where each label's first run starts, in label order
};

// How many runs the fill from the seed may take before the row-by-row fill is the cheaper way:
// that one reads the whole picture, so it pays off only for regions of many runs.
size_t runBudget(const Bitmap& b) {
    return std::max<size_t>(1024, size_t(b.width()) * size_t(b.height()) / 256);
}

} // namespace

Rect floodFillRegion(Bitmap& b, int x, int y, Color c) {
    if (b.isNull())
        return {};
    // An RGB bitmap stores every colour opaque; comparing with the opaque fill keeps the
    // "already that colour" test true to what is stored.
    const uint32_t fill = b.format() == PixelFormat::Rgb ? c.withAlpha(255).argb : c.argb;
    const bool inside = b.contains(x, y);
    const Bitmap& reading = b;
    const uint32_t target = inside ? reading.row(y)[x] : colors::transparent.argb;
    if (target == fill)
        return {};
    std::vector<Point> seeds;
    if (inside) {
        seeds.push_back({x, y});
    } else {
        if (x < -1 || y < -1 || x > b.width() || y > b.height())
            return {}; // no neighbour of the seed is inside
        // A seed just past the edge spreads from those of its neighbours inside the picture.
        for (Point n : {Point{x + 1, y}, Point{x - 1, y}, Point{x, y + 1}, Point{x, y - 1}})
            if (b.contains(n.x, n.y))
                seeds.push_back(n);
    }
    SpanFill span(b, target, fill, runBudget(b));
    bool done = true;
    for (Point s : seeds)
        done = done && span.fillFrom(s.x, s.y);
    if (done)
        return span.bounds().rect();
    return RowLabelFill(b, target, fill).fill(seeds).rect();
}

bool floodFill(Bitmap& b, int x, int y, Color c) {
    return !floodFillRegion(b, x, y, c).empty();
}

} // namespace vork
