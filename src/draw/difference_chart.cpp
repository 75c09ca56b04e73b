#include "draw/difference_chart.h"

#include <algorithm>
#include <cmath>

#include "core/text/c_numeric.h"
#include "draw/chart_scale.h"
#include "draw/rect_chart.h"
#include "draw/view_renderer.h"

namespace lobe {

double difference_half_range(const std::vector<std::vector<deviation_point>>& curves, double tolerance_db) {
  double need = 2.0 * tolerance_db;
  for (const auto& curve : curves)
    for (const deviation_point& d : curve)
      if (d.above_floor) need = std::max(need, std::fabs(d.deviation));
  for (double step : {1.0, 2.0, 3.0, 5.0, 10.0, 20.0, 30.0}) {
    if (need <= step) return step;
  }
  return 50.0;
}

namespace {

// The levels' part of the grid: the tolerance band, a grey line every
// quarter of the range, 0 dB in black, and their labels left of the grid.
void draw_level_grid(surface& dc, float scf, const rect_geometry& g, double half_range, double tolerance,
                     bool labels) {
  const auto y_of = [&](double db) { return pix(g.top + (half_range - db) / (2.0 * half_range) * (g.bottom - g.top)); };
  {
    pen_keeper keep(dc);
    dc.select_pen({pen_style::null, 0, 0});
    const brush old = dc.select_brush({false, DIFFERENCE_BAND_COLOUR});
    dc.rectangle(g.xc1, y_of(tolerance), g.right_edge, y_of(-tolerance));
    dc.select_brush(old);
  }
  for (int k = -2; k <= 2; ++k) {
    const double db = half_range * k / 2.0;
    dc.select_pen(k == 0 ? hpo_black(scf) : hpo_grey(scf));
    dc.move_to(g.xc1, y_of(db));
    dc.line_to(g.right_edge, y_of(db));
    if (labels) dc.text_out(pix(g.xc1 - 38.0 * scf), pix(y_of(db) - 8.0 * scf), c_format(k == 0 ? "%gdB" : "%+gdB", db));
  }
}

}  // namespace

void draw_difference_chart(const lobe_state& st, const antenna_data_type& reference, surface& dc,
                           const view_geometry& g) {
  pen_keeper keep(dc);
  const rect_trace_axes ax = rect_trace_axes_of(st.view, g.rch, g.rcv);
  const pattern_comparison pc = compare_patterns(st.pd, st.flags, reference, g.compare);
  std::vector<std::vector<deviation_point>> curves;
  for (const cut_comparison& m : pc.matched)
    curves.push_back(deviation_curve(st.pd, m.freq, m.cut, reference, m.ref_freq, m.ref_cut, g.compare));
  const double half_range = difference_half_range(curves, g.compare.tolerance_db);

  const rect_geometry second = rect_chart_geometry(g.rcv, ax.span, 4);
  for (const rect_geometry* grid : {&ax.g, g.second_rect_grid ? &second : nullptr}) {
    if (!grid) continue;
    draw_level_grid(dc, g.scf, *grid, half_range, g.compare.tolerance_db, true);
    draw_rect_angle_lines(dc, g.scf, *grid, ax.span);
    draw_rect_degree_labels(dc, g.scf, *grid, ax.span);
  }
  dc.text_out(ax.g.xc1, pix(ax.g.top - 22.0 * g.scf),
              c_format("Measured minus reference (dB); band: tolerance %.1f dB", g.compare.tolerance_db));

  const double per_db = (ax.g.bottom - ax.g.top) / (2.0 * half_range);
  const double middle = (ax.g.bottom + ax.g.top) / 2.0;
  for (std::size_t i = 0; i < pc.matched.size(); ++i) {
    const cut_comparison& m = pc.matched[i];
    const bool vertical = is_vertical_cut(st.pd.freq[m.freq].cut[m.cut].patcut);
    const int origin = vertical ? ax.vertical_origin : ax.horizontal_origin;
    dc.select_pen(trace_pen(g.scf, 1, cut_colour(st, cut_number(st.pd, m.freq, m.cut))));
    // The pen lifts at a point left out (a gap), where the angles go back
    // (a cut stored 0..359 restarts at -179) and off the chart's span.
    int last_index = -2;
    double last_theta = -1000.0;
    for (const deviation_point& d : curves[i]) {
      const double theta = d.angle > 180.0 ? d.angle - 360.0 : d.angle;
      const bool on_chart = theta <= ax.span && !(ax.span == 90 && theta < 0.0);
      const bool joined = on_chart && d.index == last_index + 1 && theta >= last_theta;
      last_index = on_chart ? d.index : -2;
      last_theta = theta;
      if (!on_chart) continue;
      const double clamped = std::clamp(d.deviation, -half_range, half_range);
      const int x = pix(origin + ax.x_scale * theta), y = pix(middle - clamped * per_db);
      if (joined)
        dc.line_to(x, y);
      else
        dc.move_to(x, y);
    }
  }
}

}  // namespace lobe
