// The lobeconv commands that give verdicts: a pattern against a mask, a
// measured pattern against a reference.
#include <nlohmann/json.hpp>

#include "cli/lobeconv_session.h"
#include "cli/output_guard.h"
#include "core/analysis/mask_check.h"
#include "core/analysis/pattern_compare.h"
#include "core/record/envelope_library.h"
#include "core/text/c_numeric.h"
#include "draw/test_report.h"

namespace lobe::lobeconv {

namespace {

nlohmann::json ranges_json(const std::vector<angle_range>& ranges) {
  nlohmann::json out = nlohmann::json::array();
  for (const auto& [a, b] : ranges) out.push_back({a, b});
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

nlohmann::json optional_json(const std::optional<double>& v) { return v ? nlohmann::json(*v) : nlohmann::json(nullptr); }

nlohmann::json stats_json(const deviation_stats& d) {
  return {{"points", d.points}, {"rms_db", optional_json(d.rms_db)}, {"largest_db", optional_json(d.largest_db)},
          {"largest_angle", optional_json(d.largest_angle)}};
}

nlohmann::json comparison_json(const antenna_data_type& m, const antenna_data_type& r, const pattern_comparison& pc) {
  nlohmann::json j = {{"pass", pc.pass()}, {"cuts", nlohmann::json::array()}};
  for (const cut_comparison& c : pc.matched) {
    nlohmann::json params = nlohmann::json::object();
    for (const parameter_delta& p : c.parameters)
      params[p.name] = {{"measured", optional_json(p.measured)}, {"reference", optional_json(p.reference)},
                        {"difference", optional_json(p.difference())}};
    j["cuts"].push_back({{"measured", cut_label(m, c.freq, c.cut)}, {"reference", cut_label(r, c.ref_freq, c.ref_cut)},
                         {"pass", c.pass}, {"main_lobe", stats_json(c.main_lobe)},
                         {"above_30_db", stats_json(c.above_floor)}, {"parameters", params}});
  }
  auto names = [](const antenna_data_type& pd, const std::vector<std::pair<int, int>>& cuts) {
    nlohmann::json out = nlohmann::json::array();
    for (const auto& [f, c] : cuts) out.push_back(cut_label(pd, f, c));
    return out;
  };
  j["unmatched_measured"] = names(m, pc.unmatched_measured);
  j["unmatched_reference"] = names(r, pc.unmatched_reference);
  return j;
}

// A reference read with the same reading options as the pattern.
bool load_reference(const session& s, session& reference, const std::string& path, std::ostream& err) {
  reference.st->settings = s.st->settings;
  reference.st->nec = s.st->nec;
  return load(reference, path, err);
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
  if (!load(s, o.positional[1], err) || !load_reference(s, reference, o.positional[2], err)) return 2;
  const pattern_comparison pc = compare_patterns(s.st->pd, s.st->flags, reference.st->pd, o.compare);
  if (o.json)
    out << comparison_json(s.st->pd, reference.st->pd, pc).dump(2, ' ', false, nlohmann::json::error_handler_t::replace)
        << "\n";
  else
    out << comparison_text(s.st->pd, reference.st->pd, pc);
  return pc.pass() ? 0 : 1;
}

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
  if (!o.reference.empty() && !load_reference(s, reference, o.reference, err)) return 2;
  report_inputs in;
  in.st = s.st.get();
  in.reference = o.reference.empty() ? nullptr : &reference.st->pd;
  in.compare = o.compare;
  in.pattern_name = o.positional[1];
  in.reference_name = o.reference;
  in.envelopes_name = o.envelopes_file;
  const test_report r = make_test_report(in);
  return renderer.document(
      o.positional[2], r.pages(),
      [&](surface& dc, int page, int width, int height, int ppi) {
        page_setup setup;
        setup.horzres = width;
        setup.vertres = height;
        setup.ppi = ppi;
        draw_report_page(in, r, s.log, dc, page, setup);
      },
      err);
}

}  // namespace lobe::lobeconv
