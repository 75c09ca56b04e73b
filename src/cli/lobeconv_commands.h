// lobeconv: converts and inspects pattern files exactly as the program
// loads and saves them.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/render_command.h"

namespace lobe {

// How `render` is carried out. Only lobeconv-render links the drawing
// surfaces (and with them Qt); lobeconv hands a render command line over to
// it, so that its other commands start without loading Qt at all.
struct lobeconv_renderer {
  // Draws the loaded pattern (lobeconv-render).
  int (*draw)(lobe_state& st, run_log& log, const render_options& o, const std::string& out_path,
              std::ostream& err) = nullptr;
  // Draws any other picture (lobeconv-render).
  int (*picture)(const std::string& out_path, int width, int height, const picture_drawing& draw,
                 std::ostream& err) = nullptr;
  // Draws a document of pages (lobeconv-render).
  int (*document)(const std::string& out_path, int pages, const page_drawing& draw, std::ostream& err) = nullptr;
  // Runs the whole command line in lobeconv-render (lobeconv); returns only when it could not.
  int (*hand_over)(const std::vector<std::string>& args, std::ostream& err) = nullptr;
};

// Runs one command line (without the program name). Returns the exit status:
// 0 done, 1 the work failed, 2 the command line was wrong.
int run_lobeconv(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 const lobeconv_renderer& renderer = {});

extern const char* const k_lobeconv_usage;

}  // namespace lobe
