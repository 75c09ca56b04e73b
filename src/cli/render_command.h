// `lobeconv render`: the charts as the window or the printed page shows them,
// into PNG, SVG or PDF.
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "core/record/lobe_state.h"
#include "core/io/run_log.h"
#include "draw/surface.h"

namespace lobe {

struct render_options {
  std::optional<int> display_type;
  std::optional<int> mv_display;
  std::optional<int> log_display;
  std::optional<int> zoom;
  int width = 1280;
  int height = 820;
  std::optional<bool> print_landscape;  // set: draw the printed page
  std::string envelope_title;  // applied by the caller before drawing
  std::optional<float> power, loss, height_m;
};

// Draws the loaded pattern into `out_path` (its extension picks the format).
// Returns the exit status; problems go to `err`.
int render_pattern(lobe_state& st, run_log& log, const render_options& o, const std::string& out_path,
                   std::ostream& err);

// Draws a width x height picture with `draw` into `out_path` (.png, .svg or
// .pdf), replaced safely. Returns the exit status; problems go to `err`.
using picture_drawing = std::function<void(surface& dc, int width, int height)>;
int render_picture(const std::string& out_path, int width, int height, const picture_drawing& draw, std::ostream& err);

// A document of A4 portrait pages, each drawn by `draw` (page, width and
// height in pixels, pixels per inch): all of them into a .pdf at 600 dpi,
// or the first into a .png at 150 dpi. Replaced safely; returns the exit status.
using page_drawing = std::function<void(surface& dc, int page, int width, int height, int ppi)>;
int render_document(const std::string& out_path, int pages, const page_drawing& draw, std::ostream& err);

}  // namespace lobe
