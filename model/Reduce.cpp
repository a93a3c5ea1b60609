// SPDX-License-Identifier: GPL-3.0-or-later
// The box average is separable: for each drawn row the rows of the reduction it covers are
// summed with their weights (out of 256, so a channel stays within 16 bits, four pixels at a
// time), then each drawn pixel sums the columns it covers of that row. Every drawn pixel reads
// the same number of columns and rows, those beyond its own with weight 0, so the loops run
// without a branch per pixel.
#include "model/Reduce.h"
#include "model/PremultiplyLanes.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vork {

namespace {

// Weights are fixed point: down out of 128, so that the rows summed down stay within 15 bits
// (the multiplications across are signed), across out of 256.
constexpr uint32_t downOne = 128, acrossOne = 256;

// The weights of one axis: for each drawn pixel, the first pixel of the reduction it takes,
// how many, and their weights, `stride` apart (they add up to 256; none for a pixel that
// shows nothing).
struct AxisTaps {
    std::vector<int> first, count;
    std::vector<uint32_t> weights;
    uint32_t one = acrossOne; // what the weights of a pixel add up to
    int stride = 1;
    int lowest = 0, highest = -1; // the reduction pixels any drawn pixel takes

    // Every drawn pixel is the next pixel of the reduction: a copy.
    bool oneToOne() const {
        if (stride != 1 || first.empty())
            return false;
        for (size_t i = 0; i < first.size(); ++i)
            if (count[i] != 1 || first[i] != first[0] + int(i))
                return false;
        return true;
    }
};

struct Axis {
    int drawnFirst, drawnCount; // the covered pixels of the grid
    double targetStart, scale;  // scale: image pixels per grid pixel
    double sourceStart;
    double clipLow, clipHigh; // the part of the image that may be shown
    int level, imageSize;

    // The image span drawn pixel i shows, cut to what may be shown.
    std::pair<double, double> span(int i) const {
        const double grid = double(drawnFirst + i);
        return {std::max(clipLow, sourceStart + (grid - targetStart) * scale),
                std::min(clipHigh, sourceStart + (grid + 1 - targetStart) * scale)};
    }
};

// The weights of drawn pixel i: how much of each reduction pixel its span covers, rounded to
// 256ths, what rounding leaves over given to the largest share.
void setTaps(AxisTaps& t, const Axis& a, int i) {
    // Plain variables, not a structured binding: the lambda below captures them.
    const std::pair<double, double> span = a.span(i);
    const double from = span.first, to = span.second;
    const int block = 1 << a.level;
    const int first = int(std::floor(from / block));
    const int n = std::max(first, int(std::ceil(to / block)) - 1) - first + 1;
    auto overlap = [&](int k) {
        const double low = double(first + k) * block;
        const double high = std::min(low + block, double(a.imageSize));
        return std::max(0.0, std::min(to, high) - std::max(from, low));
    };
    double total = 0;
    for (int k = 0; k < n; ++k)
        total += overlap(k);
    // Every pixel reads `stride` pixels of the reduction, the ones beyond its own with weight
    // 0, so the loops run the same length everywhere; at the far edge its pixels move to the
    // end of the stretch read.
    const int extent = Reductions::levelExtent(a.imageSize, a.level);
    const int shift = std::max(0, first + t.stride - extent);
    uint32_t* w = t.weights.data() + size_t(i) * size_t(t.stride) + size_t(shift);
    uint32_t given = 0;
    int largest = 0;
    double largestShare = -1;
    for (int k = 0; k < n; ++k) {
        const double share = overlap(k) / total;
        w[k] = uint32_t(std::lround(share * t.one));
        given += w[k];
        if (share > largestShare) {
            largestShare = share;
            largest = k;
        }
    }
    w[largest] += t.one - given;
    t.first[size_t(i)] = first - shift;
    t.count[size_t(i)] = n;
    t.lowest = t.highest < t.lowest ? first - shift : std::min(t.lowest, first - shift);
    t.highest = std::max(t.highest, first - shift + t.stride - 1);
}

AxisTaps axisTaps(const Axis& a, uint32_t one) {
    AxisTaps t;
    t.one = one;
    const size_t n = size_t(std::max(a.drawnCount, 0));
    t.first.assign(n, 0);
    t.count.assign(n, 0);
    const int block = 1 << a.level;
    for (int i = 0; i < a.drawnCount; ++i) {
        const auto [from, to] = a.span(i);
        if (to > from)
            t.stride =
                std::max(t.stride, int(std::ceil(to / block)) - int(std::floor(from / block)));
    }
    // A drawn pixel can only take pixels the reduction has.
    t.stride = std::min(t.stride, Reductions::levelExtent(a.imageSize, a.level));
    t.weights.assign(n * size_t(t.stride), 0);
    for (int i = 0; i < a.drawnCount; ++i) {
        const auto [from, to] = a.span(i);
        if (to > from)
            setTaps(t, a, i);
    }
    // A pixel that shows nothing reads, with weights 0, pixels that are read anyway.
    if (t.highest < t.lowest) {
        t.lowest = 0;
        t.highest = t.stride - 1;
    }
    for (size_t i = 0; i < n; ++i)
        if (t.count[i] == 0)
            t.first[i] = t.lowest;
    return t;
}

inline uint32_t premultipliedPixel(uint32_t p) {
    const uint32_t a = p >> 24;
    if (a == 255)
        return p;
    if (a == 0)
        return 0;
    auto channel = [a](uint32_t c) { return premultipliedChannel(c, a); };
    return (a << 24) | (channel((p >> 16) & 255) << 16) | (channel((p >> 8) & 255) << 8) |
           channel(p & 255);
}

// The box average, down first: for each drawn row, the reduction rows it takes are summed
// with their weights into one row of 16-bit channels (out of 256 times the value), across the
// columns any drawn pixel takes; then each drawn pixel sums its columns of that row.
class BoxReducer {
  public:
    BoxReducer(const Bitmap& source, bool plain, const AxisTaps& across, const AxisTaps& down)
        : source_(source), plain_(plain), across_(across), down_(down),
          width_(int(across.first.size())), lowest_(across.lowest),
          span_(across.highest - across.lowest + 1), summed_(size_t(span_ + 4) * 4) {}

