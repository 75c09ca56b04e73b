// Bytes from the turntable controller: framing and message handling, with
// the sweep converting whatever it recorded when the input says so.
#include <cstdint>

#include "core/range/range_codes.h"
#include "core/range/sweep_capture.h"
#include "core/range/turntable_link.h"
#include "fuzz_support.h"

using namespace lobe;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::harness h;
  h.st->range.capture_enabled = size > 0 && (data[0] & 1);
  h.st->range.scan_state = size > 0 && (data[0] & 2) ? SCANSTATE_COLLECTING : SCANSTATE_STOPPED;
  h.st->range.dsapwr = 1.0f;
  h.st->pd.nofreq = 1;
  h.st->pd.freq[0].numcut = 1;
  com_receiver rx;
  for (size_t i = 0; i < size; ++i) {
    if (new_com_data(rx, static_cast<char>(data[i]))) handle_com_data(*h.st, h.range, rx.xdata);
    h.st->range.dsapwr += 0.25f;
  }
  return 0;
}
