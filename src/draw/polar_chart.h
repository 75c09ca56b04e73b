// The polar chart: every shown cut as a closed trace about one centre, the
// distance from the centre being the level and the direction the angle
// (0 degrees right, 90 down, clockwise). init_chart draws the grid and sets
// the chart's dB range; plot_chart draws the traces and half-power marks.
// Geometry is in screen units; scf scales it to the device (printing).
#pragma once

#include "core/record/lobe_state.h"
#include "core/record/window_port.h"
#include "draw/surface.h"

namespace lobe {

void init_chart(lobe_state& st, surface& dc, float scf, int x, int y, int r);

// Horizontal cuts about (xh, y), vertical cuts about (xv, y). Trims a cut's
// nupoin at an end marker it meets.
void plot_chart(lobe_state& st, window_port& win, surface& dc, float scf, int xh, int xv, int y, int r);

}  // namespace lobe
