#include "core/range/sweep_capture.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "core/text/c_numeric.h"
#include "core/range/range_codes.h"
#include "core/io/run_log.h"
#include "core/range/range_events.h"

namespace lobe {

long long range_clock_ms() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

double stale_level_ms(const range_state& r) { return std::max(MIN_STALE_LEVEL_MS, 2.0 * r.level_interval_ms); }

bool level_is_fresh(const range_state& r, long long now_ms) {
  return r.level_at_ms >= 0 && static_cast<double>(now_ms - r.level_at_ms) <= stale_level_ms(r);
}

bool take_level_reading(range_state& r, double volts, long long now_ms) {
  // SCPI sends 9.91E37 for "not a number"; an overload reads as a huge value.
  if (!std::isfinite(volts) || volts < 0.0 || volts >= 9.9e37) {
    r.level_at_ms = -1;
    return false;
  }
  if (r.level_at_ms >= 0) {
    const double interval = static_cast<double>(now_ms - r.level_at_ms);
    r.level_interval_ms = r.level_interval_ms <= 0.0 ? interval : 0.8 * r.level_interval_ms + 0.2 * interval;
  }
  r.dsapwr = static_cast<float>(volts * 1000.0);
  r.level_at_ms = now_ms;
  return true;
}

void average_missing_points(float* cbuff, run_log& log) {
  for (int a = 0; a < MAX_BEARINGS; ++a) {
    if (cbuff[a] != 0.0f) continue;
    const float prev = cbuff[a == 0 ? MAX_BEARINGS - 1 : a - 1];
    const float next = cbuff[a == MAX_BEARINGS - 1 ? 0 : a + 1];
    if (prev > 0.0f && next > 0.0f) cbuff[a] = (prev + next) / 2.0f;
    log.write_error_log("average_missing_points",
                        c_format("Corrected angle %u to %f from sigs %f and %f", static_cast<unsigned>(a),
                                 double(cbuff[a]), double(prev), double(next)));
  }
}

bool load_captured_data(lobe_state& st, range_io& io) {
  float* cbuff = st.range.cbuff;
  int missing = 0;
  for (int a = 0; a < MAX_BEARINGS; ++a) {
    if (!std::isfinite(cbuff[a]) || cbuff[a] < 0.0f) cbuff[a] = 0.0f;
    missing += cbuff[a] == 0.0f;
  }
  st.range.bearings_without_reading = missing;
  average_missing_points(cbuff, io.log);
  float emax = 0.0f;
  for (int a = 0; a < MAX_BEARINGS; ++a)
    if (cbuff[a] > emax) emax = cbuff[a];
  const int f = st.edit.capture_freq, c = st.edit.capture_cut;
  if (f < 0 || f >= MAX_FREQ || c < 0 || c >= MAX_CUTS) return false;
  // Without a single reading there is no peak to refer the levels to; the
  // cut keeps what it had and the user is told.
  if (!(emax > 0.0f)) {
    io.log.write_error_log("load_captured_data", "No analyser reading in the sweep - cut left as it was");
    io.events.set_status_text(STB_ERROR, "Test range: no analyser readings in the sweep");
    return false;
  }
  if (emax > st.all_emax) st.all_emax = emax;
  cut_data_type& cut = st.pd.freq[f].cut[c];
  for (int a = 0; a < MAX_BEARINGS; ++a) {
    const float ratio = cbuff[a] / emax;
    const float db = static_cast<float>(20.0 * std::log10(static_cast<double>(ratio)));
    // A run of bearings without a reading has no neighbours to fill it from:
    // it is a gap, not a level of minus infinity.
    cut.signal[a] = cbuff[a] > 0.0f ? std::min(std::fabs(db), NO_READING_DB) : NO_READING_DB;
    cut.angle[a] = static_cast<float>(a);
  }
  cut.nupoin = MAX_BEARINGS;
  cut.fstlst[0] = 0.0f;
  cut.fstlst[1] = 359.0f;
  cut.emax = emax;
  st.flags.cut[f][c].sweep_completed = 1;
  const int rejected = st.range.rejected_level_replies;
  if (missing > 0 || rejected > 0) {
    // Said at the end of the sweep: a cut with made-up bearings must not pass for a clean one.
    std::string text = c_format("Test range: %d of %d bearings had no reading (filled from their neighbours, "
                                "or left as a gap)",
                                missing, MAX_BEARINGS);
    if (rejected > 0) text += c_format("; %d analyser replies were no level (torn or garbled)", rejected);
    io.log.write_error_log("load_captured_data", text);
    io.events.set_status_text(STB_ERROR, text);
  }
  return true;
}

void range_stop(lobe_state& st, range_io& io) {
  if (st.range.scan_state != SCANSTATE_COLLECTING) return;
  st.range.scan_state = SCANSTATE_PAUSED;
  io.events.set_status_text(STB_ACTION, "Sweep paused");
}

void sweep_complete(lobe_state& st, range_io& io) {
  load_captured_data(st, io);
  io.events.redraw(window_area::chart);
  io.events.redraw(window_area::turntable_strip);
  io.events.redraw(window_area::freq_data);
}

}  // namespace lobe
