// Which chart a view draws, written once: the window, lobeconv render and
// the printed page all draw their chart through draw_view, each with the
// geometry of its own surface.
#pragma once

#include "core/analysis/pattern_compare.h"
#include "core/record/lobe_state.h"
#include "draw/emr_chart.h"
#include "draw/rect_chart.h"
#include "draw/surface.h"
#include "draw/window_layout.h"

namespace lobe {

struct view_geometry {
  float scf = 1.0f;              // the printer's scale; 1 on screen
  int xh = 0, xv = 0, y = 0;     // polar: centre of the horizontal and of the vertical cuts
  int radius = 0;
  bool second_polar_grid = false;  // a grid about xv too (the landscape page)
  rect rch, rcv;                 // rectangular: chart of the horizontal and of the vertical cuts
  bool second_rect_grid = false;
  int emr_left = 0, emr_right = 0, emr_y = 0, emr_radius = 0;  // the EMR side view
  emr_text_layout emr_text;
  const antenna_data_type* reference = nullptr;  // drawn beside the pattern (polar and Cartesian)
  bool difference = false;  // with a reference, the Cartesian views draw the difference chart
  compare_options compare;  // how the pattern is compared with the reference
};

// The geometry of the main window's chart for `layout`, below `descr_lines`
// lines of description.
view_geometry window_view_geometry(const window_layout& layout, int descr_lines);

// Draws the chart of st.view.display_type. False when the EMR view has no
// shown vertical cut to draw (the caller tells the user). Cuts that ended at
// an end marker before their count are reported in `ends` (see shorten_cuts).
bool draw_view(const lobe_state& st, run_log& log, surface& dc, const view_geometry& g, cut_ends* ends = nullptr);

// The five description lines as the window shows them above the chart;
// returns how many were drawn.
int draw_description_strip(surface& dc, const antenna_data_type& pd, const window_layout& layout);

}  // namespace lobe
