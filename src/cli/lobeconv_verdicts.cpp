// The lobeconv commands that give verdicts: a pattern against a mask, a
// measured pattern against a reference.
#include <ctime>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/lobeconv_session.h"
#include "cli/output_guard.h"
#include "core/analysis/cut_parameters.h"
#include "core/analysis/mask_check.h"
#include "core/analysis/pattern_compare.h"
#include "core/record/envelope_library.h"
#include "core/text/c_numeric.h"
#include "draw/print_page.h"

namespace lobe::lobeconv {

namespace {

nlohmann::json ranges_json(const std::vector<angle_range>& ranges) {
  nlohmann::json out = nlohmann::json::array();
  for (const auto& [a, b] : ranges) out.push_back({a, b});
  return out;
}

std::string ranges_text(const std::vector<angle_range>& ranges) {
  std::string out;
  for (const auto& [a, b] : ranges) {
    if (!out.empty()) out += ", ";
    out += a == b ? c_format("%.1f", a) : c_format("%.1f..%.1f", a, b);
  }
  return out;
}

nlohmann::json verdict_json(const antenna_data_type& pd, const mask_verdict& v) {
  const cut_data_type& cut = pd.freq[v.freq].cut[v.cut];
  nlohmann::json j = {{"freq", pd.freq[v.freq].patfre}, {"cut", cut.patcut}, {"polarisation", cut.polari},
                      {"f", v.freq},  {"c", v.cut},       {"pass", v.pass()},  {"verdict", outcome_name(v.outcome)}};
  j["worst_margin_db"] = v.worst_margin_db ? nlohmann::json(*v.worst_margin_db) : nlohmann::json(nullptr);
  j["worst_angle"] = v.worst_angle ? nlohmann::json(*v.worst_angle) : nlohmann::json(nullptr);
  j["failing_ranges"] = ranges_json(v.failing);
  j["gaps"] = ranges_json(v.gaps);
  return j;
}

std::string verdict_line(const antenna_data_type& pd, const mask_verdict& v) {
  const cut_data_type& cut = pd.freq[v.freq].cut[v.cut];
  std::string line = c_format("%s MHz %s %s: %s", pd.freq[v.freq].patfre, cut.patcut, cut.polari, outcome_name(v.outcome));
  if (v.worst_margin_db) line += c_format(", worst margin %.2f dB at %.1f deg", *v.worst_margin_db, *v.worst_angle);
  if (!v.failing.empty()) line += "; fails at " + ranges_text(v.failing);
  if (!v.gaps.empty()) line += "; no reading at " + ranges_text(v.gaps);
  return line + "\n";
}

nlohmann::json optional_json(const std::optional<double>& v) { return v ? nlohmann::json(*v) : nlohmann::json(nullptr); }

nlohmann::json stats_json(const deviation_stats& d) {
  return {{"points", d.points}, {"rms_db", optional_json(d.rms_db)}, {"largest_db", optional_json(d.largest_db)},
          {"largest_angle", optional_json(d.largest_angle)}};
}

std::string cut_name(const antenna_data_type& pd, int f, int c) {
  return c_format("%s MHz %s %s", pd.freq[f].patfre, pd.freq[f].cut[c].patcut, pd.freq[f].cut[c].polari);
}

std::string stats_text(const char* what, const deviation_stats& d) {
  if (!d.rms_db) return c_format("%s: no common angles", what);
  return c_format("%s: RMS %.2f dB, largest %.2f dB at %.1f deg (%d points)", what, *d.rms_db, *d.largest_db,
                  *d.largest_angle, d.points);
}

nlohmann::json comparison_json(const antenna_data_type& m, const antenna_data_type& r, const pattern_comparison& pc) {
  nlohmann::json j = {{"pass", pc.pass()}, {"cuts", nlohmann::json::array()}};
  for (const cut_comparison& c : pc.matched) {
    nlohmann::json params = nlohmann::json::object();
    for (const parameter_delta& p : c.parameters)
      params[p.name] = {{"measured", optional_json(p.measured)}, {"reference", optional_json(p.reference)},
                        {"difference", optional_json(p.difference())}};
    j["cuts"].push_back({{"measured", cut_name(m, c.freq, c.cut)}, {"reference", cut_name(r, c.ref_freq, c.ref_cut)},
                         {"pass", c.pass}, {"main_lobe", stats_json(c.main_lobe)},
                         {"above_30_db", stats_json(c.above_floor)}, {"parameters", params}});
  }
  auto names = [](const antenna_data_type& pd, const std::vector<std::pair<int, int>>& cuts) {
    nlohmann::json out = nlohmann::json::array();
    for (const auto& [f, c] : cuts) out.push_back(cut_name(pd, f, c));
    return out;
  };
  j["unmatched_measured"] = names(m, pc.unmatched_measured);
  j["unmatched_reference"] = names(r, pc.unmatched_reference);
  return j;
}

void comparison_text(const antenna_data_type& m, const antenna_data_type& r, const pattern_comparison& pc,
                     std::ostream& out) {
  for (const cut_comparison& c : pc.matched) {
    out << cut_name(m, c.freq, c.cut) << " against " << cut_name(r, c.ref_freq, c.ref_cut) << ": "
        << (c.pass ? "pass" : "fail") << "\n  " << stats_text("main lobe", c.main_lobe) << "\n  "
        << stats_text("above -30 dB", c.above_floor) << "\n";
    for (const parameter_delta& p : c.parameters)
      if (const auto d = p.difference()) out << "  " << p.name << c_format(" %+.2f", *d) << "\n";
  }
  for (const auto& [f, c] : pc.unmatched_measured) out << "No reference for " << cut_name(m, f, c) << "\n";
  for (const auto& [f, c] : pc.unmatched_reference) out << "Not measured: " << cut_name(r, f, c) << "\n";
}

}  // namespace

int check(session& s, const options& o, std::ostream& out, std::ostream& err) {
  if (o.positional.size() != 2) {
    err << "lobeconv: check takes one FILE\n";
    return 2;
  }
  if (o.envelopes_file.empty()) {
    err << "lobeconv: check needs an envelope library (--envelopes LIB)\n";
    return 2;
  }
  if (!load_envelopes(s, o, err) || !load(s, o.positional[1], err) || !select_envelope(s, o, err)) return 2;
  const envelope_data_type* env = active_envelope(s.st->ed);
  if (!env) {
    err << "lobeconv: check needs a mask: --envelope TITLE (or a LABZ file that names one)\n";
    return 2;
  }
  const std::vector<mask_verdict> verdicts = check_pattern(s.st->pd, s.st->flags, *env);
  bool all_pass = !verdicts.empty();
  for (const mask_verdict& v : verdicts) all_pass = all_pass && v.pass();
  if (o.json) {
    nlohmann::json j = {{"envelope", env->title}, {"pass", all_pass}, {"cuts", nlohmann::json::array()}};
    for (const mask_verdict& v : verdicts) j["cuts"].push_back(verdict_json(s.st->pd, v));
    out << j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
  } else {
    out << "Envelope: " << env->title << "\n";
    for (const mask_verdict& v : verdicts) out << verdict_line(s.st->pd, v);
  }
  return all_pass ? 0 : 1;
}

int compare(session& s, const options& o, std::ostream& out, std::ostream& err) {
  if (o.positional.size() != 3) {
    err << "lobeconv: compare takes MEASURED and REFERENCE\n";
    return 2;
  }
  session reference;
  reference.st->settings = s.st->settings;
  reference.st->nec = s.st->nec;
  if (!load(s, o.positional[1], err) || !load(reference, o.positional[2], err)) return 2;
  const pattern_comparison pc = compare_patterns(s.st->pd, s.st->flags, reference.st->pd, o.compare);
  if (o.json)
    out << comparison_json(s.st->pd, reference.st->pd, pc).dump(2, ' ', false, nlohmann::json::error_handler_t::replace)
        << "\n";
  else
    comparison_text(s.st->pd, reference.st->pd, pc, out);
  return pc.pass() ? 0 : 1;
}

namespace {

std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// The report's text: what was checked against what, and when; the
// parameters; the verdicts; the verdict of it all.
std::vector<std::string> report_lines(const session& s, const options& o, const envelope_data_type* env,
                                      const session* reference) {
  std::vector<std::string> lines;
  char when[32] = "";
  const std::time_t now = std::time(nullptr);
  std::strftime(when, sizeof when, "%Y-%m-%d %H:%M", std::localtime(&now));
  lines.push_back("Pattern:   " + o.positional[1]);
  if (reference) lines.push_back("Reference: " + o.reference);
  if (env) lines.push_back(std::string("Mask:      ") + env->title + " (" + o.envelopes_file + ")");
  lines.push_back(std::string("Date:      ") + when);
  lines.push_back("");
  lines.push_back("Parameters (docs/ANALYSIS.md)");
  for (const std::string& l : split_lines(parameters_table(*s.st, true))) lines.push_back("  " + l);
  bool pass = true;
  if (env) {
    lines.push_back("");
    lines.push_back(std::string("Against the mask ") + env->title);
    const std::vector<mask_verdict> verdicts = check_pattern(s.st->pd, s.st->flags, *env);
    pass = !verdicts.empty();
    for (const mask_verdict& v : verdicts) {
      lines.push_back("  " + split_lines(verdict_line(s.st->pd, v)).front());
      pass = pass && v.pass();
    }
  }
  if (reference) {
    lines.push_back("");
    lines.push_back("Against the reference");
    const pattern_comparison pc = compare_patterns(s.st->pd, s.st->flags, reference->st->pd, o.compare);
    std::ostringstream text;
    comparison_text(s.st->pd, reference->st->pd, pc, text);
    for (const std::string& l : split_lines(text.str())) lines.push_back("  " + l);
    pass = pass && pc.pass();
  }
  if (env || reference) {
    lines.push_back("");
    lines.push_back(std::string("Verdict: ") + (pass ? "pass" : "fail"));
  }
  return lines;
}

// Millimetres on a page of `ppi` pixels per inch.
int mm(double v, int ppi) { return static_cast<int>(v * ppi / 25.4 + 0.5); }

constexpr double k_line_mm = 3.4;
constexpr int k_lines_per_page = 74;

void draw_text_page(surface& dc, const std::vector<std::string>& lines, std::size_t first, int ppi) {
  const int left = mm(12, ppi);
  dc.set_text_color(rgb(0, 0, 0));
  dc.select_font({mm(6, ppi), 700, false});
  dc.text_out(left, mm(12, ppi), first == 0 ? "Lobeview test report" : "Lobeview test report (continued)");
  dc.select_font({mm(2.8, ppi), 400, false, true});
  for (std::size_t i = first; i < lines.size() && i < first + k_lines_per_page; ++i)
    dc.text_out(left, mm(24 + (i - first) * k_line_mm, ppi), lines[i]);
}

}  // namespace

int report(session& s, const options& o, std::ostream& err, const lobeconv_renderer& renderer) {
  if (o.positional.size() != 3) {
    err << "lobeconv: report takes FILE and OUT.pdf\n";
    return 2;
  }
  std::vector<std::string> inputs = {o.positional[1]};
  if (!o.reference.empty()) inputs.push_back(o.reference);
  if (!o.envelopes_file.empty()) inputs.push_back(o.envelopes_file);
  if (refuse_output_over_input(o.positional[2], inputs, err)) return 1;
  if (!load_envelopes(s, o, err) || !load(s, o.positional[1], err) || !select_envelope(s, o, err)) return 2;
  session reference;
  reference.st->settings = s.st->settings;
  reference.st->nec = s.st->nec;
  if (!o.reference.empty() && !load(reference, o.reference, err)) return 2;
  const envelope_data_type* env = active_envelope(s.st->ed);
  const std::vector<std::string> lines = report_lines(s, o, env, o.reference.empty() ? nullptr : &reference);

  // A printed page per frequency with a shown cut: its cuts alone, on the
  // Cartesian chart with the mask when there is one.
  std::vector<int> freqs;
  for (int f = 0; f < count_in(s.st->pd.nofreq, MAX_FREQ); ++f)
    for (int c = 0; c < count_in(s.st->pd.freq[f].numcut, MAX_CUTS); ++c)
      if (cut_is_shown(s.st->flags, f, c)) {
        freqs.push_back(f);
        break;
      }
  const int text_pages = static_cast<int>((lines.size() + k_lines_per_page - 1) / k_lines_per_page);
  const int pages = static_cast<int>(freqs.size()) + text_pages;
  return renderer.document(
      o.positional[2], pages,
      [&](surface& dc, int page, int width, int height, int ppi) {
        if (page >= static_cast<int>(freqs.size())) {
          draw_text_page(dc, lines, static_cast<std::size_t>(page - static_cast<int>(freqs.size())) * k_lines_per_page, ppi);
          return;
        }
        const auto one = std::make_unique<lobe_state>(*s.st);
        for (int f = 0; f < MAX_FREQ; ++f)
          for (int c = 0; c < MAX_CUTS; ++c)
            if (f != freqs[static_cast<std::size_t>(page)]) one->flags.cut[f][c].hide = 1;
        one->view.display_type = env ? DISPLAY_TYPE_RECT : DISPLAY_TYPE_POLAR;
        page_setup setup;
        setup.horzres = width;
        setup.vertres = height;
        setup.ppi = ppi;
        print_chart(*one, s.log, dc, setup);
      },
      err);
}

}  // namespace lobe::lobeconv
