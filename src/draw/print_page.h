// The printed page: the chart of the current view with the pattern's header
// fields, a legend of the printed cuts, the logo, a title, the print date and
// the program version, laid out in printer pixels.
#pragma once

#include <string>
#include <string_view>

#include "core/analysis/pattern_compare.h"
#include "core/record/lobe_state.h"
#include "draw/rect_chart.h"
#include "draw/surface.h"

namespace lobe {

struct page_setup {
  int horzres = 4960;  // printable width in pixels
  int vertres = 7016;
  int ppi = 600;
  int screen_ppi = 96;
  bool landscape = false;
};

struct page_geometry {
  int ppm;  // pixels per millimetre
  int margin;
  rect page;
  int page_width, page_height;
  point ft1, ft2, ft3;  // footer columns
  point ft;             // file line
  point cb1;            // legend
  float scf;
  int gxh, gxv, gy, radius;  // chart centres and radius
};

page_geometry print_page_geometry(const page_setup& setup);

// The legend of the printed page: one column of rows (a frequency, its shown
// cuts, and the closing lines) where it fits its box; otherwise as many
// columns, and as small, as keep every row readable and inside the box.
inline constexpr int LEGEND_COLUMN_MM = 44;
struct legend_layout {
  int left, top;
  int columns;
  int rows_per_column;
  float scale;  // 1 = the legend's own size
};
rect legend_box(const page_geometry& g, bool landscape, int display_type);
legend_layout fit_legend(int rows, const rect& box, int row_height, int column_width, bool from_right);

// One header row: bold italic label, normal italic value 140 (print_f_string: 90) screen units right.
void print_string(surface& dc, float scf, int x, int y, std::string_view label, std::string_view data);
void print_f_string(surface& dc, float scf, int x, int y, std::string_view label, std::string_view data);
// One legend row: a line in the cut's colour, then its name and polarisation.
void print_cut_string(const lobe_state& st, surface& dc, float scf, int x, int y, std::string_view cut,
                      std::string_view pol, int graph_num);

// The line of the printed EMR text block's first row: below the header rows,
// so the block never writes over them.
int printed_emr_first_line(const lobe_state& st, const page_geometry& g, bool landscape);

// What the window shows beside the pattern, printed with it: a reference
// (its traces, or the difference chart) and the verdicts against it and
// the mask shown, a word after each cut of the legend.
struct page_extras {
  const antenna_data_type* reference = nullptr;
  std::string reference_name;
  bool difference = false;
  compare_options compare;
};

// Draws the page. False when the EMR view found no cut to draw (the caller
// tells the user, as on screen).
bool print_chart(const lobe_state& st, run_log& log, surface& dc, const page_setup& setup, cut_ends* ends = nullptr,
                 const page_extras& extras = {});

}  // namespace lobe
