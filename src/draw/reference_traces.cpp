#include "draw/reference_traces.h"

#include <cmath>

#include "core/analysis/pattern_compare.h"
#include "draw/chart_scale.h"
#include "draw/polar_chart.h"
#include "draw/rect_chart.h"
#include "draw/view_renderer.h"

namespace lobe {

namespace {

// The trace of `cut`, each point placed by `at`; the pen lifts at a gap and
// where `at` says the point is off the chart or the angles go back.
template <class Place>
void trace(surface& dc, const cut_data_type& cut, Place at) {
  bool down = false;
  for (int p = 0; p < points_to_write(cut); ++p) {
    const std::optional<point> here = cut.signal[p] < GAP_LEVEL ? at(p) : std::nullopt;
    if (!here) {
      down = false;
      continue;
    }
    if (down)
      dc.line_to(here->x, here->y);
    else
      dc.move_to(here->x, here->y);
    down = true;
  }
}

}  // namespace

void plot_reference_traces(const lobe_state& st, const antenna_data_type& reference, surface& dc,
                           const view_geometry& g) {
  const int type = st.view.display_type;
  if (type != DISPLAY_TYPE_POLAR && type != DISPLAY_TYPE_RECT && type != DISPLAY_TYPE_RECT90) return;
  pen_keeper keep(dc);
  const pattern_comparison pc = compare_patterns(st.pd, st.flags, reference, {});
  for (const cut_comparison& m : pc.matched) {
    const cut_data_type& ref = reference.freq[m.ref_freq].cut[m.ref_cut];
    const bool vertical = is_vertical_cut(st.pd.freq[m.freq].cut[m.cut].patcut);
    dc.select_pen({pen_style::dash_dot, std::max(1, pix(1.0 * g.scf)), cut_colour(st, cut_number(st.pd, m.freq, m.cut))});
    if (type == DISPLAY_TYPE_POLAR) {
      const int cx = vertical ? g.xv : g.xh;
      const float scale = polar_level_scale(st.view, g.radius);
      trace(dc, ref, [&](int p) -> std::optional<point> {
        const double theta = ref.angle[p] / RADN;
        const float len = level_length(st.view, ref.signal[p], 0.0f, scale);
        return point{scaled(pix(cx + std::cos(theta) * len), g.scf), scaled(pix(g.y + std::sin(theta) * len), g.scf)};
      });
      continue;
    }
    const rect_trace_axes ax = rect_trace_axes_of(st.view, g.rch, g.rcv);
    const int span = ax.span, origin = vertical ? ax.vertical_origin : ax.horizontal_origin;
    float previous = -1000.0f;
    trace(dc, ref, [&](int p) -> std::optional<point> {
      float theta = ref.angle[p];
      if (theta > 180.0f) theta -= 360.0f;
      const bool back = theta < previous;
      previous = theta;
      if (theta > static_cast<float>(span) || (span == 90 && theta < 0.0f) || back) return std::nullopt;
      const float len = level_length(st.view, ref.signal[p], 0.0f, ax.y_scale);
      return point{pix(origin + ax.x_scale * theta), pix(ax.g.bottom - len)};
    });
  }
}

}  // namespace lobe
