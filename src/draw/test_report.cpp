#include "draw/test_report.h"

#include <ctime>
#include <memory>
#include <sstream>

#include "core/analysis/cut_parameters.h"
#include "core/analysis/mask_check.h"
#include "core/record/envelope_library.h"

namespace lobe {

namespace {

constexpr double k_line_mm = 3.4;
constexpr std::size_t k_lines_per_page = 74;

std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

void add_indented(std::vector<std::string>& lines, const std::string& text) {
  for (const std::string& l : split_lines(text)) lines.push_back("  " + l);
}

// Millimetres on a page of `ppi` pixels per inch.
int mm(double v, int ppi) { return static_cast<int>(v * ppi / 25.4 + 0.5); }

}  // namespace

int test_report::pages() const {
  return static_cast<int>(chart_freqs.size() + (lines.size() + k_lines_per_page - 1) / k_lines_per_page);
}

test_report make_test_report(const report_inputs& in) {
  const lobe_state& st = *in.st;
  test_report r;
  for (int f = 0; f < count_in(st.pd.nofreq, MAX_FREQ); ++f)
    for (int c = 0; c < count_in(st.pd.freq[f].numcut, MAX_CUTS); ++c)
      if (cut_is_shown(st.flags, f, c)) {
        r.chart_freqs.push_back(f);
        break;
      }
  char when[32] = "";
  const std::time_t now = std::time(nullptr);
  std::strftime(when, sizeof when, "%Y-%m-%d %H:%M", std::localtime(&now));
  const envelope_data_type* env = active_envelope(st.ed);
  r.lines.push_back("Pattern:   " + in.pattern_name);
  if (in.reference) r.lines.push_back("Reference: " + in.reference_name);
  if (env) r.lines.push_back(std::string("Mask:      ") + env->title + (in.envelopes_name.empty() ? "" : " (" + in.envelopes_name + ")"));
  r.lines.push_back(std::string("Date:      ") + when);
  r.lines.push_back("");
  r.lines.push_back("Parameters (docs/ANALYSIS.md)");
  add_indented(r.lines, parameters_table(st, true));
  r.has_verdict = env || in.reference;
  r.pass = r.has_verdict;
  if (env) {
    r.lines.push_back("");
    r.lines.push_back(std::string("Against the mask ") + env->title);
    const std::vector<mask_verdict> verdicts = check_pattern(st.pd, st.flags, *env);
    r.pass = r.pass && !verdicts.empty();
    for (const mask_verdict& v : verdicts) {
      add_indented(r.lines, verdict_line(st.pd, v));
      r.pass = r.pass && v.pass();
    }
  }
  if (in.reference) {
    r.lines.push_back("");
    r.lines.push_back("Against the reference");
    const pattern_comparison pc = compare_patterns(st.pd, st.flags, *in.reference, in.compare);
    add_indented(r.lines, comparison_text(st.pd, *in.reference, pc));
    r.pass = r.pass && pc.pass();
  }
  if (r.has_verdict) {
    r.lines.push_back("");
    r.lines.push_back(std::string("Verdict: ") + (r.pass ? "pass" : "fail"));
  }
  return r;
}

void draw_report_page(const report_inputs& in, const test_report& report, run_log& log, surface& dc, int page,
                      const page_setup& setup) {
  const std::size_t charts = report.chart_freqs.size();
  if (page < 0) return;
  if (static_cast<std::size_t>(page) < charts) {
    // The frequency's cuts alone, on the Cartesian chart with the mask when there is one.
    const auto one = std::make_unique<lobe_state>(*in.st);
    const int shown = report.chart_freqs[static_cast<std::size_t>(page)];
    for (int f = 0; f < MAX_FREQ; ++f)
      for (int c = 0; c < MAX_CUTS; ++c)
        if (f != shown) one->flags.cut[f][c].hide = 1;
    one->view.display_type = active_envelope(in.st->ed) ? DISPLAY_TYPE_RECT : DISPLAY_TYPE_POLAR;
    page_setup portrait = setup;
    portrait.landscape = false;
    page_extras extras;
    extras.reference = in.reference;
    extras.reference_name = in.reference_name;
    extras.compare = in.compare;
    print_chart(*one, log, dc, portrait, nullptr, extras);
    return;
  }
  const std::size_t first = (static_cast<std::size_t>(page) - charts) * k_lines_per_page;
  const int ppi = setup.ppi, left = mm(12, ppi);
  dc.set_text_color(rgb(0, 0, 0));
  dc.select_font({mm(6, ppi), 700, false});
  dc.text_out(left, mm(12, ppi), first == 0 ? "Lobeview test report" : "Lobeview test report (continued)");
  dc.select_font({mm(2.8, ppi), 400, false, true});
  for (std::size_t i = first; i < report.lines.size() && i < first + k_lines_per_page; ++i)
    dc.text_out(left, mm(24 + static_cast<double>(i - first) * k_line_mm, ppi), report.lines[i]);
}

}  // namespace lobe
