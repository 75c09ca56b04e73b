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

}  // namespace

void draw_exposure_map(const site& s, const exposure_view& v, surface& dc, int width, int height) {
  if (s.antennas.empty()) return;
  const site_antenna& along = s.antennas[static_cast<std::size_t>(std::clamp(v.antenna, 0, static_cast<int>(s.antennas.size()) - 1))];
  // The square shown: round the antennas, wide enough for every boundary.
  double cx = 0, cy = 0, reach = 10.0;
  const std::vector<compliance_boundary> boundaries = boundaries_of(s);
  for (std::size_t a = 0; a < s.antennas.size(); ++a) {
    cx += s.antennas[a].x / s.antennas.size();
    cy += s.antennas[a].y / s.antennas.size();
    const compliance_boundary& b = boundaries[a];
    reach = std::max({reach, b.front, b.back, b.left, b.right, v.top ? 0.0 : b.above, v.top ? 0.0 : b.below});
  }
  double half = reach * 1.3;
  if (!v.top) half = std::max(half, along.height * 0.6);
  const int title_h = 70, margin = 50;
  const int side = std::max(100, std::min(width - 2 * margin, height - title_h - margin - 30));
  const int left = (width - side) / 2, top = title_h;
  // Picture to site: top view x east / y north; side view s along the azimuth / z up.
  const double fx = std::sin(along.azimuth / RADN), fy = std::cos(along.azimuth / RADN);
  const double across0 = v.top ? cx - half : -half, up0 = v.top ? cy - half : (along.height - half);
  auto ter_at = [&](double u, double w) {
    return v.top ? s.total_exposure_ratio(u, w, v.z) : s.total_exposure_ratio(along.x + u * fx, along.y + u * fy, w);
  };
  const int cell = 3;
  const double per_px = 2.0 * half / side;
  dc.select_pen({pen_style::null, 0, 0});
  for (int py = 0; py < side; py += cell) {
    int run_start = 0, run_colour = -1;
    auto flush = [&](int end) {
      if (run_colour >= 0) {
        dc.select_brush({false, run_colour == 1 ? k_red : k_yellow});
        dc.rectangle(left + run_start, top + py, left + end, top + std::min(py + cell, side));
      }
    };
    for (int px = 0; px <= side; px += cell) {
      int colour = -1;
      if (px < side) {
        const double ter = ter_at(across0 + (px + cell / 2.0) * per_px, up0 + (side - py - cell / 2.0) * per_px);
        colour = ter >= 1.0 ? 1 : ter >= 0.1 ? 0 : -1;
      }
      if (colour != run_colour) {
        flush(px);
        run_start = px;
        run_colour = colour;
      }
    }
  }
  // Frame, ticks in metres, antennas.
  dc.select_brush({});
  dc.select_pen({pen_style::solid, 1, k_ink});
  dc.rectangle(left, top, left + side, top + side);
  dc.set_text_color(k_ink);
  dc.select_font({13, 400, false});
  const double step = tick_step(2.0 * half);
  for (double t = std::ceil(across0 / step) * step; t <= across0 + 2 * half; t += step) {
    const int px = left + static_cast<int>((t - across0) / per_px);
    dc.move_to(px, top + side);
    dc.line_to(px, top + side + 5);
    dc.text_out(px - 10, top + side + 7, c_format("%g", t + 0.0));
  }
  for (double t = std::ceil(up0 / step) * step; t <= up0 + 2 * half; t += step) {
    const int py = top + side - static_cast<int>((t - up0) / per_px);
    dc.move_to(left - 5, py);
    dc.line_to(left, py);
    const std::string label = c_format("%g", t + 0.0);
    dc.text_out(left - 8 - dc.text_extent(label).x, py - 7, label);
  }
  if (!v.top && up0 < 0.0) {  // the ground
    const int ground = top + side - static_cast<int>(-up0 / per_px);
    dc.move_to(left, ground);
    dc.line_to(left + side, ground);
  }
  // The antennas, numbered as in the site file; those on one spot share a label.
  dc.select_brush({false, k_ink});
  std::vector<std::pair<point, std::string>> marks;
  for (std::size_t a = 0; a < s.antennas.size(); ++a) {
    const site_antenna& ant = s.antennas[a];
    const double u = v.top ? ant.x : (ant.x - along.x) * fx + (ant.y - along.y) * fy;
    const double w = v.top ? ant.y : ant.height;
    const point at{left + static_cast<int>((u - across0) / per_px), top + side - static_cast<int>((w - up0) / per_px)};
    if (at.x < left || at.x > left + side || at.y < top || at.y > top + side) continue;
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
  // What the picture shows and against what.
  dc.select_font({18, 700, false});
  dc.text_out(left, 8, std::string("RF exposure: ") + exposure_standard_title(s.standard) +
                           (s.ground_reflection ? ", ground reflection 1.6" : ""));
  dc.select_font({13, 400, false});
  dc.text_out(left, 32,
              v.top ? c_format("Top view at %g m, x east and y north in metres", v.z)
                    : c_format("Side view along antenna %d's azimuth (%g degrees), distance and height in metres",
                               std::clamp(v.antenna, 0, static_cast<int>(s.antennas.size()) - 1) + 1, along.azimuth));
  dc.select_pen({pen_style::solid, 1, k_ink});
  dc.select_brush({false, k_red});
  dc.rectangle(left, 50, left + 14, 62);
  dc.text_out(left + 20, 49, "total exposure ratio 1 or more");
  dc.select_brush({false, k_yellow});
  dc.rectangle(left + 240, 50, left + 254, 62);
  dc.text_out(left + 260, 49, "0.1 to 1");
}

}  // namespace lobe
