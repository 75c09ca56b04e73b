// A sweep: one turn of the turntable, the analyser level recorded at every
// bearing the controller reports, converted into one cut when it completes.
#pragma once

#include "core/range/range_events.h"
#include "core/record/lobe_state.h"

namespace lobe {

// Milliseconds of a steady clock: the age of the analyser's last level.
long long range_clock_ms();

// A level read more than this long ago is no reading for a new bearing:
// twice the usual time between readings, and at least 300 ms.
inline constexpr double MIN_STALE_LEVEL_MS = 300.0;
double stale_level_ms(const range_state& r);
bool level_is_fresh(const range_state& r, long long now_ms);

// The analyser gave a level (in volts as the instrument sends it): a usable
// reading is kept with its time; NaN/overload codes (9.91E37), infinities and
// negative values are no reading. Returns whether it was usable.
bool take_level_reading(range_state& r, double volts, long long now_ms);

// The level a bearing left without a reading gets when no neighbour can fill
// it: a gap in the charts (98 dB and more is drawn as none).
inline constexpr float NO_READING_DB = 99.0f;

// Fills isolated missing samples (0.0) with the mean of their neighbours.
void average_missing_points(float* cbuff, run_log& log);

// Converts the sample table into cut (capture_freq, capture_cut): levels in
// dB below the sweep's peak, which the cut keeps as its emax. False (and the
// cut unchanged) when the sweep has no reading at all.
bool load_captured_data(lobe_state& st, range_io& io);

// The controller stopped by itself: a collecting sweep pauses.
void range_stop(lobe_state& st, range_io& io);

// The sweep finished: convert it and redraw what shows it.
void sweep_complete(lobe_state& st, range_io& io);

}  // namespace lobe
