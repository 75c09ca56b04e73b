// The verdict of each shown cut against what the user put beside it: the
// mask shown and a reference pattern, either or both. The window's data
// panel and the printed page show it in a word and a line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/analysis/mask_check.h"
#include "core/analysis/pattern_compare.h"

namespace lobe {

struct cut_verdict {
  int freq = 0, cut = 0;
  std::optional<mask_verdict> mask;         // a mask was given
  bool against_reference = false;           // a reference was given
  std::optional<cut_comparison> reference;  // ... and a cut of it matched this one
  // "fail" when a check fails; else "incomplete" (gaps under the mask),
  // "no reference" (none matched) or "unchecked" (nothing under the mask),
  // in that order; else "pass". Empty with neither check.
  const char* word() const;
  bool pass() const;
};

// Every shown cut with points, in the order of the data panel.
std::vector<cut_verdict> cut_verdicts(const antenna_data_type& pd, const pattern_flags_type& flags,
                                      const envelope_data_type* mask, const antenna_data_type* reference,
                                      const compare_options& options = {});

// "146 H H/H: fail, mask -12.30 dB, ref 0.42 dB": the word, the worst
// margin under the mask and the RMS deviation over the main lobe from the
// reference; short enough for a line of the data panel.
std::string verdict_summary(const antenna_data_type& pd, const cut_verdict& v);

}  // namespace lobe
