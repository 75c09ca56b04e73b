// A surface that keeps every operation, for tests and for checking geometry.
#pragma once

#include <string>
#include <vector>

#include "draw/surface.h"

namespace lobe {

struct recorded_op {
  enum kind_type { op_move, op_line, op_circle, op_polyline, op_polygon, op_rectangle, op_text, op_picture } kind;
  std::vector<point> points;  // line: from, to; circle: centre; rectangle: top-left, bottom-right
  int radius = 0;
  std::string text;
  pen pen_used;
  brush brush_used;
  font font_used;
  colorref text_colour = 0;
};

class recording_surface : public surface {
 public:
  pen select_pen(const pen& p) override { return exchange(pen_, p); }
  brush select_brush(const brush& b) override { return exchange(brush_, b); }
  font select_font(const font& f) override { return exchange(font_, f); }
  colorref set_text_color(colorref c) override { return exchange(text_colour_, c); }

  void move_to(int x, int y) override;
  void line_to(int x, int y) override;
  void circle(int cx, int cy, int radius) override;
  void polyline(std::span<const point> points) override;
  void polygon(std::span<const point> points) override;
  void rectangle(int left, int top, int right, int bottom) override;
  void text_out(int x, int y, std::string_view text) override;
  // An even-width estimate: a character is 11/20 of the font's height wide.
  point text_extent(std::string_view text) override;
  void draw_picture(picture what, int x, int y, int width, int height) override;

  // Everything of one kind, in drawing order.
  std::vector<recorded_op> of(recorded_op::kind_type k) const;
  // The text drawn with exactly this content, or nullptr.
  const recorded_op* find_text(std::string_view t) const;
  void clear() { ops.clear(); }

  std::vector<recorded_op> ops;

 private:
  template <class T>
  static T exchange(T& slot, const T& v) {
    T old = slot;
    slot = v;
    return old;
  }
  recorded_op make(recorded_op::kind_type k) const;

  pen pen_{};
  brush brush_{};
  font font_{};
  colorref text_colour_ = 0;
  point current_{0, 0};
};

}  // namespace lobe
