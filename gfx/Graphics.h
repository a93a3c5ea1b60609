// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A drawing context on one Bitmap.
//
// Conventions: the centre of pixel (i, j) is at (i, j) for fractional coordinates; an aliased
// fill of the integer rectangle (x, y, w, h) covers exactly columns x..x+w-1 and rows
// y..y+h-1; an outline of (x, y, w, h) with a 1-pixel pen covers columns x and x+w and rows y
// and y+h. clear() replaces pixels, alpha included; everything else blends source-over.
#include "gfx/Bitmap.h"
#include "gfx/Paint.h"

#include <memory>
#include <string>

namespace vork {

enum class Smoothing { None, HighQuality };
enum class Interpolation { NearestNeighbor, Bilinear, Bicubic };

class Graphics {
  public:
    explicit Graphics(Bitmap& target);
    ~Graphics();
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    Bitmap& target() { return target_; }
    int width() const { return target_.width(); }
    int height() const { return target_.height(); }

    void clear(Color c);
    void setSmoothing(Smoothing s);
    void setInterpolation(Interpolation i) { interpolation_ = i; }

    void fillRect(const Brush& b, RectF r);
    void fillRect(const Brush& b, Rect r) { fillRect(b, toF(r)); }
    void drawRect(const Pen& p, RectF r);
    void drawRect(const Pen& p, Rect r) { drawRect(p, toF(r)); }
    void drawLine(const Pen& p, PointF a, PointF b);
    void drawPolyline(const Pen& p, const std::vector<PointF>& points);
    void fillEllipse(const Brush& b, RectF r);
    void drawEllipse(const Pen& p, RectF r);
    void fillPath(const Brush& b, const Path& path);
    void drawPath(const Pen& p, const Path& path);
    // A rounded box: filled and outlined, the corner arcs in a box of 2 x radius.
    void roundedBox(RectF r, float radius, const Brush& fill, const Pen& outline);

    // Unscaled at a point (integer pixels, no resampling), with an opacity factor.
    void drawImage(const Bitmap& src, int x, int y);
    void drawImage(const Bitmap& src, int x, int y, Rect srcRect, float opacity = 1.0f);
    // Scaled from srcRect into dst with the current interpolation. With NearestNeighbor the
    // destination pixel at distance d from dst.x shows source column floor(d / zoom +
    // srcRect.x), zoom = dst.w / srcRect.w (likewise for rows), which is how the canvas maps
    // the pointer: at a whole-pixel dst.x each source column covers zoom destination pixels.
    void drawImage(const Bitmap& src, RectF dst, RectF srcRect, float opacity = 1.0f);
    // Drawn with its green and blue halved: the tint of a floating selection.
    void drawImageRedTint(const Bitmap& src, RectF dst, RectF srcRect);

    // World transform inside a saved state: the guard restores transform and clip. Like every
    // other operation it does nothing on a null bitmap.
    class State {
      public:
        explicit State(Graphics& g);
        ~State();
        State(const State&) = delete;
        State& operator=(const State&) = delete;

      private:
        Graphics& g_;
    };
    void translate(float dx, float dy);
    void rotate(float degrees);

    void setClip(const Path& path);
    void resetClip();

    // Text in a layout rectangle, vertically centred, aligned horizontally as asked.
    void drawText(const std::string& utf8, FontKind font, const Brush& b, RectF r,
                  Align align = Align::Center);

  private:
    static RectF toF(Rect r) { return {float(r.x), float(r.y), float(r.w), float(r.h)}; }
    void applyBrush(const Brush& b);
    void applyPen(const Pen& p);
    void drawNearest(const Bitmap& src, RectF dst, RectF srcRect, float opacity);

    struct Painter; // a painter on a view of the target's pixels
    Bitmap& target_;
    std::unique_ptr<Painter> painter_;
    Interpolation interpolation_ = Interpolation::Bilinear;
    bool smooth_ = false;
};

} // namespace vork
