#include "draw/exposure_map.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "core/text/c_numeric.h"

namespace lobe {

namespace {

const colorref k_red = rgb(230, 30, 30), k_yellow = rgb(255, 225, 0), k_ink = rgb(0, 0, 50);

// 1, 2 or 5 times a power of ten, about a fifth of `span`.
double tick_step(double span) {
  const double raw = span / 5.0, ten = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0})
    if (m * ten >= raw) return m * ten;
  return 10.0 * ten;
}

// Where the picture's square lies in the site, and how the two map onto each other.
struct map_frame {
  int left = 0, top = 0, side = 0;  // the square, pixels
  double across0 = 0, up0 = 0;      // the site at its left and bottom edges, metres
  double half = 0, per_px = 0;      // half its width in metres; metres per pixel
  double fx = 0, fy = 1;            // the side view's direction (east, north)
  const site_antenna* along = nullptr;
  int px(double across) const { return left + static_cast<int>((across - across0) / per_px); }
  int py(double up) const { return top + side - static_cast<int>((up - up0) / per_px); }
};

// The square shown: round the antennas, wide enough for every boundary.
map_frame frame_of(const site& s, const exposure_view& v, int width, int height) {
  map_frame f;
  f.along = &s.antennas[static_cast<std::size_t>(std::clamp(v.antenna, 0, static_cast<int>(s.antennas.size()) - 1))];
  double cx = 0, cy = 0, reach = 10.0;
  const std::vector<compliance_boundary> boundaries = boundaries_of(s);
  for (std::size_t a = 0; a < s.antennas.size(); ++a) {
    cx += s.antennas[a].x / s.antennas.size();
    cy += s.antennas[a].y / s.antennas.size();
    const compliance_boundary& b = boundaries[a];
    reach = std::max({reach, b.front, b.back, b.left, b.right, v.top ? 0.0 : b.above, v.top ? 0.0 : b.below});
  }
  f.half = reach * 1.3;
  if (!v.top) f.half = std::max(f.half, f.along->height * 0.6);
  const int title_h = 70, margin = 50;
  f.side = std::max(100, std::min(width - 2 * margin, height - title_h - margin - 30));
  f.left = (width - f.side) / 2, f.top = title_h;
  // Picture to site: top view x east / y north; side view s along the azimuth / z up.
  f.fx = std::sin(f.along->azimuth / RADN), f.fy = std::cos(f.along->azimuth / RADN);
  f.across0 = v.top ? cx - f.half : -f.half;
  f.up0 = v.top ? cy - f.half : (f.along->height - f.half);
  f.per_px = 2.0 * f.half / f.side;
  return f;
}

// Ratio 1 or more red, 0.1 to 1 yellow, in cells of 3 pixels, each row's runs of one colour as one rectangle.
void paint_zones(const site& s, const exposure_view& v, const map_frame& f, surface& dc) {
  auto ter_at = [&](double u, double w) {
    return v.top ? s.total_exposure_ratio(u, w, v.z)
                 : s.total_exposure_ratio(f.along->x + u * f.fx, f.along->y + u * f.fy, w);
  };
  const int cell = 3;
  dc.select_pen({pen_style::null, 0, 0});
  for (int py = 0; py < f.side; py += cell) {
    int run_start = 0, run_colour = -1;
    auto flush = [&](int end) {
      if (run_colour >= 0) {
        dc.select_brush({false, run_colour == 1 ? k_red : k_yellow});
        dc.rectangle(f.left + run_start, f.top + py, f.left + end, f.top + std::min(py + cell, f.side));
      }
    };
    for (int px = 0; px <= f.side; px += cell) {
      int colour = -1;
      if (px < f.side) {
        const double ter = ter_at(f.across0 + (px + cell / 2.0) * f.per_px, f.up0 + (f.side - py - cell / 2.0) * f.per_px);
        colour = ter >= 1.0 ? 1 : ter >= 0.1 ? 0 : -1;
      }
      if (colour != run_colour) {
        flush(px);
        run_start = px;
        run_colour = colour;
      }
    }
  }
}

