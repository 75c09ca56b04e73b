// A full 3D pattern from a horizontal and a vertical cut (docs/EXPOSURE.md).
// Azimuth phi from boresight (positive clockwise seen from above), elevation
// theta below the horizon (positive down), both in degrees; gains in dB
// relative to the peak.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "core/record/pattern_record.h"

namespace lobe {

enum class method_3d { summing, weighted, hybrid };

// The hybrid method's order n: how fast it hands over from summing near the
// beam to cross-weighting away from it.
inline constexpr double HYBRID_ORDER = 3.5;

// "summing", "weighted" or "hybrid".
std::optional<method_3d> method_3d_named(const std::string& name);

// A grid of `step` degrees: the number of steps in 180 degrees, when the
// step is from 0.1 to 45 and divides 180 into whole steps (each grid angle
// is then i x 180 / n, never a sum of steps); nothing otherwise.
std::optional<int> grid_steps(double step);

class pattern_3d {
 public:
  // `floor_db`: no direction is lower (default: the deeper of the two cuts'
  // lowest levels). No direction is above the peak (0 dB) either.
  pattern_3d(const cut_data_type& horizontal, const cut_data_type& vertical, method_3d method,
             std::optional<double> floor_db = std::nullopt);
  double gain(double azimuth, double elevation) const;
  double floor_db() const { return floor_; }

 private:
  double h_[360], v_[181];  // the cuts at whole degrees, dB relative to their own peaks
  double floor_ = -100.0;
  method_3d method_;
  double horizontal(double azimuth) const;
  double vertical(double elevation) const;
};

// The first frequency of a pattern that has a horizontal and a vertical cut,
// nearest to `mhz`, as a 3D pattern; false when the pattern has no such pair.
bool pattern_3d_of(const antenna_data_type& pd, double mhz, method_3d method, std::shared_ptr<const pattern_3d>& out);

}  // namespace lobe
