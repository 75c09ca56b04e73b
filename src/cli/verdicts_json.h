// The verdicts as JSON, as lobeconv check --json and compare --json print
// them (and the Python module returns them).
#pragma once

#include <nlohmann/json.hpp>
#include <vector>

#include "core/analysis/mask_check.h"
#include "core/analysis/pattern_compare.h"

namespace lobe {

// {"envelope", "pass", "cuts": [{"freq", "cut", "polarisation", "f", "c",
// "pass", "verdict", "worst_margin_db", "worst_angle", "failing_ranges",
// "gaps"}]}; passes when there are verdicts and every one passes.
nlohmann::json check_json(const antenna_data_type& pd, const envelope_data_type& env,
                          const std::vector<mask_verdict>& verdicts);

// {"pass", "cuts": [{"measured", "reference", "pass", "main_lobe",
// "above_30_db", "parameters"}], "unmatched_measured", "unmatched_reference"}.
nlohmann::json comparison_json(const antenna_data_type& m, const antenna_data_type& r, const pattern_comparison& pc);

}  // namespace lobe
