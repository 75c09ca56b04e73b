// The drawing surface every chart draws on: the handful of operations the
// charts need, in integer device coordinates with y growing downward.
//
// Conventions the charts rely on:
// - a pen of width 0 draws the thinnest line the surface has;
// - text is anchored at its top-left corner and drawn without background;
// - filled shapes (polygon, rectangle) use the current brush and are outlined
//   with the current pen, so a null pen gives a shape without outline;
// - fonts are "Arial", asked for by cell height in device pixels.
#pragma once

#include <span>
#include <string_view>

#include "core/base/colour.h"

namespace lobe {

struct point {
  int x;
  int y;
  bool operator==(const point&) const = default;
};

enum class pen_style { solid, dash_dot, null };

struct pen {
  pen_style style = pen_style::solid;
  int width = 0;
  colorref colour = 0;
  bool operator==(const pen&) const = default;
};

struct brush {
  bool null = true;
  colorref colour = 0;
  bool operator==(const brush&) const = default;
};

struct font {
  int height = 14;
  int weight = 400;  // 400 normal, 700 bold
  bool italic = false;
  bool fixed = false;  // every character as wide as the next: tables of text
  bool operator==(const font&) const = default;
};

// Pictures of our own that a surface knows how to draw.
enum class picture { logo };

class surface {
 public:
  virtual ~surface() = default;

  // The current pen, brush and font; each setter returns what was current.
  virtual pen select_pen(const pen& p) = 0;
  virtual brush select_brush(const brush& b) = 0;
  virtual font select_font(const font& f) = 0;
  virtual colorref set_text_color(colorref c) = 0;

  virtual void move_to(int x, int y) = 0;
  virtual void line_to(int x, int y) = 0;
  // A full circle outline about (cx, cy); the current position is not used.
  virtual void circle(int cx, int cy, int radius) = 0;
  virtual void polyline(std::span<const point> points) = 0;
  virtual void polygon(std::span<const point> points) = 0;
  virtual void rectangle(int left, int top, int right, int bottom) = 0;
  virtual void text_out(int x, int y, std::string_view text) = 0;
  // Width and height in device pixels of `text` in the current font, so that
  // labels can be kept clear of each other.
  virtual point text_extent(std::string_view text) = 0;
  virtual void draw_picture(picture what, int x, int y, int width, int height) = 0;
};

// Puts a surface's pen back when a drawing routine returns.
class pen_keeper {
 public:
  explicit pen_keeper(surface& dc) : dc_(dc), saved_(dc.select_pen(pen{})) { dc_.select_pen(saved_); }
  ~pen_keeper() { dc_.select_pen(saved_); }
  pen_keeper(const pen_keeper&) = delete;
  pen_keeper& operator=(const pen_keeper&) = delete;

 private:
  surface& dc_;
  pen saved_;
};

}  // namespace lobe
