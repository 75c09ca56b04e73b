// The antenna the range simulator measures: a directional pattern whose
// level in volts depends on the bearing and, a little, on the frequency.
#pragma once

#include <cmath>

namespace lobe::rangesim {

inline double pattern_volts(int bearing, double freq_hz) {
  const double t = bearing * 3.14159265358979323846 / 180.0;
  const double lobe = (1.0 + std::cos(t)) / 2.0;
  const double tilt = 1.0 + (freq_hz / 1e6 - 450.0) / 10000.0;
  return 1e-3 * tilt * (0.05 + 0.95 * lobe * lobe);
}

}  // namespace lobe::rangesim
