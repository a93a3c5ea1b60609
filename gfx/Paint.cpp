#include "gfx/Paint.h"

#include <cmath>

namespace vork {

Path::Path() { path_.setFillRule(Qt::OddEvenFill); }

void Path::reset() {
    path_ = QPainterPath();
    path_.setFillRule(Qt::OddEvenFill);
}

void Path::addPolygon(const std::vector<PointF>& points) {
    addLines(points);
    if (points.size() > 1)
        path_.closeSubpath();
}

void Path::addLines(const std::vector<PointF>& points) {
    if (points.empty())
        return;
    path_.moveTo(points[0].x, points[0].y);
    for (size_t i = 1; i < points.size(); ++i)
        path_.lineTo(points[i].x, points[i].y);
}

// A line that starts where the figure ends continues it, so a freehand outline built line by
// line stays one figure that can be filled.
void Path::addLine(PointF a, PointF b) {
    if (path_.elementCount() == 0 || path_.currentPosition() != QPointF(a.x, a.y))
        path_.moveTo(a.x, a.y);
    path_.lineTo(b.x, b.y);
}

void Path::addRectangle(RectF r) { path_.addRect(r.x, r.y, r.w, r.h); }
void Path::addEllipse(RectF r) { path_.addEllipse(r.x, r.y, r.w, r.h); }
void Path::addRoundedRectangle(RectF r, float radius) {
    path_.addRoundedRect(r.x, r.y, r.w, r.h, radius, radius);
}
void Path::closeFigure() { path_.closeSubpath(); }

Rect Path::bounds() const {
    QRectF b = path_.boundingRect();
    int x0 = int(std::floor(b.left())), y0 = int(std::floor(b.top()));
    int x1 = int(std::ceil(b.right())), y1 = int(std::ceil(b.bottom()));
    return {x0, y0, x1 - x0, y1 - y0};
}

} // namespace vork
