// A test report: the printed page of every frequency, then the parameters
// and the verdicts against the mask shown and a reference, with the files'
// names and the date. Drawn page by page on any surface (lobeconv report
// writes a PDF; the window's File > Report... too). docs/VERDICTS.md.
#pragma once

#include <string>
#include <vector>

#include "core/analysis/pattern_compare.h"
#include "core/io/run_log.h"
#include "core/record/lobe_state.h"
#include "draw/print_page.h"
#include "draw/surface.h"

namespace lobe {

struct report_inputs {
  const lobe_state* st = nullptr;                 // the pattern, its shown cuts and the mask shown (if any)
  const antenna_data_type* reference = nullptr;   // none: no comparison
  compare_options compare;
  std::string pattern_name, reference_name, envelopes_name;
};

struct test_report {
  std::vector<int> chart_freqs;    // a printed page each, in order
  std::vector<std::string> lines;  // the text pages
  bool has_verdict = false;
  bool pass = false;  // every cut passes the mask and the reference given
  int pages() const;
};

test_report make_test_report(const report_inputs& in);

// Draws page `page` (0-based) of the report on a page of `setup`.
void draw_report_page(const report_inputs& in, const test_report& report, run_log& log, surface& dc, int page,
                      const page_setup& setup);

}  // namespace lobe
