// RF exposure of a site of several antennas, far field, against a named
// standard's power-density limits (docs/EXPOSURE.md).
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/exposure/pattern3d.h"

namespace lobe {

enum class exposure_standard { icnirp2020_public, icnirp2020_occupational, fcc_public, fcc_occupational };

// "icnirp2020-public", "icnirp2020-occupational", "fcc-public", "fcc-occupational".
std::optional<exposure_standard> exposure_standard_named(const std::string& name);
const char* exposure_standard_name(exposure_standard s);
// The standard as a picture names it.
const char* exposure_standard_title(exposure_standard s);
// The power-density reference level in W/m2 at `mhz`; none outside the table.
std::optional<double> power_density_limit(exposure_standard s, double mhz);

// The FCC method's ground reflection: the field up to 1.6 times, the power density 2.56 times.
inline constexpr double FCC_GROUND_REFLECTION = 2.56;

// A direction in an antenna's own frame, in degrees: azimuth from its
// boresight (positive clockwise seen from above), elevation below its
// boresight's horizon (positive down), as its cuts give them.
struct antenna_direction {
  double azimuth, elevation;
};

// The direction (dx east, dy north, dz up) in the frame of an antenna facing
// `azimuth` (clockwise from north) and mechanically tilted down by
// `downtilt`: the panel turned about its horizontal axis at right angles to
// its boresight, so that the side directions keep their elevation, the front
// goes down by the tilt and the back comes up by it.
antenna_direction antenna_frame_direction(double dx, double dy, double dz, double azimuth, double downtilt);

// The same with the turn's sines worked out once, for many directions.
class antenna_frame {
 public:
  antenna_frame(double azimuth, double downtilt);
  antenna_direction direction(double dx, double dy, double dz) const;

 private:
  double sin_az_, cos_az_, sin_t_, cos_t_;
};

// Coordinates in metres: x east, y north, z up. Azimuth clockwise from north,
// downtilt below the horizon, in degrees.
struct site_antenna {
  std::string pattern_file;  // "" for an isotropic source
  double frequency_mhz = 0, power_w = 0, loss_db = 0, gain_dbi = 0;
  double x = 0, y = 0, height = 0, azimuth = 0, downtilt = 0;
  std::shared_ptr<const pattern_3d> pattern;  // null: isotropic
  double eirp_w() const;
  // The gain towards (dx, dy, dz) relative to the peak, in linear power
  // (1 for an isotropic source).
  double gain_towards(const antenna_frame& frame, double dx, double dy, double dz) const;
  // Power density (W/m2) at a point, far field.
  double power_density(double px, double py, double pz, bool ground_reflection) const;
};

struct site {
  exposure_standard standard = exposure_standard::icnirp2020_public;
  bool ground_reflection = false;
  std::vector<site_antenna> antennas;
  // Total exposure ratio: the sum over the antennas of their power density
  // over their band's limit.
  double total_exposure_ratio(double x, double y, double z) const;
};

// How far out a compliance boundary is looked for; a boundary that reaches
// it is reported as lying beyond it, not as a distance.
inline constexpr double BOUNDARY_SEARCH_LIMIT_M = 10000.0;
// The most antennas a site may hold.
inline constexpr std::size_t MAX_SITE_ANTENNAS = 2000;

// How far from antenna `a` the total exposure ratio stays at 1 or above,
// along six rays: front (its azimuth), back, left, right (horizontal), above
// and below (vertical). 0 where even 1 cm away it is below 1;
// BOUNDARY_SEARCH_LIMIT_M where it is 1 or above as far as the search goes.
struct compliance_boundary {
  double front, back, left, right, above, below;
};
compliance_boundary boundary_of(const site& s, int a);
// Every antenna's boundary, on every core; `progress` (may be empty) is told
// each time one more antenna is done, with the count done and the total.
std::vector<compliance_boundary> boundaries_of(const site& s, const std::function<void(int, int)>& progress = {});

}  // namespace lobe
