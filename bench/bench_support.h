// The largest patterns each format holds, for the benchmarks.
#pragma once

#include <cmath>
#include <memory>
#include <string>

#include "core/text/field_text.h"
#include "core/record/lobe_state.h"
#include "core/io/run_log.h"
#include "core/range/range_events.h"

namespace lobe::bench {

struct harness {
  std::unique_ptr<lobe_state> st = make_lobe_state();
  run_log log;
  action_report report;
  core_io io{log, report};
  range_events events;  // the test range's window: does nothing
  range_io range{log, events};
};

// 12 frequencies of 8 cuts of 362 points, levels of a smooth lobe.
inline void fill_largest(lobe_state& st) {
  clear_planet_header_data(st.pd, st.all_emax);
  set_field(st.pd.name, "BENCH-LARGEST");
  set_field(st.pd.make, "Lobeview benchmarks");
  st.pd.nofreq = MAX_FREQ;
  for (int f = 0; f < MAX_FREQ; ++f) {
    freq_data_type& fr = st.pd.freq[f];
    set_field(fr.patfre, std::to_string(400 + 10 * f));
    fr.numcut = MAX_CUTS;
    for (int c = 0; c < MAX_CUTS; ++c) {
      cut_data_type& cut = fr.cut[c];
      set_field(cut.patcut, c % 2 ? "V" : "H");
      set_field(cut.polari, "V/V");
      cut.nupoin = MAX_SAMPLES;
      cut.fstlst[0] = -180.0f;
      cut.fstlst[1] = 181.0f;
      cut.emax = 100.0f + c;
      for (int p = 0; p < MAX_SAMPLES; ++p) {
        cut.angle[p] = static_cast<float>(p - 180);
        const double lobe = (1.0 + std::cos((p - 180) * 3.14159265 / 180.0 * (1 + c % 3))) / 2.0;
        cut.signal[p] = static_cast<float>(std::min(40.0, -20.0 * std::log10(0.01 + 0.99 * lobe * lobe)));
      }
    }
  }
}

}  // namespace lobe::bench
