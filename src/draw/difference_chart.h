// The difference chart: on the Cartesian chart's angle axis, each shown
// cut's deviation from its matched reference cut (measured gain minus
// reference gain, dB) in the cut's colour, over a band of the tolerance
// either side of 0. docs/VERDICTS.md says how cuts are matched and read.
#pragma once

#include <vector>

#include "core/analysis/pattern_compare.h"
#include "core/record/lobe_state.h"
#include "draw/surface.h"

namespace lobe {

struct view_geometry;

// The tolerance band behind the traces: pale green.
inline constexpr colorref DIFFERENCE_BAND_COLOUR = rgb(214, 238, 214);

// The chart's half height in dB: the first of 1, 2, 3, 5, 10, 20, 30 and 50
// that holds twice the tolerance and the largest deviation where the
// reference is above -30 dB (deeper nulls run off the chart's edge).
double difference_half_range(const std::vector<std::vector<deviation_point>>& curves, double tolerance_db);

void draw_difference_chart(const lobe_state& st, const antenna_data_type& reference, surface& dc,
                           const view_geometry& g);

}  // namespace lobe