// The frame, ticks in metres on both axes, and the ground in the side view.
void draw_axes(const exposure_view& v, const map_frame& f, surface& dc) {
  dc.select_brush({});
  dc.select_pen({pen_style::solid, 1, k_ink});
  dc.rectangle(f.left, f.top, f.left + f.side, f.top + f.side);
  dc.set_text_color(k_ink);
  dc.select_font({13, 400, false});
  const double step = tick_step(2.0 * f.half);
  for (double t = std::ceil(f.across0 / step) * step; t <= f.across0 + 2 * f.half; t += step) {
    const int px = f.px(t);
    dc.move_to(px, f.top + f.side);
    dc.line_to(px, f.top + f.side + 5);
    dc.text_out(px - 10, f.top + f.side + 7, c_format("%g", t + 0.0));
  }
  for (double t = std::ceil(f.up0 / step) * step; t <= f.up0 + 2 * f.half; t += step) {
    const int py = f.py(t);
    dc.move_to(f.left - 5, py);
    dc.line_to(f.left, py);
    const std::string label = c_format("%g", t + 0.0);
    dc.text_out(f.left - 8 - dc.text_extent(label).x, py - 7, label);
  }
  if (!v.top && f.up0 < 0.0) {  // the ground
    const int ground = f.py(0.0);
    dc.move_to(f.left, ground);
    dc.line_to(f.left + f.side, ground);
  }
}

// The antennas, numbered as in the site file; those on one spot share a label.
void mark_antennas(const site& s, const exposure_view& v, const map_frame& f, surface& dc) {
  dc.select_brush({false, k_ink});
  std::vector<std::pair<point, std::string>> marks;
  for (std::size_t a = 0; a < s.antennas.size(); ++a) {
    const site_antenna& ant = s.antennas[a];
    const double u = v.top ? ant.x : (ant.x - f.along->x) * f.fx + (ant.y - f.along->y) * f.fy;
    const double w = v.top ? ant.y : ant.height;
    const point at{f.px(u), f.py(w)};
    if (at.x < f.left || at.x > f.left + f.side || at.y < f.top || at.y > f.top + f.side) continue;
    auto same = std::find_if(marks.begin(), marks.end(), [&](const auto& m) { return m.first == at; });
    if (same == marks.end())
      marks.push_back({at, std::to_string(a + 1)});
    else
      same->second.append(",").append(std::to_string(a + 1));
  }
  for (const auto& [at, label] : marks) {
    dc.circle(at.x, at.y, 4);
    dc.text_out(at.x + 6, at.y - 16, label);
  }
}

// What the picture shows and against what, and the colours' key.
void draw_titles(const site& s, const exposure_view& v, const map_frame& f, surface& dc) {
  dc.select_font({18, 700, false});
  dc.text_out(f.left, 8, std::string("RF exposure: ") + exposure_standard_title(s.standard) +
                             (s.ground_reflection ? ", ground reflection 1.6" : ""));
  dc.select_font({13, 400, false});
  dc.text_out(f.left, 32,
              v.top ? c_format("Top view at %g m, x east and y north in metres", v.z)
                    : c_format("Side view along antenna %d's azimuth (%g degrees), distance and height in metres",
                               std::clamp(v.antenna, 0, static_cast<int>(s.antennas.size()) - 1) + 1,
                               f.along->azimuth));
  dc.select_pen({pen_style::solid, 1, k_ink});
  dc.select_brush({false, k_red});
  dc.rectangle(f.left, 50, f.left + 14, 62);
  dc.text_out(f.left + 20, 49, "total exposure ratio 1 or more");
  dc.select_brush({false, k_yellow});
  dc.rectangle(f.left + 240, 50, f.left + 254, 62);
  dc.text_out(f.left + 260, 49, "0.1 to 1");
}

}  // namespace

void draw_exposure_map(const site& s, const exposure_view& v, surface& dc, int width, int height) {
  if (s.antennas.empty()) return;
  const map_frame f = frame_of(s, v, width, height);
  paint_zones(s, v, f, dc);
  draw_axes(v, f, dc);
  mark_antennas(s, v, f, dc);
  draw_titles(s, v, f, dc);
}

}  // namespace lobe
