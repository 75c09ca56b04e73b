#include "draw/view_renderer.h"

#include "draw/difference_chart.h"
#include "draw/polar_chart.h"
#include "draw/reference_traces.h"

namespace lobe {

view_geometry window_view_geometry(const window_layout& l, int descr_lines) {
  view_geometry g;
  g.xh = g.xv = l.plot_centre_x;
  g.y = l.plot_centre_y;
  g.radius = l.plot_radius;
  g.rch = g.rcv = l.rRectArea;
  g.emr_left = l.plot_centre_x - l.plot_radius;
  g.emr_right = l.plot_centre_x + l.plot_radius;
  g.emr_y = l.plot_centre_y;
  g.emr_radius = l.plot_radius;
  // The EMR block stands right of the header panel, below the description
  // strip; its pointer left of the chosen cut's row of the data panel.
  g.emr_text.label_x = l.rFileDataArea.right + 15.0;
  g.emr_text.value_x = l.rFileDataArea.right + 265.0;
  g.emr_text.first_line_y = 15.0;
  g.emr_text.line_step = 15.0;
  g.emr_text.descr_lines = descr_lines;
  g.emr_text.pointer_at = [rows = l.rFreqDataArea](const antenna_data_type& pd, int f, int c) -> std::optional<point> {
    return point{rows.left - 35, panel_line_y(rows.top, panel_cut_line(pd, f, c), 5)};
  };
  return g;
}

bool draw_view(const lobe_state& st, run_log& log, surface& dc, const view_geometry& g, cut_ends* ends) {
  switch (st.view.display_type) {
    case DISPLAY_TYPE_POLAR:
      init_chart(st, dc, g.scf, g.xh, g.y, g.radius);
      if (g.second_polar_grid) init_chart(st, dc, g.scf, g.xv, g.y, g.radius);
      plot_chart(st, dc, g.scf, g.xh, g.xv, g.y, g.radius, ends);
      if (g.reference) plot_reference_traces(st, *g.reference, dc, g);
      return true;
    case DISPLAY_TYPE_RECT:
    case DISPLAY_TYPE_RECT90:
      if (g.reference && g.difference) {
        draw_difference_chart(st, *g.reference, dc, g);
        return true;
      }
      init_rect_chart(st, dc, g.scf, g.rch);
      if (g.second_rect_grid) init_rect_chart(st, dc, g.scf, g.rcv);
      plot_rect_chart(st, dc, g.scf, g.rch, g.rcv, ends);
      if (g.reference) plot_reference_traces(st, *g.reference, dc, g);
      plot_rect_env(st, dc, g.scf, g.rch, g.rcv);
      return true;
    case DISPLAY_TYPE_EMR: {
      emr_text_layout text = g.emr_text;
      return plot_emr_chart(st, log, dc, g.scf, text, g.emr_left, g.emr_right, g.emr_y, g.emr_radius, ends);
    }
    default:
      return true;
  }
}

// Five lines fit the 60 pixels above the chart in a font whose cell is the
// line's height, so no line's descenders touch the next.
int draw_description_strip(surface& dc, const antenna_data_type& pd, const window_layout& layout) {
  constexpr int k_step = 11;
  const font old = dc.select_font({k_step, 400, false});
  int lines = 0;
  for (const char* d : description_lines(pd)) {
    dc.text_out(layout.rFileDataArea.right + 15, 5 + k_step * lines, d);
    ++lines;
  }
  dc.select_font(old);
  return lines;
}

}  // namespace lobe
