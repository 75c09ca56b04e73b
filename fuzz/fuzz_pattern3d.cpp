// A 3D pattern from two random cuts, by each method: every direction gives a
// finite gain between the floor and the peak (0 dB).
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/exposure/pattern3d.h"
#include "fuzz_support.h"

using namespace lobe;

namespace {

// Points of (angle, level) floats taken from the input, as a reader would store them.
void fill(cut_data_type& cut, const char* patcut, const uint8_t*& data, size_t& size) {
  std::memset(&cut, 0, sizeof cut);
  std::strcpy(cut.patcut, patcut);
  int n = 0;
  if (size > 0) {
    n = std::min<int>(data[0] * 2, MAX_SAMPLES);
    ++data, --size;
  }
  int p = 0;
  for (; p < n && size >= 8; ++p, data += 8, size -= 8) {
    float angle = 0, level = 0;
    std::memcpy(&angle, data, 4);
    std::memcpy(&level, data + 4, 4);
    put_point(cut, p, angle, level);
  }
  cut.nupoin = p;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int method = data[0] % 3;
  ++data, --size;
  cut_data_type h, v;
  fill(h, "H", data, size);
  fill(v, "V", data, size);
  const pattern_3d p(h, v, static_cast<method_3d>(method));
  if (!(p.floor_db() <= 0.0)) std::abort();
  for (double el = -90.0; el <= 90.0; el += 7.5)
    for (double az = -180.0; az <= 180.0; az += 7.5) {
      const double g = p.gain(az, el);
      if (!std::isfinite(g) || g > 0.0 || g < p.floor_db()) std::abort();
    }
  for (double odd : {double(NAN), double(INFINITY), -double(INFINITY), 1e300, -1e300}) {
    const double g = p.gain(odd, odd);
    if (!std::isfinite(g) && !std::isnan(p.floor_db())) std::abort();
  }
  return 0;
}
