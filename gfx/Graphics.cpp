// SPDX-License-Identifier: GPL-3.0-or-later
#include "gfx/Graphics.h"

#include "gfx/PixelBlend.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <algorithm>
#include <array>
#include <cmath>

namespace vork {

namespace {

constexpr int dotsPerMeter96Dpi = 3780;

QColor qcolor(Color c) {
    return QColor(c.r(), c.g(), c.b(), c.a());
}

QImage::Format qtFormat(PixelFormat format) {
    switch (format) {
    case PixelFormat::Rgb:
        return QImage::Format_RGB32;
    case PixelFormat::PremultipliedArgb:
        return QImage::Format_ARGB32_Premultiplied;
    case PixelFormat::Argb:
        break;
    }
    return QImage::Format_ARGB32;
}

// A QImage over the bitmap's pixels, without a copy: writable for the painter's target,
// read-only for a source.
QImage viewOf(Bitmap& b) {
    QImage view(b.bytes(), b.width(), b.height(), b.stride(), qtFormat(b.format()));
    // Fonts are sized for 96 dots per inch on every bitmap.
    view.setDotsPerMeterX(dotsPerMeter96Dpi);
    view.setDotsPerMeterY(dotsPerMeter96Dpi);
    return view;
}
QImage viewOf(const Bitmap& b) {
    return QImage(b.bytes(), b.width(), b.height(), b.stride(), qtFormat(b.format()));
}

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

// The font of a font kind, at the 96 dots per inch every bitmap uses.
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

} // namespace

// Paths: Qt's painter paths, which only the drawing context below reads. A path that was never
// added to holds none.

struct Path::Figures {
    QPainterPath path;
    Figures() { path.setFillRule(Qt::OddEvenFill); }
};

namespace {
QPainterPath& writable(std::unique_ptr<Path::Figures>& figures) {
    if (!figures)
        figures = std::make_unique<Path::Figures>();
    return figures->path;
}

const QPainterPath& figuresOf(const std::unique_ptr<Path::Figures>& figures) {
    static const QPainterPath none = [] {
        QPainterPath p;
        p.setFillRule(Qt::OddEvenFill);
        return p;
    }();
    return figures ? figures->path : none;
}
} // namespace

Path::Path() = default;
Path::Path(const Path& other)
    : figures_(other.figures_ ? std::make_unique<Figures>(*other.figures_) : nullptr) {}
Path::Path(Path&& other) noexcept = default;
Path& Path::operator=(const Path& other) {
    if (this != &other)
        figures_ = other.figures_ ? std::make_unique<Figures>(*other.figures_) : nullptr;
    return *this;
}
Path& Path::operator=(Path&& other) noexcept = default;
Path::~Path() = default;

void Path::reset() {
    figures_.reset();
}

bool Path::isEmpty() const {
    return figuresOf(figures_).isEmpty();
}

void Path::addPolygon(const std::vector<PointF>& points) {
    addLines(points);
    if (points.size() > 1)
        writable(figures_).closeSubpath();
}

void Path::addLines(const std::vector<PointF>& points) {
    if (points.empty())
        return;
    QPainterPath& path = writable(figures_);
    path.moveTo(points[0].x, points[0].y);
    for (size_t i = 1; i < points.size(); ++i)
        path.lineTo(points[i].x, points[i].y);
}

// A line that starts where the figure ends continues it, so a freehand outline built line by
// line stays one figure that can be filled.
void Path::addLine(PointF a, PointF b) {
    QPainterPath& path = writable(figures_);
    if (path.elementCount() == 0 || path.currentPosition() != QPointF(a.x, a.y))
        path.moveTo(a.x, a.y);
    path.lineTo(b.x, b.y);
}

void Path::addRectangle(RectF r) {
    writable(figures_).addRect(r.x, r.y, r.w, r.h);
}
void Path::addEllipse(RectF r) {
    writable(figures_).addEllipse(r.x, r.y, r.w, r.h);
}
void Path::addRoundedRectangle(RectF r, float radius) {
    writable(figures_).addRoundedRect(r.x, r.y, r.w, r.h, radius, radius);
}
void Path::closeFigure() {
    writable(figures_).closeSubpath();
}

Rect Path::bounds() const {
    QRectF b = figuresOf(figures_).boundingRect();
    int x0 = int(std::floor(b.left())), y0 = int(std::floor(b.top()));
    int x1 = int(std::ceil(b.right())), y1 = int(std::ceil(b.bottom()));
    return {x0, y0, x1 - x0, y1 - y0};
}

// The drawing context: a painter on a view of the target's own pixels.

namespace {
struct TargetView {
    QImage view;
};
} // namespace

// The view comes first among the bases, so it is made before the painter that paints on it
// and outlives it.
struct Graphics::Painter : TargetView, QPainter {
    explicit Painter(Bitmap& target) : TargetView{viewOf(target)}, QPainter(&view) {}
};

Graphics::Graphics(Bitmap& target) : target_(target) {
    if (target_.isNull())
        return;
    target_.beginDrawing();
    painter_ = std::make_unique<Painter>(target_);
    // Pixel centres at integer coordinates.
    painter_->translate(0.5, 0.5);
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

Graphics::~Graphics() {
    if (!painter_)
        return;
    painter_->end();
    painter_.reset();
    target_.endDrawing();
}

Graphics::State::State(Graphics& g) : g_(g) {
    if (g_.painter_)
        g_.painter_->save();
}

Graphics::State::~State() {
    if (g_.painter_)
        g_.painter_->restore();
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
    painter_->drawPath(figuresOf(path.figures_).translated(-0.5, -0.5));
}

void Graphics::drawPath(const Pen& p, const Path& path) {
    if (!painter_ || path.isEmpty())
        return;
    applyPen(p);
    painter_->drawPath(figuresOf(path.figures_));
}

void Graphics::roundedBox(RectF r, float radius, const Brush& fill, const Pen& outline) {
    if (!painter_)
        return;
    Path path;
    path.addRoundedRectangle(r, radius);
    applyBrush(fill);
    painter_->drawPath(figuresOf(path.figures_));
    drawPath(outline, path);
}

void Graphics::drawImage(const Bitmap& src, int x, int y) {
    drawImage(src, x, y, {0, 0, src.width(), src.height()});
}

void Graphics::drawImage(const Bitmap& src, int x, int y, Rect s, float opacity) {
    if (!painter_ || src.isNull() || s.w <= 0 || s.h <= 0 || opacity <= 0)
        return;
    if (opacity >= 1) {
        painter_->drawImage(QPointF(x - 0.5, y - 0.5), viewOf(src), QRect(s.x, s.y, s.w, s.h));
        return;
    }
    painter_->save();
    painter_->setOpacity(opacity);
    painter_->drawImage(QPointF(x - 0.5, y - 0.5), viewOf(src), QRect(s.x, s.y, s.w, s.h));
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
        const QImage reduced = viewOf(src).copy(part).scaled(
            std::max(1, int(std::lround(dst.w))), std::max(1, int(std::lround(dst.h))),
            Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        painter_->drawImage(target, reduced);
    } else {
        painter_->drawImage(target, viewOf(src), QRectF(s.x, s.y, s.w, s.h));
    }
    painter_->restore();
}

namespace {

// The source pixel each destination pixel of one axis shows: floor(d / zoom + start) at
// distance d from the destination's origin. A whole zoom from a whole-pixel origin and a start
// on a whole destination pixel maps by integers, so that no rounding of the zoom or the start
// moves a boundary between two source pixels by a destination pixel.
class SourceSteps {
  public:
    SourceSteps(double origin, double zoom, double start)
        : origin_(origin), zoom_(zoom), start_(start) {
        const double whole = std::round(zoom), shift = std::round(start * whole);
        whole_ = whole >= 1 && std::fabs(zoom - whole) <= 1e-4 * whole &&
                 std::fabs(start * whole - shift) <= 1e-2 && origin == std::floor(origin) &&
                 std::fabs(shift) < double(1 << 30);
        step_ = whole_ ? int(whole) : 1;
        shift_ = whole_ ? int(shift) : 0;
    }
    int sourceOf(int pixel) const {
        if (!whole_)
            return int(std::floor((pixel - origin_) / zoom_ + start_));
        const int n = pixel - int(origin_) + shift_;
        return n >= 0 ? n / step_ : -((-n + step_ - 1) / step_);
    }

  private:
    double origin_, zoom_, start_;
    bool whole_ = false;
    int step_ = 1, shift_ = 0;
};

} // namespace

void Graphics::drawNearest(const Bitmap& src, RectF dst, RectF s, float opacity) {
    const QTransform& t = painter_->worldTransform();
    if (t.type() > QTransform::TxTranslate || painter_->hasClipping()) {
        painter_->save();
        painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter_->setOpacity(std::min(opacity, 1.0f));
        painter_->drawImage(QRectF(dst.x - 0.5, dst.y - 0.5, dst.w, dst.h), viewOf(src),
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
    // The destination shows the source columns from floor(s.x) to the one s.x + s.w ends in.
    int colMin = std::max(0, int(std::floor(s.x)));
    int colMax = std::min(src.width() - 1, int(std::ceil(s.x + s.w)) - 1);
    int rowMin = std::max(0, int(std::floor(s.y)));
    int rowMax = std::min(src.height() - 1, int(std::ceil(s.y + s.h)) - 1);
    if (i0 >= i1 || j0 >= j1 || colMin > colMax || rowMin > rowMax)
        return;
    int op256 = std::clamp(int(std::lround(opacity * 256)), 0, 256);
    const SourceSteps across(dx0, zx, s.x), down(dy0, zy, s.y);
    std::vector<int> cols(size_t(i1 - i0));
    for (int i = i0; i < i1; ++i)
        cols[size_t(i - i0)] = std::clamp(across.sourceOf(i), colMin, colMax);
    const bool opaqueTarget = target_.format() == PixelFormat::Rgb;
    for (int j = j0; j < j1; ++j) {
        int sr = std::clamp(down.sourceOf(j), rowMin, rowMax);
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
        painter_->setClipPath(figuresOf(path.figures_).translated(-0.5, -0.5));
}

void Graphics::resetClip() {
    if (painter_)
        painter_->setClipping(false);
}

void Graphics::drawText(const std::string& utf8, FontKind font, const Brush& b, RectF r,
                        Align align) {
    if (!painter_ || utf8.empty())
        return;
    int h = align == Align::Near  ? Qt::AlignLeft
            : align == Align::Far ? Qt::AlignRight
                                  : Qt::AlignHCenter;
    painter_->setFont(fontFor(font));
    painter_->setPen(qcolor(b.color()));
    painter_->drawText(QRectF(r.x - 0.5, r.y - 0.5, r.w, r.h), h | Qt::AlignVCenter,
                       QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
}

} // namespace vork