    // Drawn rows rowBegin.. up to but not including rowEnd (all of them by default), drawn row
    // j into row j - outFirst of `out`.
    void run(Bitmap& out, int rowBegin = 0, int rowEnd = -1, int outFirst = 0) {
        const int height = rowEnd < 0 ? int(down_.first.size()) : rowEnd;
        for (int j = rowBegin; j < height; ++j) {
            sumDown(down_.first[size_t(j)],
                    down_.weights.data() + size_t(j) * size_t(down_.stride));
            uint32_t* row = out.row(j - outFirst);
#if defined(__SSE2__)
            if (across_.stride <= 4) {
                sumAcrossFour(row);
                continue;
            }
#endif
            sumAcross(row);
        }
    }

  private:
    // Rows first.. of the reduction, weighted by w, over the columns taken: summed_.
    void sumDown(int first, const uint32_t* w) {
        std::fill(summed_.begin(), summed_.end(), uint16_t(0));
        for (int t = 0; t < down_.stride; ++t) {
            if (w[t] == 0)
                continue;
            const uint32_t* px = source_.row(first + t) + lowest_;
            if (plain_)
                addRow<true>(px, w[t]);
            else
                addRow<false>(px, w[t]);
        }
    }

    // Adds the row's pixels, premultiplied first when Plain, times the weight to summed_.
    template <bool Plain> void addRow(const uint32_t* px, uint32_t weight) {
        uint16_t* out = summed_.data();
        int x = 0;
#if defined(__SSE2__)
        const __m128i zero = _mm_setzero_si128(), w = _mm_set1_epi16(short(weight));
        for (; x + 4 <= span_; x += 4) {
            // The rows are read from memory once each: asking ahead keeps the loads flowing.
            _mm_prefetch(reinterpret_cast<const char*>(px + x + 64), _MM_HINT_T0);
            const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(px + x));
            __m128i low = _mm_unpacklo_epi8(p, zero), high = _mm_unpackhi_epi8(p, zero);
            if constexpr (Plain) {
                low = premultiplyTwo(low);
                high = premultiplyTwo(high);
            }
            __m128i* o = reinterpret_cast<__m128i*>(out + size_t(x) * 4);
            _mm_storeu_si128(o, _mm_add_epi16(_mm_loadu_si128(o), _mm_mullo_epi16(low, w)));
            _mm_storeu_si128(o + 1,
                             _mm_add_epi16(_mm_loadu_si128(o + 1), _mm_mullo_epi16(high, w)));
        }
#endif
        for (; x < span_; ++x) {
            const uint32_t p = Plain ? premultipliedPixel(px[x]) : px[x];
            for (int c = 0; c < 4; ++c)
                out[size_t(x) * 4 + size_t(c)] += uint16_t(((p >> (8 * c)) & 255) * weight);
        }
    }

