// The lobeconv commands that give verdicts: a pattern against a mask, a
// measured pattern against a reference.
#include <nlohmann/json.hpp>

#include "cli/lobeconv_session.h"
#include "cli/output_guard.h"
#include "cli/verdicts_json.h"
#include "core/analysis/mask_check.h"
#include "core/analysis/pattern_compare.h"
#include "core/record/envelope_library.h"
#include "core/text/c_numeric.h"
#include "draw/test_report.h"

namespace lobe::lobeconv {

namespace {

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
    out << check_json(s.st->pd, *env, verdicts).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
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
