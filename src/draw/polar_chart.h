// The polar chart: every shown cut as a closed trace about one centre, the
// distance from the centre being the level and the direction the angle
// (0 degrees right, 90 down, clockwise). init_chart draws the grid; plot_chart
// draws the traces and half-power marks. Both take the dB range from the view.
// Geometry is in screen units; scf scales it to the device (printing).
#pragma once

#include "core/record/lobe_state.h"
#include "draw/surface.h"

namespace lobe {

void init_chart(const lobe_state& st, surface& dc, float scf, int x, int y, int r);

// Pixels from the centre per dB of level (the rim at 0 dB, the centre at the
// view's dB range), or for the full voltage on the voltage scale.
float polar_level_scale(const view_state& v, int r);

// Horizontal cuts about (xh, y), vertical cuts about (xv, y); a cut ends at
// its end marker, which is reported in `ends`. Hidden cuts (the show boxes)
// are left out.
void plot_chart(const lobe_state& st, surface& dc, float scf, int xh, int xv, int y, int r, cut_ends* ends = nullptr);

}  // namespace lobe
