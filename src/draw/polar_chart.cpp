#include "draw/polar_chart.h"

#include <algorithm>
#include <cmath>

#include "core/text/c_numeric.h"
#include "core/formats/line_format.h"
#include "draw/chart_scale.h"
#include "draw/label_placer.h"

namespace lobe {

namespace {

double rad(double degrees) { return degrees / RADN; }

// Degree labels sit outside the outer ring; text hangs from its top-left
// corner, so the labels below and left of the chart need more room.
int degree_label_offset(int a) {
  if (a <= 90) return 5;
  if (a <= 149) return 15;
  if (a <= 239) return 25;
  if (a <= 299) return 20;
  return 15;
}

void radial(surface& dc, float scf, int x, int y, double inner, int r, int a) {
  // Laid out from straight up, clockwise: the same directions as the angle rule.
  const double s = std::sin(rad(a)), c = std::cos(rad(a));
  dc.move_to(scaled(x + s * inner, scf), scaled(y - c * inner, scf));
  dc.line_to(scaled(x + s * r, scf), scaled(y - c * r, scf));
}

void ring(surface& dc, float scf, int x, int y, int radius) {
  dc.circle(scaled(x, scf), scaled(y, scf), scaled(radius, scf));
}

point degree_label_at(int a, int x, int y, int r, float scf) {
  const double rho = r + degree_label_offset(a);
  return {scaled(x + std::cos(rad(a)) * rho, scf), scaled(y + std::sin(rad(a)) * rho, scf)};
}

std::string degree_label_text(int a) { return c_format("%u", static_cast<unsigned>(a)); }

void label(surface& dc, float scf, int x, int y, const std::string& text) {
  dc.text_out(scaled(x, scf), scaled(y, scf), text);
}

}  // namespace

namespace {

// What the polar grid's parts share.
struct polar_grid {
  const view_state& v;
  surface& dc;
  float scf;
  int x, y, r;
  chart_range range;
  int radial_increment;
  int log_radius(int n) const { return (range.centre_dbs - n) * r / range.centre_dbs; }  // n dB down
  bool lin_grid() const { return !v.log_display || v.mv_display; }
};

// Radials every 10 degrees (grey, black every 30) and the rings.
void draw_polar_lines(const polar_grid& c) {
  const pen grey = hpo_grey(c.scf), black = hpo_black(c.scf), pale = hpo_pale(c.scf);
  surface& dc = c.dc;
  const int x = c.x, y = c.y, r = c.r, step = c.radial_increment;
  dc.select_pen(grey);
  const double inner = step / 2.0;
  for (int i = 0; i <= 330; i += 30) {
    radial(dc, c.scf, x, y, inner, r, i + 10);
    radial(dc, c.scf, x, y, inner, r, i + 20);
  }
  dc.select_pen(black);
  for (int a = 0; a <= 330; a += 30) radial(dc, c.scf, x, y, inner, r, a);
  dc.select_pen(grey);
  if (c.lin_grid()) {
    for (int k = 1; k * step < r; ++k) ring(dc, c.scf, x, y, k * step);
    if (c.v.mv_display || centre_db_mid_annuli[zoom_index(c.v)] == 1) {
      dc.select_pen(pale);
      for (int k = 0; step / 2 + k * step < r; ++k) ring(dc, c.scf, x, y, step / 2 + k * step);
    }
    dc.select_pen(black);
    ring(dc, c.scf, x, y, r);
    return;
  }
  dc.select_pen(black);
  ring(dc, c.scf, x, y, r);
  dc.select_pen(grey);
  for (int n : {3, 6, 12, 24, 48}) {
    if (n == 48 && c.range.centre_dbs <= 48) continue;
    if (c.log_radius(n) > 0) ring(dc, c.scf, x, y, c.log_radius(n));
  }
  ring(dc, c.scf, x, y, step / 2);
}

// The rings' levels up the vertical radial.
void draw_polar_level_labels(const polar_grid& c) {
  const int ix = zoom_index(c.v);
  const int lx = c.x + 4, y = c.y, r = c.r, step = c.radial_increment;
  auto at = [&](int ly, const std::string& text) { label(c.dc, c.scf, lx, ly, text); };
  if (c.v.mv_display) {
    for (int k = 1; k * step <= r; ++k) at(y - k * step, c_format("%.2f", 0.25 * k));
    return;
  }
  at(y - 8, c_format("-%2udB", static_cast<unsigned>(centre_db_list[ix])));
  if (c.lin_grid()) {
    const int db = c.range.db_increment;
    for (int k = 1; c.range.centre_dbs - k * db > 0; ++k)
      at(y - k * step, c_format("-%2udB", static_cast<unsigned>(c.range.centre_dbs - k * db)));
    at(y - r, "0dB");
    return;
  }
  at(y - r, "0dB");
  at(y - c.log_radius(3), "-3dB");
  at(y - c.log_radius(6), "-6dB");
  at(y - c.log_radius(12), "-12dB");
  if (c.log_radius(24) > 0) at(y - c.log_radius(24), "-24dB");
  if (c.range.centre_dbs > 48 && c.log_radius(48) > 0) at(y - c.log_radius(48), "-48dB");
}

}  // namespace

float polar_level_scale(const view_state& v, int r) {
  return v.mv_display ? static_cast<float>(r) : static_cast<float>(r) / static_cast<float>(chart_range_of(v).centre_dbs);
}

void init_chart(const lobe_state& st, surface& dc, float scf, int x, int y, int r) {
  pen_keeper keep(dc);
  dc.select_pen(hpo_grey(scf));
  const chart_range range = chart_range_of(st.view);
  const int radial_increment = r / range.annuli;
  // A chart too small for its rings has nothing sensible to show.
  if (r <= 0 || radial_increment <= 0) return;
  const polar_grid c{st.view, dc, scf, x, y, r, range, radial_increment};
  draw_polar_lines(c);
  draw_polar_level_labels(c);
}

namespace {

// The labels of the rim: the degree labels, the half-power wedges and their
// angle labels.
struct rim_marks {
  label_placer labels;
  std::vector<rect> wedges;
};

rect bounds_of(std::span<const point> points, int pen_width) {
  rect b{points[0].x, points[0].y, points[0].x, points[0].y};
  for (const point& p : points) {
    b.left = std::min(b.left, p.x);
    b.top = std::min(b.top, p.y);
    b.right = std::max(b.right, p.x);
    b.bottom = std::max(b.bottom, p.y);
  }
  const int half = (pen_width + 1) / 2;
  return {b.left - half, b.top - half, b.right + half + 1, b.bottom + half + 1};
}

// A small wedge on the outer ring pointing at the centre, and the crossing's angle beside it.
// The angle label goes beside its wedge; when it would cover a degree label,
// a wedge or another cut's angle it moves along the rim, either way, a label
// at a time.
void half_power_mark(surface& dc, rim_marks& rim, float scf, const pen& hpo1, const pen& hpo3, int cx, int y,
                     int r, double theta, double degrees) {
  auto at = [&](double a, double rho) {
    return point{scaled(cx + std::cos(a) * rho, scf), scaled(y + std::sin(a) * rho, scf)};
  };
  const point wedge[4] = {at(theta - 0.01, r + 10), at(theta, r), at(theta + 0.01, r + 10), at(theta - 0.01, r + 10)};
  dc.select_pen(hpo3);
  dc.polyline(wedge);
  rim.wedges.push_back(bounds_of(wedge, hpo3.width));
  rim.labels.reserve(rim.wedges.back());
  dc.select_pen(hpo1);
  const colorref old = dc.set_text_color(hpo1.colour);
  const double shown = degrees < 0 ? degrees + 360.0 : degrees;
  const std::string text = c_format("%.1f", shown);
  const point extent = dc.text_extent(text);
  const double c = std::cos(theta), s = std::sin(theta);
  // A step along the rim as long as the label is across that direction.
  const double step = std::max(1.0, std::fabs(s) * extent.x + std::fabs(c) * extent.y);
  rim.labels.place(dc, scaled(cx - 20 + c * (r + 40), scf), scaled(y + s * (r + 40), scf), text,
               static_cast<int>(std::lround(-s * step)), static_cast<int>(std::lround(c * step)), 4, true);
  dc.set_text_color(old);
}

// Returns the position of an end marker that ended the cut, or -1.
int plot_cut(const lobe_state& st, surface& dc, rim_marks& rim, float scf, const cut_data_type& cut, colorref colour,
             int cx, int y, int r, float plot_scale) {
  const pen hpo1 = trace_pen(scf, 1, colour), hpo3 = trace_pen(scf, 3, colour);
  dc.select_pen(hpo1);
  const float shift = st.view.mv_display ? 0.0f : crosspol_scale(st, st.view.scale_to_max_mode != 0, cut, false);
  bool under_3db = cut.signal[0] < 3.0f;
  bool pen_down = false;
  point first{0, 0};
  int p = 0;
  const int n = count_in(cut.nupoin, MAX_SAMPLES);
  for (; p < n; ++p) {
    const float degrees = cut.angle[p];
    if (degrees == END_MARKER) {
      if (p > 0) dc.line_to(first.x, first.y);
      return p;
    }
    const double theta = degrees / RADN;
    const float s = cut.signal[p];
    const float len = level_length(st.view, s, shift, plot_scale);
    const int xc = pix(cx + std::cos(theta) * len);
    const int yc = pix(y + std::sin(theta) * len);
    const point here{scaled(xc, scf), scaled(yc, scf)};
    if (p == 0) first = here;
    if (!pen_down) {
      if (s < GAP_LEVEL) {
        dc.move_to(here.x, here.y);
        pen_down = true;
      }
    } else if (s < GAP_LEVEL) {
      dc.line_to(here.x, here.y);
    } else {
      dc.move_to(here.x, here.y);
      pen_down = false;
    }
    if (s >= 3.0f && under_3db) {
      under_3db = false;
      half_power_mark(dc, rim, scf, hpo1, hpo3, cx, y, r, theta, degrees);
    } else if (s < 3.0f && !under_3db) {
      under_3db = true;
      half_power_mark(dc, rim, scf, hpo1, hpo3, cx, y, r, theta, degrees);
    }
  }
  if (p > 0) dc.line_to(first.x, first.y);
  return -1;
}

}  // namespace

void plot_chart(const lobe_state& st, surface& dc, float scf, int xh, int xv, int y, int r, cut_ends* ends) {
  pen_keeper keep(dc);
  const float plot_scale = polar_level_scale(st.view, r);
  // The angle labels of the half-power marks keep clear of the degree labels
  // and of each other; the degree labels are drawn last, each one a wedge
  // would cover left out.
  rim_marks rim{label_placer(std::max(1, scaled(4, scf))), {}};
  const int reach = r + 90;
  rim.labels.keep_inside({scaled(std::min(xh, xv) - reach, scf), scaled(y - reach, scf),
                          scaled(std::max(xh, xv) + reach, scf), scaled(y + reach, scf)});
  const int grids = xv == xh ? 1 : 2;
  for (int a = 0; a <= 330; a += 30)
    for (int g = 0; g < grids; ++g) {
      const point at = degree_label_at(a, g == 0 ? xh : xv, y, r, scf);
      rim.labels.reserve_text(dc, at.x, at.y, degree_label_text(a));
    }
  int n = 0;
  for (int f = 0; f < count_in(st.pd.nofreq, MAX_FREQ); ++f) {
    const freq_data_type& fr = st.pd.freq[f];
    for (int c = 0; c < count_in(fr.numcut, MAX_CUTS); ++c, ++n) {
      const cut_data_type& cut = fr.cut[c];
      if (!cut_is_shown(st.flags, f, c) || cut.nupoin == 0) continue;
      const int cx = is_vertical_cut(cut.patcut) ? xv : xh;
      const int end = plot_cut(st, dc, rim, scf, cut, cut_colour(st, n), cx, y, r, plot_scale);
      if (end >= 0 && ends) ends->push_back({f, c, end});
    }
  }
  if (r <= 0 || r / chart_range_of(st.view).annuli <= 0) return;  // no grid, no labels
  for (int a = 0; a <= 330; a += 30)
    for (int g = 0; g < grids; ++g) {
      const point at = degree_label_at(a, g == 0 ? xh : xv, y, r, scf);
      const std::string text = degree_label_text(a);
      const point extent = dc.text_extent(text);
      const rect box{at.x, at.y, at.x + extent.x, at.y + extent.y};
      if (std::none_of(rim.wedges.begin(), rim.wedges.end(), [&](const rect& w) { return overlaps(box, w); }))
        dc.text_out(at.x, at.y, text);
    }
}

}  // namespace lobe
