// A reference pattern drawn beside the pattern: each shown cut's matched
// reference cut (matched as docs/VERDICTS.md says) as a dash-dot trace in
// the shown cut's colour, on the polar and the Cartesian charts, without
// half-power marks.
#pragma once

#include "core/record/lobe_state.h"
#include "draw/surface.h"

namespace lobe {

struct view_geometry;

void plot_reference_traces(const lobe_state& st, const antenna_data_type& reference, surface& dc,
                           const view_geometry& g);

}  // namespace lobe
