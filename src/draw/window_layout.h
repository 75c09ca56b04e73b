// The named areas of the main window, computed from its client rectangle.
#pragma once

#include "core/record/pattern_record.h"
#include "draw/rect_chart.h"

namespace lobe {

struct window_layout {
  rect rRectArea;      // the chart
  rect rDescArea;      // description strip above the chart
  rect rTrCtlArea;     // turntable control strip
  rect rTrDegArea;     // bearing strip
  rect rButtonArea;    // left column of buttons
  rect rFileDataArea;  // header panel
  rect rFreqDataArea;  // frequency and cut rows
  int plot_centre_x = 0;
  int plot_centre_y = 0;
  int plot_radius = 0;
};

// Recomputes `layout` for a client area of width x height. `full_mode`:
// editing or capture enabled; `annuli`: rings of the current zoom step (the
// radius is a whole multiple of it). A client area too narrow for a chart
// keeps every area but the chart's as it was.
void set_window_parameters(window_layout& layout, int width, int height, bool full_mode, int annuli);

// The lines of the right column (25 pixels each): per frequency a separator
// (none before the first), the frequency's own line and a heading line, then
// one line per cut. The controls, the painting and the clicks all count them here.
int panel_freq_line(const antenna_data_type& pd, int f);
int panel_cut_line(const antenna_data_type& pd, int f, int c);
// The first line after the last cut (where the EMR inputs begin).
int panel_end_line(const antenna_data_type& pd);
inline constexpr int PANEL_LINE_HEIGHT = 25;
// The y of `line` of a column whose top is `top`, `offset` pixels into the line.
inline int panel_line_y(int top, int line, int offset) { return top + offset + PANEL_LINE_HEIGHT * line; }

}  // namespace lobe