    // Each drawn pixel: its columns of summed_ weighted, rounded to 8 bits. (A pixel that
    // shows nothing has all weights 0.)
    void sumAcross(uint32_t* row) const {
        const int n = across_.stride;
        const uint32_t one = downOne * acrossOne, half = one / 2;
        for (int i = 0; i < width_; ++i) {
            const uint16_t* s = summed_.data() + size_t(across_.first[size_t(i)] - lowest_) * 4;
            const uint32_t* w = across_.weights.data() + size_t(i) * size_t(n);
            uint32_t sums[4] = {};
            for (int t = 0; t < n; ++t)
                for (int c = 0; c < 4; ++c)
                    sums[c] += uint32_t(s[t * 4 + c]) * w[t];
            row[i] = (((sums[3] + half) / one) << 24) | (((sums[2] + half) / one) << 16) |
                     (((sums[1] + half) / one) << 8) | ((sums[0] + half) / one);
        }
    }

#if defined(__SSE2__)
    // The same for at most four columns a pixel, four pixels at a time: the columns' channels
    // are paired (B of the first and second column, G of both, ...) and multiplied and added
    // with the two weights at once.
    void sumAcrossFour(uint32_t* row) const {
        const int n = across_.stride;
        const __m128i rounding = _mm_set1_epi32(int(downOne * acrossOne / 2));
        auto pixel = [&](int i) {
            const uint16_t* s = summed_.data() + size_t(across_.first[size_t(i)] - lowest_) * 4;
            const uint32_t* w = across_.weights.data() + size_t(i) * size_t(n);
            auto pairOf = [&](int t) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + t * 4));
                const uint32_t w1 = t + 1 < n ? w[t + 1] : 0;
                return _mm_madd_epi16(_mm_unpacklo_epi16(v, _mm_srli_si128(v, 8)),
                                      _mm_set1_epi32(int(w[t] | (w1 << 16))));
            };
            __m128i sum = pairOf(0);
            if (n > 2)
                sum = _mm_add_epi32(sum, pairOf(2));
            return _mm_srli_epi32(_mm_add_epi32(sum, rounding), 15);
        };
        int i = 0;
        for (; i + 4 <= width_; i += 4) {
            const __m128i low = _mm_packs_epi32(pixel(i), pixel(i + 1));
            const __m128i high = _mm_packs_epi32(pixel(i + 2), pixel(i + 3));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(row + i), _mm_packus_epi16(low, high));
        }
        for (; i < width_; ++i) {
            const __m128i v = _mm_packs_epi32(pixel(i), _mm_setzero_si128());
            row[i] = uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(v, v)));
        }
    }
#endif

    const Bitmap& source_;
    bool plain_;
    const AxisTaps& across_;
    const AxisTaps& down_;
    int width_, lowest_, span_;
    std::vector<uint16_t> summed_; // B, G, R, A of each column taken
};

} // namespace

Rect coveredPixels(RectF r) {
    const double x0 = std::floor(double(r.x) + 0.5), x1 = std::floor(double(r.x) + r.w + 0.5);
    const double y0 = std::floor(double(r.y) + 0.5), y1 = std::floor(double(r.y) + r.h + 0.5);
    constexpr double limit = 1 << 30;
    if (!(x1 > x0) || !(y1 > y0) || !(std::fabs(x0) < limit) || !(std::fabs(x1) < limit) ||
        !(std::fabs(y0) < limit) || !(std::fabs(y1) < limit))
        return {};
    return {int(x0), int(y0), int(x1 - x0), int(y1 - y0)};
}

