// A pattern against a mask of the envelope library: per cut, the margin at
// every angle (the mask's level minus the pattern's, in dB: positive is
// inside), the worst margin and where, the angles that fail grouped into
// ranges, the gaps, and a verdict. Every definition is in docs/VERDICTS.md.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/record/envelope_library.h"
#include "core/record/pattern_record.h"

namespace lobe {

// A margin this close below 0 is float rounding of a level written on the
// mask itself, not a violation.
inline constexpr double MASK_MARGIN_EPSILON_DB = 1e-4;

// A range of angles, as the cut stores them, first and last included.
using angle_range = std::pair<double, double>;

enum class mask_outcome { pass, fail, incomplete, unchecked };

struct mask_verdict {
  int freq = 0, cut = 0;
  mask_outcome outcome = mask_outcome::unchecked;
  int checked = 0;  // points under the mask with a reading
  std::optional<double> worst_margin_db;
  std::optional<double> worst_angle;
  std::vector<angle_range> failing;
  std::vector<double> failing_angles;  // each failing point's angle, as the chart marks them
  std::vector<angle_range> gaps;  // points with no reading under the mask
  bool pass() const { return outcome == mask_outcome::pass; }
};

// The mask's level at `angle` degrees, in dB below the peak, as the
// Cartesian chart draws it: one side from 0 degrees, mirrored about 0 and
// read modulo 360. At a step the lower requirement holds (the step's line
// belongs to the mask). Empty beyond the mask's last row.
std::optional<double> mask_level(const envelope_data_type& env, double angle);

// One cut against the mask.
mask_verdict check_cut(const cut_data_type& cut, const envelope_data_type& env);

// Every shown cut of the record with points, in order.
std::vector<mask_verdict> check_pattern(const antenna_data_type& pd, const pattern_flags_type& flags,
                                        const envelope_data_type& env);

// "pass", "fail", "incomplete" (gaps but no failure) or "unchecked" (no point under the mask).
const char* outcome_name(mask_outcome o);

// One line (ending in a line feed) saying the verdict of a cut of `pd`:
// "146 MHz H H/H: fail, worst margin -1.00 dB at 45.0 deg; fails at 45.0, 313.0..315.0".
std::string verdict_line(const antenna_data_type& pd, const mask_verdict& v);

}  // namespace lobe
