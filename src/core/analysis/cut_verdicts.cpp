#include "core/analysis/cut_verdicts.h"

#include "core/text/c_numeric.h"

namespace lobe {

const char* cut_verdict::word() const {
  const bool mask_fails = mask && mask->outcome == mask_outcome::fail;
  const bool reference_fails = reference && !reference->pass;
  if (mask_fails || reference_fails) return "fail";
  if (mask && mask->outcome == mask_outcome::incomplete) return "incomplete";
  if (against_reference && !reference) return "no reference";
  if (mask && mask->outcome == mask_outcome::unchecked) return "unchecked";
  return mask || against_reference ? "pass" : "";
}

bool cut_verdict::pass() const { return std::string_view(word()) == "pass"; }

std::vector<cut_verdict> cut_verdicts(const antenna_data_type& pd, const pattern_flags_type& flags,
                                      const envelope_data_type* mask, const antenna_data_type* reference,
                                      const compare_options& options) {
  std::vector<cut_verdict> out;
  for (int f = 0; f < count_in(pd.nofreq, MAX_FREQ); ++f)
    for (int c = 0; c < count_in(pd.freq[f].numcut, MAX_CUTS); ++c)
      if (cut_is_shown(flags, f, c) && points_to_write(pd.freq[f].cut[c]) > 0)
        out.push_back({f, c, std::nullopt, reference != nullptr, std::nullopt});
  if (mask)
    for (mask_verdict& m : check_pattern(pd, flags, *mask))
      for (cut_verdict& v : out)
        if (v.freq == m.freq && v.cut == m.cut) v.mask = std::move(m);
  if (reference)
    for (cut_comparison& m : compare_patterns(pd, flags, *reference, options).matched)
      for (cut_verdict& v : out)
        if (v.freq == m.freq && v.cut == m.cut) v.reference = std::move(m);
  return out;
}

std::string verdict_summary(const antenna_data_type& pd, const cut_verdict& v) {
  const cut_data_type& cut = pd.freq[v.freq].cut[v.cut];
  std::string out = c_format("%s %s %s: %s", pd.freq[v.freq].patfre, cut.patcut, cut.polari, v.word());
  if (v.mask && v.mask->worst_margin_db)
    out += c_format(", mask %+.2f dB", *v.mask->worst_margin_db);
  if (v.reference && v.reference->main_lobe.rms_db) out += c_format(", ref %.2f dB", *v.reference->main_lobe.rms_db);
  return out;
}

}  // namespace lobe
