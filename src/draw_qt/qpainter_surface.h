// The drawing surface on a QPainter: screen, printer, PDF, SVG or image.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPoint>
#include <QPolygon>
#include <map>

#include <string>
#include <vector>

#include "draw/rect_chart.h"
#include "draw/surface.h"

namespace lobe {

// What a surface drew where, for the window's layout checks: each text with
// its box, and the bounds of each polyline (the charts' half-power wedges).
struct drawn_marks {
  struct text_box {
    rect box;
    std::string text;
  };
  std::vector<text_box> texts;
  std::vector<rect> polylines;
};

class qpainter_surface : public surface {
 public:
  // `smooth`: antialiased traces (images); vector outputs leave it off. Straight
  // lines, circles and rectangles stay crisp either way: a 1-pixel frame line
  // must not turn into two pale ones.
  explicit qpainter_surface(QPainter& painter, bool smooth = false);
  ~qpainter_surface() override;

  pen select_pen(const pen& p) override;
  brush select_brush(const brush& b) override;
  font select_font(const font& f) override;
  colorref set_text_color(colorref c) override;

  void move_to(int x, int y) override;
  void line_to(int x, int y) override;
  void circle(int cx, int cy, int radius) override;
  void polyline(std::span<const point> points) override;
  void polygon(std::span<const point> points) override;
  void rectangle(int left, int top, int right, int bottom) override;
  void text_out(int x, int y, std::string_view text) override;
  point text_extent(std::string_view text) override;
  void draw_picture(picture what, int x, int y, int width, int height) override;

  // From now on, notes every text and polyline drawn in `marks` (none: stop).
  void keep_marks(drawn_marks* marks) { marks_ = marks; }

 private:
  QPen qt_pen() const;
  // Runs of line_to are drawn as one polyline: one call instead of thousands.
  void flush();
  struct cached_font {
    QFont font;
    int ascent;
  };
  const cached_font& qt_font(const font& f);

  void smooth_for(bool curve);

  QPainter& painter_;
  bool smooth_ = false;
  pen pen_{};
  brush brush_{};
  font font_{};
  colorref text_colour_ = 0;
  QPoint current_{0, 0};
  QPolygon run_;
  std::map<std::tuple<int, int, bool, bool>, cached_font> fonts_;
  drawn_marks* marks_ = nullptr;
};

QColor to_qcolor(colorref c);

// Our logo: a polar lobe beside the program's name.
void draw_logo(QPainter& painter, const QRect& where);

}  // namespace lobe
