// The rectangular chart: angle along the x axis (-180..180 degrees with 0 in
// the middle, or 0..90 from the left edge), level up the y axis. Rectangles
// are in device units; scf only scales pens, marks and text offsets.
#pragma once

#include "core/record/lobe_state.h"
#include "draw/surface.h"

namespace lobe {

struct rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const rect&) const = default;
};

// One chart's numbers, from its rectangle, its span (360 or 90 degrees) and
// its number of vertical divisions.
struct rect_geometry {
  int xc1;            // left edge
  int width;          // W
  int y_height;       // the plot keeps a 16:9 shape
  int bottom;         // B
  int x10_increment;  // pixels per 10 degrees
  int right_edge;
  int centre;  // 0 degrees on the -180..180 chart
  int y10_increment;
  int top;  // T
};
rect_geometry rect_chart_geometry(const rect& r, int span, int divisions);

// 360 for DISPLAY_TYPE_RECT, 90 for DISPLAY_TYPE_RECT90.
int rect_span(int display_type);

// Where the Cartesian chart's traces fall: the grid of the chart of rch, the
// 0 degree line of the horizontal and of the vertical cuts (the two-chart
// print layout puts the vertical ones on the chart of rcv), and the scales.
struct rect_trace_axes {
  int span;
  rect_geometry g;
  int horizontal_origin, vertical_origin;
  float x_scale;  // pixels per degree
  float y_scale;  // pixels for the whole dB range (or the full voltage)
};
rect_trace_axes rect_trace_axes_of(const view_state& v, const rect& rch, const rect& rcv);

// The level mapping without the scale-to-max shift.
float gimme_db_normalized_level(const view_state& v, float signal, float y_scale);

// The grid's angle lines (grey every 10 degrees, black every 30) and the
// degree labels under it, for charts that draw their own levels.
void draw_rect_angle_lines(surface& dc, float scf, const rect_geometry& g, int span);
void draw_rect_degree_labels(surface& dc, float scf, const rect_geometry& g, int span);

void init_rect_chart(const lobe_state& st, surface& dc, float scf, const rect& my_rect);
// Horizontal cuts on the chart of rch, vertical cuts on that of rcv.
// An end marker met before the span's end is reported in `ends`.
void plot_rect_chart(const lobe_state& st, surface& dc, float scf, const rect& rch, const rect& rcv,
                     cut_ends* ends = nullptr);
// Every displayed envelope over the chart of rch.
void plot_rect_env(const lobe_state& st, surface& dc, float scf, const rect& rch, const rect& rcv);

}  // namespace lobe
