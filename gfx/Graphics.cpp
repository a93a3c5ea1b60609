#include "gfx/Graphics.h"

#include <QFont>
#include <QTransform>
#include <algorithm>
#include <array>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vork {

namespace {

QColor qcolor(Color c) { return QColor(c.r(), c.g(), c.b(), c.a()); }

// 8 x 8 patterns, one byte a row, bit 7 the leftmost pixel; a set bit takes the foreground.
constexpr std::array<uint8_t, 8> patternBits(HatchStyle s) {
    switch (s) {
    case HatchStyle::Percent50:
        return {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
    case HatchStyle::Trellis:
        return {0xFF, 0x66, 0xFF, 0x99, 0xFF, 0x66, 0xFF, 0x99};
    case HatchStyle::LargeCheckerBoard:
        return {0xF0, 0xF0, 0xF0, 0xF0, 0x0F, 0x0F, 0x0F, 0x0F};
    }
    return {};
}

QImage hatchTile(const Brush& b) {
    QImage tile(8, 8, QImage::Format_ARGB32);
    auto bits = patternBits(b.style());
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            tile.setPixel(x, y, (bits[y] >> (7 - x)) & 1 ? b.color().argb : b.background().argb);
    return tile;
}

// Source-over of one non-premultiplied pixel onto another.
inline uint32_t blendOver(uint32_t dst, uint32_t src, int opacity256) {
    uint32_t sa = ((src >> 24) * uint32_t(opacity256)) >> 8;
    if (sa == 0)
        return dst;
    if (sa == 255)
        return src;
    uint32_t da = dst >> 24;
    uint32_t inv = 255 - sa;
    uint32_t outA = sa + (da * inv + 127) / 255;
    if (outA == 0)
        return 0;
    uint32_t dw = da * inv / 255; // the weight of the destination
    auto ch = [&](int shift) {
        uint32_t s = (src >> shift) & 255, d = (dst >> shift) & 255;
        return ((s * sa + d * dw + outA / 2) / outA) & 255;
    };
    return (outA << 24) | (ch(16) << 16) | (ch(8) << 8) | ch(0);
}

// blendOver onto an opaque target, where it comes down to each channel
// (s * a + d * (255 - a) + 127) / 255, the result opaque: n pixels of `out`, the source pixel
// of out[i] being from[columns[i]].
void blendOntoOpaque(uint32_t* out, const uint32_t* from, const int* columns, int n,
                     int opacity256) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128(), opaque = _mm_set1_epi32(int(0xFF000000u));
    const __m128i full = _mm_set1_epi16(255), c127 = _mm_set1_epi16(127);
    const __m128i one = _mm_set1_epi16(1), factor = _mm_set1_epi32(opacity256);
    // floor(x / 255) for x <= 65152 in 16-bit lanes.
    auto divide255 = [&](__m128i x) {
        return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, one), _mm_srli_epi16(x, 8)), 8);
    };
    for (; i + 4 <= n; i += 4) {
        // At 100 % the four columns follow each other and are loaded at once.
        const __m128i s =
            columns[i + 3] == columns[i] + 3
                ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + columns[i]))
                : _mm_set_epi32(int(from[columns[i + 3]]), int(from[columns[i + 2]]),
                                int(from[columns[i + 1]]), int(from[columns[i]]));
        __m128i alpha = _mm_srli_epi32(s, 24);
        if (opacity256 < 256)
            alpha = _mm_srli_epi32(_mm_mullo_epi16(alpha, factor), 8);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(alpha, zero)) == 0xFFFF)
            continue;
        __m128i* o = reinterpret_cast<__m128i*>(out + i);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(alpha, _mm_set1_epi32(255))) == 0xFFFF) {
            _mm_storeu_si128(o, _mm_or_si128(s, opaque));
            continue;
        }
        const __m128i d = _mm_loadu_si128(o);
        const __m128i pairs = _mm_or_si128(alpha, _mm_slli_epi32(alpha, 16));
        const __m128i aLow = _mm_unpacklo_epi32(pairs, pairs),
                      aHigh = _mm_unpackhi_epi32(pairs, pairs);
        auto half = [&](__m128i sp, __m128i dp, __m128i a) {
            const __m128i x = _mm_add_epi16(
                _mm_add_epi16(_mm_mullo_epi16(sp, a), _mm_mullo_epi16(dp, _mm_sub_epi16(full, a))),
                c127);
            return divide255(x);
        };
        const __m128i low = half(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero), aLow);
        const __m128i high = half(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero), aHigh);
        _mm_storeu_si128(o, _mm_or_si128(_mm_packus_epi16(low, high), opaque));
    }
