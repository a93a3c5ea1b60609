// The box average is separable: each row of the reduction that the drawn pixels need is first
// averaged across (weights out of 256, so a channel stays within 16 bits), then the drawn
// rows average those down. The rows across are kept in a small ring, since a drawn row needs
// only the few reduction rows its pixels cover.
#include "model/Reduce.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vork {

namespace {

constexpr uint32_t weightOne = 256;

// The weights of one axis: for each drawn pixel, the first pixel of the reduction it takes,
// how many, and their weights (which add up to 256; none for a pixel that shows nothing).
struct AxisTaps {
    std::vector<int> first, count, offset;
    std::vector<uint32_t> weights;
    int lowest = 0, highest = -1; // the reduction pixels any drawn pixel takes
};

struct Axis {
    int drawnFirst, drawnCount; // the covered pixels of the grid
    double targetStart, scale;  // scale: image pixels per grid pixel
    double sourceStart;
    double clipLow, clipHigh; // the part of the image that may be shown
    int level, imageSize;
};

void addTaps(AxisTaps& t, const Axis& a, int drawn) {
    const double grid = double(a.drawnFirst + drawn);
    const double from = std::max(a.clipLow, a.sourceStart + (grid - a.targetStart) * a.scale);
    const double to = std::min(a.clipHigh, a.sourceStart + (grid + 1 - a.targetStart) * a.scale);
    t.offset.push_back(int(t.weights.size()));
    if (!(to > from)) {
        t.first.push_back(0);
        t.count.push_back(0);
        return;
    }
    const int block = 1 << a.level;
    const int first = int(std::floor(from / block));
    const int n = std::max(first, int(std::ceil(to / block)) - 1) - first + 1;
    auto overlap = [&](int i) {
        const double low = double(first + i) * block;
        const double high = std::min(low + block, double(a.imageSize));
        return std::max(0.0, std::min(to, high) - std::max(from, low));
    };
    double total = 0;
    for (int i = 0; i < n; ++i)
        total += overlap(i);
    // Rounded to 256ths; what rounding leaves over goes to the largest share.
    uint32_t given = 0;
    int largest = 0;
    double largestShare = -1;
    for (int i = 0; i < n; ++i) {
        const double share = overlap(i) / total;
        const uint32_t w = uint32_t(std::lround(share * weightOne));
        t.weights.push_back(w);
        given += w;
        if (share > largestShare) {
            largestShare = share;
            largest = i;
        }
    }
    t.weights[size_t(t.offset.back() + largest)] += weightOne - given;
    t.first.push_back(first);
    t.count.push_back(n);
    t.lowest = t.highest < t.lowest ? first : std::min(t.lowest, first);
    t.highest = std::max(t.highest, first + n - 1);
}

AxisTaps axisTaps(const Axis& a) {
    AxisTaps t;
    for (int i = 0; i < a.drawnCount; ++i)
        addTaps(t, a, i);
    return t;
}

// A premultiplied pixel spread into four 16-bit lanes: B, R, G, A.
inline uint64_t spread(uint32_t p) {
    return (p & 0x00FF00FFu) | (uint64_t(p & 0xFF00FF00u) << 24);
}

inline uint32_t premultipliedPixel(uint32_t p) {
    const uint32_t a = p >> 24;
    if (a == 255)
        return p;
    if (a == 0)
        return 0;
    auto channel = [a](uint32_t c) {
        const uint32_t x = c * a + 128;
        return (x + (x >> 8)) >> 8;
    };
    return (a << 24) | (channel((p >> 16) & 255) << 16) | (channel((p >> 8) & 255) << 8) |
           channel(p & 255);
}

class BoxReducer {
  public:
    BoxReducer(const Bitmap& source, bool plain, const AxisTaps& across, const AxisTaps& down)
        : source_(source), plain_(plain), across_(across), down_(down),
          width_(int(across.first.size())) {
        int capacity = 1;
        for (int c : down.count)
            capacity = std::max(capacity, c);
        ring_.assign(size_t(capacity) * size_t(width_), 0);
        ringRows_.assign(size_t(capacity), -1);
        rows_.resize(size_t(capacity));
        if (plain_ && across.highest >= across.lowest)
            premultiplied_.resize(size_t(across.highest - across.lowest + 1));
    }

    void run(Bitmap& out) {
        for (int j = 0; j < int(down_.first.size()); ++j) {
            uint32_t* row = out.row(j);
            const int n = down_.count[size_t(j)];
            if (n == 0) {
                std::fill(row, row + width_, 0u);
                continue;
            }
            const uint32_t* w = down_.weights.data() + down_.offset[size_t(j)];
            for (int t = 0; t < n; ++t)
                rows_[size_t(t)] = across(down_.first[size_t(j)] + t);
            for (int i = 0; i < width_; ++i)
                row[i] = across_.count[size_t(i)] == 0 ? 0u : down(rows_.data(), w, n, i);
        }
    }

