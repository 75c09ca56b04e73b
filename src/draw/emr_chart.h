// The EMR view: the antenna on its mast above the ground, with the zones in
// which the flux density exceeds the public (yellow) and occupational (red)
// limits, shaped by one shown vertical cut, and a block of the numbers.
#pragma once

#include <functional>
#include <vector>
#include <optional>
#include <string_view>

#include "core/record/lobe_state.h"
#include "draw/rect_chart.h"
#include "draw/surface.h"

namespace lobe {

// Where the text block goes, given by the caller (the window, the printed
// page), and its running line counter. Positions in layout units, scaled by
// the chart's scale factor.
struct emr_text_layout {
  bool printing = false;  // the printed page's pens, and its transmitter-loss line
  double label_x = 0.0, value_x = 0.0;  // the columns of labels and values
  double first_line_y = 0.0, line_step = 12.0;
  int descr_lines = 0;  // lines already written in the block's column
  std::vector<rect> texts;  // the boxes of the texts written so far, kept clear of later ones
  // Where the ">>>" pointer to the chosen cut's row stands; empty where the
  // caller shows no rows (the printed page).
  std::function<std::optional<point>(const antenna_data_type& pd, int f, int c)> pointer_at;
};

// Writes one labelled line of the block and moves to the next line.
void print_emr_string(surface& dc, float scf, emr_text_layout& layout, std::string_view label, std::string_view data);

// Draws the chart; false when no shown vertical cut with a defined limit
// exists (the caller then tells the user "Select a vertical (V or EL) cut to
// display the EMR chart").
// An end marker in the chosen cut is reported in `ends`.
bool plot_emr_chart(const lobe_state& st, run_log& log, surface& dc, float scf, emr_text_layout& layout, int Xleft,
                    int Xright, int centre_y, int r, cut_ends* ends = nullptr);

inline constexpr const char* EMR_NO_CUT_MESSAGE = "Select a vertical (V or EL) cut to display the EMR chart";
inline constexpr const char* EMR_NO_CUT_CAPTION = "plot_emr_chart()";

}  // namespace lobe
