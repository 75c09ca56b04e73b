// Where a cut crosses its half-power level, between samples. The charts mark
// the first sample past each crossing (their marks stay where they always
// were); numbers shown beside them come from here, found by linear
// interpolation in dB between the two neighbouring samples, so a beamwidth
// read from 5-degree data is not 5 degrees off.
#pragma once

#include <vector>

#include "core/record/pattern_record.h"

namespace lobe {

inline constexpr float HALF_POWER_DB = 3.0f;

struct level_crossing {
  float angle;   // interpolated angle, in the cut's own angle range
  bool falling;  // the level drops below half power here (going up in angle)
};

// Every crossing of `level` dB below the peak, in angle order. A cut that
// closes on itself (its last sample one step before its first plus 360) is
// also looked at across the join. Samples at or beyond `gap_level` (no
// reading) end a run: no crossing is made up across them.
std::vector<level_crossing> level_crossings(const cut_data_type& cut, float level = HALF_POWER_DB,
                                            float gap_level = GAP_LEVEL);

}  // namespace lobe
