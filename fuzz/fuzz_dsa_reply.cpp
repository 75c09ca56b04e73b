// A reply from the analyser, for whichever request was pending.
#include <cstdint>
#include <cstring>

#include "core/range/dsa_client.h"
#include "core/range/range_codes.h"
#include "fuzz_support.h"

using namespace lobe;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  fuzz::harness h;
  h.st->pd.nofreq = 2;
  dsa_client dsa(*h.st, h.range);
  dsa.dsa_req_pending = data[0] % 6;
  dsa.dsa_setup = data[0] & 8 ? 1 : 0;
  dsa.dsa_freq = (data[0] >> 4) % 14 - 1;  // includes indexes outside the record
  h.st->range.scan_state = data[0] & 128 ? SCANSTATE_COLLECTING : SCANSTATE_STOPPED;
  const size_t n = std::min(size - 1, static_cast<size_t>(DSA_BUF_SIZE - 1));
  std::memcpy(dsa.dsa_buf, data + 1, n);
  dsa.dsa_buf[n] = '\0';
  dsa.new_dsa_data();
  return 0;
}
