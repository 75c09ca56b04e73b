// The named areas of the main window, computed from its client rectangle.
#pragma once

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

}  // namespace lobe