  private:
    static uint32_t down(const uint64_t* const* rows, const uint32_t* w, int n, int i) {
        constexpr uint64_t evenLanes = 0x0000FFFF0000FFFFull;
        uint64_t blueGreen = 0, redAlpha = 0;
        for (int t = 0; t < n; ++t) {
            const uint64_t h = rows[t][i];
            blueGreen += (h & evenLanes) * w[t];
            redAlpha += ((h >> 16) & evenLanes) * w[t];
        }
        auto byte = [](uint64_t lane) { return uint32_t(((lane & 0xFFFFFFFFu) + 32768) >> 16); };
        return (byte(redAlpha >> 32) << 24) | (byte(redAlpha) << 16) |
               (byte(blueGreen >> 32) << 8) | byte(blueGreen);
    }

    // The row of the reduction averaged across, from the ring.
    const uint64_t* across(int sourceRow) {
        const size_t slot = size_t(sourceRow) % ringRows_.size();
        uint64_t* h = ring_.data() + slot * size_t(width_);
        if (ringRows_[slot] == sourceRow)
            return h;
        ringRows_[slot] = sourceRow;
        const uint32_t* px = source_.row(sourceRow);
        int base = 0;
        if (plain_) {
            for (size_t c = 0; c < premultiplied_.size(); ++c)
                premultiplied_[c] = premultipliedPixel(px[across_.lowest + int(c)]);
            px = premultiplied_.data();
            base = across_.lowest;
        }
        for (int i = 0; i < width_; ++i) {
            const int n = across_.count[size_t(i)];
            const uint32_t* w = across_.weights.data() + across_.offset[size_t(i)];
            const uint32_t* p = px + (across_.first[size_t(i)] - base);
            uint64_t sum = 0;
            for (int t = 0; t < n; ++t)
                sum += spread(p[t]) * w[t];
            h[i] = sum;
        }
        return h;
    }

    const Bitmap& source_;
    bool plain_;
    const AxisTaps& across_;
    const AxisTaps& down_;
    int width_;
    std::vector<uint64_t> ring_;
    std::vector<int> ringRows_;
    std::vector<const uint64_t*> rows_; // the rows a drawn row averages down
    std::vector<uint32_t> premultiplied_;
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

void reduceInto(const ReducibleImage& image, RectF target, RectF source, Bitmap& out) {
    const Rect covered = coveredPixels(target);
    if (covered.empty() || image.image.isNull() || !reducesInBoth(target, source)) {
        out = Bitmap();
        return;
    }
    if (out.width() != covered.w || out.height() != covered.h ||
        out.format() != PixelFormat::PremultipliedArgb)
        out = Bitmap(covered.w, covered.h, PixelFormat::PremultipliedArgb);
    if (out.isNull())
        return;
    const double scaleX = double(source.w) / target.w, scaleY = double(source.h) / target.h;
    int level = Reductions::levelFor(std::min(scaleX, scaleY));
    const Bitmap* from = &image.image;
    if (level > 0) {
        from = &image.reductions.level(image.image, image.changes, level);
        if (from->isNull()) { // no memory for the level: the image itself serves
            from = &image.image;
            level = 0;
        }
    }
    const int W = image.image.width(), H = image.image.height();
    const Axis across{covered.x,
                      covered.w,
                      target.x,
                      scaleX,
                      source.x,
                      std::max(0.0, double(source.x)),
                      std::min(double(W), double(source.x) + source.w),
                      level,
                      W};
    const Axis down{covered.y,
                    covered.h,
                    target.y,
                    scaleY,
                    source.y,
                    std::max(0.0, double(source.y)),
                    std::min(double(H), double(source.y) + source.h),
                    level,
                    H};
    const AxisTaps tapsAcross = axisTaps(across), tapsDown = axisTaps(down);
    BoxReducer(*from, level == 0, tapsAcross, tapsDown).run(out);
}

void drawReduced(Graphics& g, const ReducibleImage& image, RectF target, RectF source,
                 float opacity, Bitmap& scratch) {
    const Rect covered = coveredPixels(target);
    if (covered.empty() || opacity <= 0)
        return;
    reduceInto(image, target, source, scratch);
    if (!scratch.isNull())
        g.drawImage(scratch, covered.x, covered.y, {0, 0, scratch.width(), scratch.height()},
                    opacity);
}

} // namespace vork