bool reducesInBoth(RectF target, RectF source) {
    return target.w > 0 && target.h > 0 && source.w >= target.w && source.h >= target.h;
}

namespace {

// How a reduced drawing is made: the covered pixels, the bitmap read (the image itself or one
// of its levels) and the weights of both axes.
struct ReductionPlan {
    Rect covered;
    const Bitmap* from = nullptr;
    bool plain = false; // reading the image itself, not yet premultiplied
    int level = 0;      // of the bitmap read
    AxisTaps across, down;
};

std::optional<ReductionPlan> planReduction(const ReducibleImage& image, RectF target,
                                           RectF source) {
    ReductionPlan plan;
    plan.covered = coveredPixels(target);
    if (plan.covered.empty() || image.image.isNull() || !reducesInBoth(target, source))
        return std::nullopt;
    const double scaleX = double(source.w) / target.w, scaleY = double(source.h) / target.h;
    int level = Reductions::levelFor(std::min(scaleX, scaleY));
    plan.from = &image.image;
    if (level > 0) {
        plan.from = &image.reductions.level(image.image, image.changes, level);
        if (plan.from->isNull()) { // no memory for the level: the image itself serves
            plan.from = &image.image;
            level = 0;
        }
    }
    plan.plain = level == 0;
    plan.level = level;
    const Rect c = plan.covered;
    const int W = image.image.width(), H = image.image.height();
    plan.across = axisTaps({c.x, c.w, target.x, scaleX, source.x, std::max(0.0, double(source.x)),
                            std::min(double(W), double(source.x) + source.w), level, W},
                           acrossOne);
    plan.down = axisTaps({c.y, c.h, target.y, scaleY, source.y, std::max(0.0, double(source.y)),
                          std::min(double(H), double(source.y) + source.h), level, H},
                         downOne);
    return plan;
}

// The drawn rows whose taps read reduction rows of the image rows `rows` covers (y and h):
// [begin, end).
std::pair<int, int> rowsReading(const AxisTaps& down, int level, Rect rows) {
    const int low = rows.y >> level, high = (rows.y + rows.h - 1) >> level;
    int begin = int(down.first.size()), end = 0;
    for (int j = 0; j < int(down.first.size()); ++j) {
        const int first = down.first[size_t(j)];
        if (first <= high && first + down.stride - 1 >= low) {
            begin = std::min(begin, j);
            end = j + 1;
        }
    }
    return {begin, end};
}

} // namespace

void reduceInto(const ReducibleImage& image, RectF target, RectF source, Bitmap& out) {
    const auto plan = planReduction(image, target, source);
    if (!plan) {
        out = Bitmap();
        return;
    }
    const Rect c = plan->covered;
    if (out.width() != c.w || out.height() != c.h || out.format() != PixelFormat::PremultipliedArgb)
        out = Bitmap(c.w, c.h, PixelFormat::PremultipliedArgb);
    if (!out.isNull())
        BoxReducer(*plan->from, plan->plain, plan->across, plan->down).run(out);
}

std::pair<int, int> rowsShowing(const ReducibleImage& image, RectF target, RectF source,
                                Rect changed) {
    const auto plan = planReduction(image, target, source);
    changed = intersect(changed, {0, 0, image.image.width(), image.image.height()});
    if (!plan || changed.empty())
        return {0, 0};
    const auto [begin, end] = rowsReading(plan->down, plan->level, changed);
    return begin < end ? std::pair{begin, end} : std::pair{0, 0};
}

void reduceRowsInto(const ReducibleImage& image, RectF target, RectF source, int begin, int end,
                    Bitmap& out) {
    const auto plan = planReduction(image, target, source);
    if (plan)
        end = std::min(end, plan->covered.h);
    if (!plan || begin < 0 || end <= begin) {
        out = Bitmap();
        return;
    }
    const int w = plan->covered.w, h = end - begin;
    if (out.width() != w || out.height() != h || out.format() != PixelFormat::PremultipliedArgb)
        out = Bitmap(w, h, PixelFormat::PremultipliedArgb);
    if (!out.isNull())
        BoxReducer(*plan->from, plan->plain, plan->across, plan->down).run(out, begin, end, begin);
}