#endif
    for (; i < n; ++i)
        out[i] = blendOver(out[i], from[columns[i]], opacity256) | 0xFF000000u;
}

} // namespace

const QFont& fontFor(FontKind kind) {
    static const std::array<QFont, 3> table = [] {
        auto make = [](int points, bool bold) {
            QFont f(QStringLiteral("Arial"));
            f.setStyleHint(QFont::SansSerif);
            f.setPointSize(points);
            f.setBold(bold);
            return f;
        };
        return std::array<QFont, 3>{make(10, true), make(8, false), make(8, true)};
    }();
    return table[size_t(kind)];
}

Graphics::Graphics(Bitmap& target) : target_(target) {
    if (!target_.isNull()) {
        painter_ = std::make_unique<QPainter>(&target_.qimage());
        // Pixel centres at integer coordinates.
        painter_->translate(0.5, 0.5);
        painter_->setRenderHint(QPainter::Antialiasing, false);
        painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
}

Graphics::~Graphics() {
    if (painter_)
        painter_->end();
}

void Graphics::clear(Color c) {
    if (!painter_)
        return;
    painter_->save();
    painter_->resetTransform();
    painter_->setClipping(false);
    painter_->setCompositionMode(QPainter::CompositionMode_Source);
    painter_->fillRect(QRect(0, 0, width(), height()), qcolor(c));
    painter_->restore();
}

void Graphics::setSmoothing(Smoothing s) {
    smooth_ = s == Smoothing::HighQuality;
    if (painter_)
        painter_->setRenderHint(QPainter::Antialiasing, smooth_);
}

void Graphics::applyBrush(const Brush& b) {
    painter_->setPen(Qt::NoPen);
    if (!b.hatched()) {
        painter_->setBrush(qcolor(b.color()));
        return;
    }
    QBrush brush(hatchTile(b));
    // Keep the pattern aligned to the target's pixel grid whatever the world transform.
    brush.setTransform(painter_->worldTransform().inverted());
    painter_->setBrush(brush);
}

void Graphics::applyPen(const Pen& p) {
    QPen pen(qcolor(p.color));
    pen.setWidthF(p.width);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    if (!p.dash.empty()) {
        QList<qreal> dashes;
        for (float d : p.dash)
            dashes.push_back(d);
        pen.setDashPattern(dashes);
    }
    painter_->setPen(pen);
    painter_->setBrush(Qt::NoBrush);
}

void Graphics::fillRect(const Brush& b, RectF r) {
    if (!painter_ || r.w <= 0 || r.h <= 0)
        return;
    applyBrush(b);
    // Edges half a pixel before the centres, so (x, y, w, h) covers columns x..x+w-1.
    painter_->drawRect(QRectF(r.x - 0.5, r.y - 0.5, r.w, r.h));
}

void Graphics::drawRect(const Pen& p, RectF r) {
    if (!painter_ || r.w < 0 || r.h < 0)
        return;
    applyPen(p);
    painter_->drawRect(QRectF(r.x, r.y, r.w, r.h));
}

void Graphics::drawLine(const Pen& p, PointF a, PointF b) {
    if (!painter_)
        return;
    applyPen(p);
    painter_->drawLine(QPointF(a.x, a.y), QPointF(b.x, b.y));
}

void Graphics::drawPolyline(const Pen& p, const std::vector<PointF>& points) {
    if (!painter_ || points.size() < 2)
        return;
    applyPen(p);
    QPolygonF poly;
    for (auto pt : points)
        poly << QPointF(pt.x, pt.y);
    painter_->drawPolyline(poly);
}

void Graphics::fillEllipse(const Brush& b, RectF r) {
    if (!painter_ || r.w <= 0 || r.h <= 0)
        return;
    // Filled as a path: the painter's own aliased ellipse loses the box's top row.
    QPainterPath path;
    path.addEllipse(QRectF(r.x - 0.5, r.y - 0.5, r.w, r.h));
    applyBrush(b);
    painter_->drawPath(path);
}

void Graphics::drawEllipse(const Pen& p, RectF r) {
    if (!painter_)
        return;
    applyPen(p);
    painter_->drawEllipse(QRectF(r.x, r.y, r.w, r.h));
}

void Graphics::fillPath(const Brush& b, const Path& path) {
    if (!painter_ || path.isEmpty())
        return;
    applyBrush(b);
    painter_->drawPath(path.qpath().translated(-0.5, -0.5));
}

void Graphics::drawPath(const Pen& p, const Path& path) {
    if (!painter_ || path.isEmpty())
        return;
    applyPen(p);
    painter_->drawPath(path.qpath());
}

void Graphics::roundedBox(RectF r, float radius, const Brush& fill, const Pen& outline) {
    if (!painter_)
        return;
    Path path;
    path.addRoundedRectangle(r, radius);
    applyBrush(fill);
    painter_->drawPath(path.qpath());
    drawPath(outline, path);
}

void Graphics::drawImage(const Bitmap& src, int x, int y) {
    drawImage(src, x, y, {0, 0, src.width(), src.height()});
}

void Graphics::drawImage(const Bitmap& src, int x, int y, Rect s, float opacity) {
    if (!painter_ || src.isNull() || s.w <= 0 || s.h <= 0 || opacity <= 0)
        return;
    if (opacity >= 1) {
        painter_->drawImage(QPointF(x - 0.5, y - 0.5), src.qimage(), QRect(s.x, s.y, s.w, s.h));
        return;
    }
    painter_->save();
    painter_->setOpacity(opacity);
    painter_->drawImage(QPointF(x - 0.5, y - 0.5), src.qimage(), QRect(s.x, s.y, s.w, s.h));
    painter_->restore();
}

void Graphics::drawImage(const Bitmap& src, RectF dst, RectF s, float opacity) {
    if (!painter_ || src.isNull() || dst.w <= 0 || dst.h <= 0 || s.w <= 0 || s.h <= 0 ||
        opacity <= 0)
        return;
    if (interpolation_ == Interpolation::NearestNeighbor) {
        drawNearest(src, dst, s, opacity);
        return;
    }
    painter_->save();
    painter_->setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter_->setOpacity(std::min(opacity, 1.0f));
    const QRectF target(dst.x - 0.5, dst.y - 0.5, dst.w, dst.h);
    const bool reducing = dst.w < s.w || dst.h < s.h;
    if (reducing && painter_->worldTransform().type() <= QTransform::TxTranslate) {
        // Reduced by averaging every source pixel into the one it falls in: sampling alone
        // would drop thin lines (a 1-pixel stroke in a preview would turn into dashes).
        QRect part(int(std::floor(s.x)), int(std::floor(s.y)), 0, 0);
        part.setRight(int(std::ceil(s.x + s.w)) - 1);
        part.setBottom(int(std::ceil(s.y + s.h)) - 1);
        const QImage reduced = src.qimage().copy(part).scaled(
            std::max(1, int(std::lround(dst.w))), std::max(1, int(std::lround(dst.h))),
            Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        painter_->drawImage(target, reduced);
    } else {
        painter_->drawImage(target, src.qimage(), QRectF(s.x, s.y, s.w, s.h));
    }
    painter_->restore();
}

void Graphics::drawNearest(const Bitmap& src, RectF dst, RectF s, float opacity) {
    const QTransform& t = painter_->worldTransform();
    if (t.type() > QTransform::TxTranslate || painter_->hasClipping()) {
        painter_->save();
        painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter_->setOpacity(std::min(opacity, 1.0f));
        painter_->drawImage(QRectF(dst.x - 0.5, dst.y - 0.5, dst.w, dst.h), src.qimage(),
                            QRectF(s.x, s.y, s.w, s.h));
        painter_->restore();
        return;
    }
    // Sample by hand, so that the mapping is exactly the canvas's pointer mapping.
    double ox = t.dx() - 0.5, oy = t.dy() - 0.5; // device offset of the logical origin
    double dx0 = dst.x + ox, dy0 = dst.y + oy;
    double zx = double(dst.w) / s.w, zy = double(dst.h) / s.h;
    int i0 = std::max(0, int(std::ceil(dx0))), j0 = std::max(0, int(std::ceil(dy0)));
    int i1 = std::min(target_.width(), int(std::ceil(dx0 + dst.w)));
    int j1 = std::min(target_.height(), int(std::ceil(dy0 + dst.h)));
    int colMin = std::max(0, int(std::floor(s.x)));
    // The last destination pixel shows source column trunc(s.x + s.w + 0.5) at most: the
    // mapping rounds, so the final half column already shows the next source column.
    int colMax = std::min(src.width() - 1, int(s.x + s.w + 0.5f));
    int rowMin = std::max(0, int(std::floor(s.y)));
    int rowMax = std::min(src.height() - 1, int(s.y + s.h + 0.5f));
    if (i0 >= i1 || j0 >= j1 || colMin > colMax || rowMin > rowMax)
        return;
    int op256 = std::clamp(int(std::lround(opacity * 256)), 0, 256);
    std::vector<int> cols(size_t(i1 - i0));
    for (int i = i0; i < i1; ++i)
        cols[size_t(i - i0)] = std::clamp(int((i - dx0) / zx + 0.5 + s.x), colMin, colMax);
    const bool opaqueTarget = target_.format() == PixelFormat::Rgb;
    for (int j = j0; j < j1; ++j) {
        int sr = std::clamp(int((j - dy0) / zy + 0.5 + s.y), rowMin, rowMax);
        const uint32_t* srow = src.row(sr);
        uint32_t* drow = target_.row(j);
        if (opaqueTarget) {
            blendOntoOpaque(drow + i0, srow, cols.data(), i1 - i0, op256);
            continue;
        }
        for (int i = i0; i < i1; ++i)
            drow[i] = blendOver(drow[i], srow[cols[size_t(i - i0)]], op256);
    }
}

void Graphics::drawImageRedTint(const Bitmap& src, RectF dst, RectF s) {
    if (src.isNull())
        return;
    Bitmap tinted = src.clone();
    for (int y = 0; y < tinted.height(); ++y) {
        uint32_t* r = tinted.row(y);
        for (int x = 0; x < tinted.width(); ++x) {
            Color c(r[x]);
            r[x] = Color::fromArgb(c.a(), c.r(), c.g() / 2, c.b() / 2).argb;
        }
    }
    drawImage(tinted, dst, s);
}

void Graphics::translate(float dx, float dy) {
    if (painter_)
        painter_->translate(dx, dy);
}

void Graphics::rotate(float degrees) {
    if (painter_)
        painter_->rotate(degrees);
}

void Graphics::setClip(const Path& path) {
    if (painter_)
        painter_->setClipPath(path.qpath().translated(-0.5, -0.5));
}

void Graphics::resetClip() {
    if (painter_)
        painter_->setClipping(false);
}

void Graphics::drawText(const std::string& utf8, FontKind font, const Brush& b, RectF r,
                        Align align) {
    if (!painter_ || utf8.empty())
        return;
    int h = align == Align::Near ? Qt::AlignLeft
            : align == Align::Far ? Qt::AlignRight
                                  : Qt::AlignHCenter;
    painter_->setFont(fontFor(font));
    painter_->setPen(qcolor(b.color()));
    painter_->drawText(QRectF(r.x - 0.5, r.y - 0.5, r.w, r.h), h | Qt::AlignVCenter,
                       QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
}

} // namespace vork
