// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pens, brushes, fonts and paths: the drawing tools a Graphics context takes.
#include "gfx/Color.h"
#include "gfx/Geometry.h"

#include <memory>
#include <utility>
#include <vector>

namespace vork {

// The three hatch styles the program uses; each is an 8 x 8 pattern aligned to the
// target bitmap's origin.
enum class HatchStyle {
    Percent50,         // single pixels in a checkerboard
    Trellis,           // a lattice
    LargeCheckerBoard, // 4 x 4 squares: the transparency backdrop
};

class Brush {
  public:
    static Brush solid(Color c) { return Brush(c); }
    static Brush hatch(HatchStyle style, Color foreground, Color background) {
        Brush b(foreground);
        b.hatched_ = true;
        b.style_ = style;
        b.background_ = background;
        return b;
    }
    Color color() const { return color_; }
    void setColor(Color c) { color_ = c; }
    bool hatched() const { return hatched_; }
    HatchStyle style() const { return style_; }
    Color background() const { return background_; }

  private:
    explicit Brush(Color c) : color_(c) {}
    Color color_;
    bool hatched_ = false;
    HatchStyle style_ = HatchStyle::Percent50;
    Color background_;
};

struct Pen {
    Pen() = default;
    Pen(Color c, float w = 1.0f, std::vector<float> d = {})
        : color(c), width(w), dash(std::move(d)) {}
    Color color = colors::black;
    float width = 1.0f;
    std::vector<float> dash; // on, off, ... in units of the pen width; empty for solid
};

enum class FontKind {
    Title,  // Arial 10 pt bold: panel titles
    Small,  // Arial 8 pt regular
    Button, // Arial 8 pt bold: button labels
};

enum class Align { Near, Center, Far };

// A drawing path filled with the alternate (odd-even) rule. Its figures are held in the form
// the drawing context draws (gfx/Graphics.cpp).
class Path {
  public:
    Path();
    Path(const Path& other);
    Path(Path&& other) noexcept;
    Path& operator=(const Path& other);
    Path& operator=(Path&& other) noexcept;
    ~Path();
    void reset();
    void addPolygon(const std::vector<PointF>& points); // a closed figure
    void addLines(const std::vector<PointF>& points);   // an open figure
    void addLine(PointF a, PointF b);
    void addRectangle(RectF r);
    void addEllipse(RectF r);
    void addRoundedRectangle(RectF r, float radius);
    void closeFigure();
    bool isEmpty() const;
    // The smallest integer rectangle holding the path.
    Rect bounds() const;

    struct Figures; // opaque: only the drawing code reads them

  private:
    friend class Graphics;
    std::unique_ptr<Figures> figures_; // null until a figure is added
};

} // namespace vork