namespace {

// On the grid of a level (a scale that is a power of two), the level's pixels are drawn as they
// are; false when the plan needs a box step.
bool drawnOnLevelGrid(Graphics& g, const ReductionPlan& plan, float opacity) {
    if (plan.plain || !plan.across.oneToOne() || !plan.down.oneToOne())
        return false;
    const Rect c = plan.covered;
    g.drawImage(*plan.from, c.x, c.y, {plan.across.first[0], plan.down.first[0], c.w, c.h},
                opacity);
    return true;
}

} // namespace

void prepareReduced(const ReducibleImage& image, RectF target, RectF source) {
    // The level the drawing's plan reads, without the plan's weights.
    if (coveredPixels(target).empty() || image.image.isNull() || !reducesInBoth(target, source))
        return;
    const int level =
        Reductions::levelFor(std::min(double(source.w) / target.w, double(source.h) / target.h));
    if (level > 0)
        image.reductions.level(image.image, image.changes, level);
}

void drawReduced(Graphics& g, const ReducibleImage& image, RectF target, RectF source,
                 float opacity, Bitmap& scratch) {
    if (opacity <= 0)
        return;
    const auto plan = planReduction(image, target, source);
    if (!plan)
        return;
    if (drawnOnLevelGrid(g, *plan, opacity))
        return;
    const Rect c = plan->covered;
    if (scratch.width() != c.w || scratch.height() != c.h ||
        scratch.format() != PixelFormat::PremultipliedArgb)
        scratch = Bitmap(c.w, c.h, PixelFormat::PremultipliedArgb);
    if (scratch.isNull())
        return;
    BoxReducer(*plan->from, plan->plain, plan->across, plan->down).run(scratch);
    g.drawImage(scratch, c.x, c.y, {0, 0, c.w, c.h}, opacity);
}

void drawKeptReduced(Graphics& g, const ReducibleImage& image, RectF target, RectF source,
                     float opacity) {
    if (opacity <= 0)
        return;
    Reductions::KeptView& v = image.reductions.keptView();
    const uint64_t revision = image.changes.revision(image.image);
    // Kept for this placement and up to date: drawn as it is, without planning a reduction.
    if (const Rect kept = coveredPixels(target);
        !v.pixels.isNull() && revision == v.revision && v.target == target && v.source == source &&
        v.pixels.width() == kept.w && v.pixels.height() == kept.h &&
        v.imageWidth == image.image.width() && v.imageHeight == image.image.height()) {
        g.drawImage(v.pixels, kept.x, kept.y, {0, 0, kept.w, kept.h}, opacity);
        return;
    }
    const auto plan = planReduction(image, target, source);
    if (!plan)
        return;
    if (drawnOnLevelGrid(g, *plan, opacity))
        return;
    const Rect c = plan->covered;
    const bool same = !v.pixels.isNull() && v.pixels.width() == c.w && v.pixels.height() == c.h &&
                      v.target == target && v.source == source &&
                      v.imageWidth == image.image.width() && v.imageHeight == image.image.height();
    BoxReducer reducer(*plan->from, plan->plain, plan->across, plan->down);
    if (!same) {
        v.pixels = Bitmap(c.w, c.h, PixelFormat::PremultipliedArgb);
        if (v.pixels.isNull())
            return;
        reducer.run(v.pixels);
    } else if (revision != v.revision) {
        const Rect changed = image.changes.changedSince(image.image, v.revision);
        if (!changed.empty()) {
            const auto [begin, end] = rowsReading(plan->down, plan->level, changed);
            reducer.run(v.pixels, begin, end);
        }
    }
    v.target = target;
    v.source = source;
    v.imageWidth = image.image.width();
    v.imageHeight = image.image.height();
    v.revision = revision;
    g.drawImage(v.pixels, c.x, c.y, {0, 0, c.w, c.h}, opacity);
}

} // namespace vork
