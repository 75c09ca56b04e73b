// A sweep: one turn of the turntable, the analyser level recorded at every
// bearing the controller reports, converted into one cut when it completes.
#pragma once

#include "core/lobe_state.h"

namespace lobe {

// Fills isolated missing samples (0.0) with the mean of their neighbours.
void average_missing_points(float* cbuff, run_log& log);

// Converts the sample table into cut (capture_freq, capture_cut): levels in
// dB below the sweep's peak, which the cut keeps as its emax. False (and the
// cut unchanged) when the sweep has no reading at all.
bool load_captured_data(lobe_state& st, core_io& io);

// The controller stopped by itself: a collecting sweep pauses.
void range_stop(lobe_state& st, core_io& io);

// The sweep finished: convert it and redraw what shows it.
void sweep_complete(lobe_state& st, core_io& io);

}  // namespace lobe
