#include "draw/rect_chart.h"

#include <algorithm>
#include <cmath>

#include "core/analysis/cut_parameters.h"
#include "core/analysis/mask_check.h"
#include "core/text/c_numeric.h"
#include "core/formats/line_format.h"
#include "draw/chart_scale.h"
#include "draw/label_placer.h"

namespace lobe {

rect_geometry rect_chart_geometry(const rect& r, int span, int divisions) {
  rect_geometry g{};
  g.xc1 = r.left + 40;
  g.width = (r.right - 40) - g.xc1;
  g.y_height = g.width * 9 / 16;
  g.bottom = r.bottom - ((r.bottom - r.top) - g.y_height) / 2;
  g.x10_increment = g.width / (span / 10);
  g.right_edge = (span / 10) * g.x10_increment + g.xc1;
  g.centre = (g.right_edge + g.xc1) / 2;
  g.y10_increment = divisions > 0 ? g.y_height / divisions : 0;
  g.top = g.bottom - divisions * g.y10_increment;
  return g;
}

int rect_span(int display_type) { return display_type == DISPLAY_TYPE_RECT90 ? 90 : 360; }

float gimme_db_normalized_level(const view_state& v, float signal, float y_scale) {
  if (v.mv_display) {
    const float volts = std::pow(10.0f, -signal / 20.0f);
    return volts * y_scale;
  }
  const float l = (static_cast<float>(chart_range_of(v).centre_dbs) - signal) * y_scale;
  return l < 0.0f ? 0.0f : l;
}

// Minor lines every 10 degrees in grey, major ones every 30 in black.
void draw_rect_angle_lines(surface& dc, float scf, const rect_geometry& g, int span) {
  const int B = g.bottom, T = g.top;
  dc.select_pen(hpo_grey(scf));
  for (int j = 0; j < span / 30; ++j)
    for (int m : {1, 2}) {
      const int x = g.xc1 + (3 * j + m) * g.x10_increment;
      dc.move_to(x, B);
      dc.line_to(x, T);
    }
  dc.select_pen(hpo_black(scf));
  for (int j = 0; j <= span / 30; ++j) {
    const int x = g.xc1 + 3 * j * g.x10_increment;
    dc.move_to(x, B);
    dc.line_to(x, T);
  }
}

namespace {

// What the grid's parts share: the view, the geometry and the scale of levels.
struct rect_grid {
  const view_state& v;
  surface& dc;
  float scf;
  chart_range range;
  int span;
  rect_geometry g;
  int yk(int k) const { return g.y_height * k / range.centre_dbs; }  // k dB below the top
  bool lin_grid() const { return !v.log_display || v.mv_display; }
  void text_at(double x, double y, const std::string& t) const { dc.text_out(pix(x), pix(y), t); }
};

// The angle lines, then the level lines in grey.
void draw_rect_lines(const rect_grid& c) {
  const rect_geometry& g = c.g;
  const int B = g.bottom, T = g.top;
  draw_rect_angle_lines(c.dc, c.scf, g, c.span);
  c.dc.select_pen(hpo_grey(c.scf));
  auto level_line = [&](int y) {
    c.dc.move_to(g.xc1, y);
    c.dc.line_to(g.right_edge, y);
  };
  level_line(T);
  if (c.lin_grid()) {
    for (int k = 1; g.y10_increment > 0 && T + k * g.y10_increment < B; ++k) level_line(T + k * g.y10_increment);
  } else {
    level_line(T + c.yk(3));
    level_line(T + c.yk(6));
    level_line(T + c.yk(12));
    if (T + c.yk(24) < B) level_line(T + c.yk(24));
    if (c.range.centre_dbs >= 49 && T + c.yk(48) < B) level_line(T + c.yk(48));
  }
  level_line(B);
}

// The levels left of the grid: dB or mV every line, or the log rings' levels.
void draw_rect_level_labels(const rect_grid& c) {
  const rect_geometry& g = c.g;
  const int B = g.bottom, T = g.top;
  const float scf = c.scf;
  if (c.lin_grid()) {
    const double x = g.xc1 - 36.0 * scf;
    if (c.v.mv_display) {
      for (int k = 0; k <= 4; ++k) c.text_at(x, B - 8.0 * scf - k * g.y10_increment, c_format("%.2f", 0.25 * k));
    } else {
      int k = 0;
      for (int val = -c.range.centre_dbs; val < 1; val += c.range.db_increment, ++k) {
        c.text_at(x, B - 8.0 * scf - k * g.y10_increment, c_format("%2idB", val));
        if (c.range.db_increment <= 0) break;
      }
    }
    return;
  }
  const double x = g.xc1 - 37.0 * scf;
  c.text_at(x, T - 8.0 * scf, "0dB");
  c.text_at(x, T + c.yk(3) - 8.0 * scf, "-3dB");
  c.text_at(x, T + c.yk(6) - 8.0 * scf, "-6dB");
  c.text_at(x, T + c.yk(12) - 8.0 * scf, "-12dB");
  if (T + c.yk(24) < B) c.text_at(x, T + c.yk(24) - 8.0 * scf, "-24dB");
  if (c.range.centre_dbs > 48 && T + c.yk(48) < B) c.text_at(x, T + c.yk(48) - 8.0 * scf, "-48dB");
  c.text_at(x, B - 8.0 * scf, c_format("-%udB", static_cast<unsigned>(c.range.centre_dbs)));
}

}  // namespace

// Each degree label sits roughly centred under its major line. Where the
// chart is too narrow for a label every 30 degrees, every second one is
// drawn, or every third, so that no two run together.
void draw_rect_degree_labels(surface& dc, float scf, const rect_geometry& g, int span) {
  const int first = span == 90 ? 0 : -180, last = span == 90 ? 90 : 180;
  struct label {
    int x, y;
    std::string text;
    point extent;
  };
  std::vector<label> labels;
  int x0 = pix(g.xc1 - 10.0 * scf);
  for (int d = first; d <= last; d += 30, x0 += 3 * g.x10_increment) {
    std::string t = c_format("%d", d);
    const double m = static_cast<double>(t.size());
    const point extent = dc.text_extent(t);
    labels.push_back({pix(x0 + 8.0 * scf - 2.0 * m * scf), pix(g.bottom + 12.0 * scf), std::move(t), extent});
  }
  const int gap = std::max(1, pix(4.0 * scf));
  const std::size_t n = labels.size();
  std::size_t stride = 1;
  auto readable = [&](std::size_t k) {
    for (std::size_t i = k; i < n; i += k)
      if (labels[i - k].x + labels[i - k].extent.x + gap > labels[i].x) return false;
    return true;
  };
  while (stride + 1 < n && !readable(stride)) ++stride;
  for (std::size_t i = 0; i < n; i += stride) dc.text_out(labels[i].x, labels[i].y, labels[i].text);
}

void init_rect_chart(const lobe_state& st, surface& dc, float scf, const rect& my_rect) {
  pen_keeper keep(dc);
  const chart_range range = chart_range_of(st.view);
  const int span = rect_span(st.view.display_type);
  const rect_grid c{st.view, dc, scf, range, span, rect_chart_geometry(my_rect, span, range.annuli)};
  draw_rect_lines(c);
  draw_rect_level_labels(c);
  draw_rect_degree_labels(dc, scf, c.g, span);
}

namespace {

// The angle label sits above its wedge; one that would cover another cut's
// label moves up a line at a time.
void draw_mark(surface& dc, label_placer& labels, float scf, const pen& hpo1, const pen& hpo3, int x, int T, float degrees) {
  const point wedge[4] = {{pix(x + 2.0 * scf), pix(T - 12.0 * scf)},
                          {x, pix(T - 4.0 * scf)},
                          {pix(x - 2.0 * scf), pix(T - 12.0 * scf)},
                          {pix(x + 2.0 * scf), pix(T - 12.0 * scf)}};
  dc.select_pen(hpo3);
  dc.polyline(wedge);
  dc.select_pen(hpo1);
  const colorref old = dc.set_text_color(hpo1.colour);
  const std::string text = c_format("%.1f", static_cast<double>(degrees));
  labels.place(dc, pix(x - 20.0 * scf), pix(T - 30.0 * scf), text, 0, -std::max(1, dc.text_extent(text).y));
  dc.set_text_color(old);
}

// Returns the position of an end marker that ended the cut, or -1.
int plot_rect_cut(const lobe_state& st, surface& dc, label_placer& labels, float scf, const cut_data_type& cut,
                  colorref colour, int origin, const rect_geometry& g, int span, float x_scale, float y_scale) {
  const pen hpo1 = trace_pen(scf, 1, colour), hpo3 = trace_pen(scf, 3, colour);
  dc.select_pen(hpo1);
  const float shift = st.view.mv_display ? 0.0f : crosspol_scale(st, st.view.scale_to_max_mode != 0, cut, false);
  bool under_3db = cut.signal[0] < 3.0f;
  bool pen_down = false;
  bool wrapped = false;
  point first{0, 0};
  float previous = 0.0f;
  const int n = count_in(cut.nupoin, MAX_SAMPLES);
  int end = -1;
  for (int p = 0; p < n; ++p) {
    float theta = cut.angle[p];
    if (theta == END_MARKER) {
      end = p;
      break;
    }
    if (theta > static_cast<float>(span)) break;
    const float s = cut.signal[p];
    if (theta > 180.0f) {
      theta -= 360.0f;
      wrapped = true;
    }
    if (p > 0 && previous > theta) pen_down = false;
    previous = theta;
    const float len = level_length(st.view, s, shift, y_scale);
    const point here{pix(origin + x_scale * theta), pix(g.bottom - len)};
    if (p == 0) first = here;
    if (!pen_down) {
      dc.move_to(here.x, here.y);
      pen_down = true;
    } else {
      dc.line_to(here.x, here.y);
    }
    if ((s >= 3.0f && under_3db) || (s < 3.0f && !under_3db)) {
      under_3db = !under_3db;
      draw_mark(dc, labels, scf, hpo1, hpo3, here.x, g.top, theta);
    }
  }
  // A cut stored 0..359 runs 0..180, restarts at -179 and is joined back to 0.
  if (wrapped) dc.line_to(first.x, first.y);
  return end;
}

}  // namespace

rect_trace_axes rect_trace_axes_of(const view_state& v, const rect& rch, const rect& rcv) {
  rect_trace_axes a;
  a.span = rect_span(v.display_type);
  a.g = rect_chart_geometry(rch, a.span, 4);
  a.horizontal_origin = a.span == 90 ? a.g.xc1 : a.g.centre;
  const int v_left = rcv.left + 40;
  const int v_right = (a.span / 10) * a.g.x10_increment + v_left;
  a.vertical_origin = a.span == 90 ? v_left : (v_left + v_right) / 2;
  const float full = static_cast<float>(4 * a.g.y10_increment);
  a.y_scale = v.mv_display ? full : full / static_cast<float>(chart_range_of(v).centre_dbs);
  a.x_scale = static_cast<float>(a.g.x10_increment) / 10.0f;
  return a;
}

void plot_rect_chart(const lobe_state& st, surface& dc, float scf, const rect& rch, const rect& rcv, cut_ends* ends) {
  pen_keeper keep(dc);
  const rect_trace_axes ax = rect_trace_axes_of(st.view, rch, rcv);

  label_placer labels(std::max(1, pix(4.0 * scf)));
  int n = 0;
  for (int f = 0; f < count_in(st.pd.nofreq, MAX_FREQ); ++f) {
    const freq_data_type& fr = st.pd.freq[f];
    for (int c = 0; c < count_in(fr.numcut, MAX_CUTS); ++c, ++n) {
      const cut_data_type& cut = fr.cut[c];
      if (!cut_is_shown(st.flags, f, c)) continue;
      const int origin = is_vertical_cut(cut.patcut) ? ax.vertical_origin : ax.horizontal_origin;
      const int end =
          plot_rect_cut(st, dc, labels, scf, cut, cut_colour(st, n), origin, ax.g, ax.span, ax.x_scale, ax.y_scale);
      if (end >= 0 && ends) ends->push_back({f, c, end});
    }
  }
}

namespace {

// Where a mask's angles and levels fall on the Cartesian chart.
struct mask_axes {
  const view_state& v;
  int O;  // the 0 degree line
  int bottom;
  float x_scale, y_scale;
  int X(float a) const { return pix(O + x_scale * a); }
  int Y(float s) const { return pix(bottom - gimme_db_normalized_level(v, s, y_scale)); }
};

// One mask: its rows as steps from 0 degrees out, mirrored to the left on
// the 360-degree chart, cut at the chart's edge.
void draw_mask(surface& dc, const envelope_data_type& env, int rows, int span, const mask_axes& ax) {
  point pts[80];
  int np = 0;
  auto add = [&](int x, int y) {
    if (np < 80) pts[np++] = {x, y};
  };
  const float a1 = env.angle1[0], a2 = env.angle2[0], s0 = env.signal[0];
  add(ax.O, ax.Y(0.0f));
  if (s0 >= 0.001f) {
    add(ax.X(a1), ax.Y(0.0f));
    add(ax.X(a1), ax.Y(s0));
    add(ax.X(a2), ax.Y(s0));
  } else {
    add(ax.X(a2), ax.Y(0.0f));
  }
  bool overflow = false;
  point ovf{0, 0};
  for (int i = 1; i < rows; ++i) {
    const float s = env.signal[i];
    if (env.angle1[i] > static_cast<float>(span)) {
      overflow = true;
      ovf = {ax.X(env.angle1[i]), ax.Y(s)};
      break;
    }
    add(ax.X(env.angle1[i]), ax.Y(s));
    add(ax.X(env.angle2[i] < static_cast<float>(span) ? env.angle2[i] : static_cast<float>(span)), ax.Y(s));
  }
  dc.move_to(pts[0].x, pts[0].y);
  for (int i = 1; i < np; ++i) dc.line_to(pts[i].x, pts[i].y);
  const point last = pts[np - 1];
  if (span == 90) {
    if (!overflow) return;
    const int x90 = ax.X(90.0f);
    // The next row starts beyond 90 degrees: follow the line toward it up
    // to the 90 degree line. When both ends share a column the mask just
    // runs on at its last level.
    const long long dx = static_cast<long long>(ovf.x) - last.x;
    const long long y = dx == 0 ? last.y : last.y + (static_cast<long long>(ovf.y) - last.y) * (x90 - last.x) / dx;
    dc.line_to(x90, pix(static_cast<double>(y)));
    return;
  }
  if (overflow) dc.line_to(ovf.x, ovf.y);
  dc.move_to(pts[0].x, pts[0].y);
  for (int i = 1; i < np; ++i) dc.line_to(2 * ax.O - pts[i].x, pts[i].y);
  if (overflow) dc.line_to(2 * ax.O - ovf.x, ovf.y);
}

// Under the axis, in red, the angles where a shown cut lies outside the
// active mask: a degree's width about each failing point.
void mark_mask_failures(const lobe_state& st, surface& dc, float scf, const rect_trace_axes& ax,
                        const envelope_data_type& env) {
  const rect_geometry& g = ax.g;
  const int span = ax.span;
  const double origin = ax.horizontal_origin, x_scale = g.x10_increment / 10.0;
  const int y = pix(g.bottom + 4.0 * scf);
  dc.select_pen({pen_style::solid, std::max(1, pix(3.0 * scf)), VERDICT_FAIL_COLOUR});
  for (const mask_verdict& v : check_pattern(st.pd, st.flags, env))
    for (double a : v.failing_angles) {
      const double at = wrap180(a);  // the chart's -180..180
      if (span == 90 && (at < 0.0 || at > 90.0)) continue;
      const double from = span == 90 ? std::max(0.0, at - 0.5) : at - 0.5;
      const double to = span == 90 ? std::min(90.0, at + 0.5) : at + 0.5;
      dc.move_to(pix(origin + from * x_scale), y);
      dc.line_to(pix(origin + to * x_scale), y);
    }
}

}  // namespace

void plot_rect_env(const lobe_state& st, surface& dc, float scf, const rect& rch, const rect&) {
  pen_keeper keep(dc);
  dc.select_pen({pen_style::solid, pix(2.0 * scf), rgb(0, 0, 0)});
  const rect_trace_axes traces = rect_trace_axes_of(st.view, rch, rch);
  const mask_axes ax{st.view, traces.horizontal_origin, traces.g.bottom, traces.x_scale, traces.y_scale};
  for (int e = 0; e < count_in(st.ed.numenv, MAX_ENVELOPES); ++e) {
    const envelope_data_type& env = st.ed.env[e];
    const int rows = count_in(env.nupoin, MAX_ENV_SAMPLES);
    if (env.display == 0 || rows == 0) continue;
    draw_mask(dc, env, rows, traces.span, ax);
    mark_mask_failures(st, dc, scf, traces, env);
    dc.select_pen({pen_style::solid, pix(2.0 * scf), rgb(0, 0, 0)});
  }
}

}  // namespace lobe
