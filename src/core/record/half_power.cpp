#include "core/record/half_power.h"

#include <cmath>

namespace lobe {

namespace {

bool crossing_between(float a0, float s0, float a1, float s1, float level, level_crossing& out) {
  const bool below0 = s0 < level, below1 = s1 < level;
  if (below0 == below1) return false;
  const float t = (level - s0) / (s1 - s0);
  out = {a0 + t * (a1 - a0), !below1};
  return true;
}

}  // namespace

std::vector<level_crossing> level_crossings(const cut_data_type& cut, float level, float gap_level) {
  std::vector<level_crossing> out;
  const int n = stored_points(cut);
  auto usable = [&](int i) { return std::isfinite(cut.angle[i]) && std::isfinite(cut.signal[i]) && cut.signal[i] < gap_level; };
  for (int i = 0; i + 1 < n; ++i) {
    if (cut.angle[i] == END_MARKER || cut.angle[i + 1] == END_MARKER) break;
    level_crossing c{};
    if (usable(i) && usable(i + 1) &&
        crossing_between(cut.angle[i], cut.signal[i], cut.angle[i + 1], cut.signal[i + 1], level, c))
      out.push_back(c);
  }
  if (n >= 3 && usable(0) && usable(n - 1)) {
    const float step = cut.angle[1] - cut.angle[0];
    const float first_again = cut.angle[0] + 360.0f;
    // The join of a full circle: last sample, then the first one again.
    if (step > 0.0f && std::fabs(first_again - cut.angle[n - 1] - step) < 1e-3f) {
      level_crossing c{};
      if (crossing_between(cut.angle[n - 1], cut.signal[n - 1], first_again, cut.signal[0], level, c)) {
        if (c.angle >= first_again) c.angle -= 360.0f;
        out.push_back(c);
      }
    }
  }
  return out;
}

}  // namespace lobe
