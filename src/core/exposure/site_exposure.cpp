#include "core/exposure/site_exposure.h"

#include <cmath>
#include <numbers>

namespace lobe {

namespace {

double deg(double rad) { return rad * RADN; }
double rad(double deg) { return deg / RADN; }

struct band {
  double from_mhz, to_mhz;  // from included, to excluded
  double a, p;              // limit = a * f^p (W/m2, f in MHz)
};

// ICNIRP (2020) Table 5, whole-body exposure averaged over 30 minutes,
// incident power density; FCC 47 CFR 1.1310 Table 1, converted from mW/cm2.
const std::vector<band>& bands_of(exposure_standard s) {
  static const std::vector<band> icnirp_public = {{30, 400, 2, 0}, {400, 2000, 1.0 / 200, 1}, {2000, 300000, 10, 0}};
  static const std::vector<band> icnirp_occupational = {
      {30, 400, 10, 0}, {400, 2000, 1.0 / 40, 1}, {2000, 300000, 50, 0}};
  static const std::vector<band> fcc_public = {{0.3, 1.34, 1000, 0},      {1.34, 30, 1800, -2},
                                               {30, 300, 2, 0},           {300, 1500, 10.0 / 1500, 1},
                                               {1500, 100000, 10, 0}};
  static const std::vector<band> fcc_occupational = {{0.3, 3, 1000, 0},      {3, 30, 9000, -2},
                                                     {30, 300, 10, 0},        {300, 1500, 10.0 / 300, 1},
                                                     {1500, 100000, 50, 0}};
  switch (s) {
    case exposure_standard::icnirp2020_public: return icnirp_public;
    case exposure_standard::icnirp2020_occupational: return icnirp_occupational;
    case exposure_standard::fcc_public: return fcc_public;
    default: return fcc_occupational;
  }
}

}  // namespace

std::optional<exposure_standard> exposure_standard_named(const std::string& name) {
  for (auto s : {exposure_standard::icnirp2020_public, exposure_standard::icnirp2020_occupational,
                 exposure_standard::fcc_public, exposure_standard::fcc_occupational})
    if (name == exposure_standard_name(s)) return s;
  return std::nullopt;
}

const char* exposure_standard_name(exposure_standard s) {
  switch (s) {
    case exposure_standard::icnirp2020_public: return "icnirp2020-public";
    case exposure_standard::icnirp2020_occupational: return "icnirp2020-occupational";
    case exposure_standard::fcc_public: return "fcc-public";
    default: return "fcc-occupational";
  }
}

const char* exposure_standard_title(exposure_standard s) {
  switch (s) {
    case exposure_standard::icnirp2020_public: return "ICNIRP 2020, general public";
    case exposure_standard::icnirp2020_occupational: return "ICNIRP 2020, occupational";
    case exposure_standard::fcc_public: return "FCC 47 CFR 1.1310, general population";
    default: return "FCC 47 CFR 1.1310, occupational";
  }
}

std::optional<double> power_density_limit(exposure_standard s, double mhz) {
  for (const band& b : bands_of(s))
    if (mhz >= b.from_mhz && mhz < b.to_mhz) return b.a * std::pow(mhz, b.p);
  return std::nullopt;
}

double site_antenna::eirp_w() const { return power_w * std::pow(10.0, (gain_dbi - loss_db) / 10.0); }

double site_antenna::power_density(double px, double py, double pz, bool ground_reflection) const {
  const double dx = px - x, dy = py - y, dz = pz - height;
  const double r2 = dx * dx + dy * dy + dz * dz;
  if (r2 < 1e-8) return INFINITY;
  double relative = 0.0;  // dB
  if (pattern) {
    const double bearing = deg(std::atan2(dx, dy));
    const double below = deg(std::atan2(-dz, std::hypot(dx, dy)));
    relative = pattern->gain(bearing - azimuth, below - downtilt);
  }
  return eirp_w() * std::pow(10.0, relative / 10.0) * (ground_reflection ? FCC_GROUND_REFLECTION : 1.0) /
         (4.0 * std::numbers::pi * r2);
}

double site::total_exposure_ratio(double x, double y, double z) const {
  double ter = 0.0;
  for (const site_antenna& a : antennas) {
    const auto limit = power_density_limit(standard, a.frequency_mhz);
    if (limit) ter += a.power_density(x, y, z, ground_reflection) / *limit;
  }
  return ter;
}

compliance_boundary boundary_of(const site& s, int a) {
  const site_antenna& ant = s.antennas[static_cast<std::size_t>(a)];
  auto reach = [&](double ux, double uy, double uz) {
    auto ter = [&](double r) { return s.total_exposure_ratio(ant.x + r * ux, ant.y + r * uy, ant.height + r * uz); };
    // Outward in 2 % steps to 10 km; the last step still at 1 or above is then halved down to a millimetre.
    double inside = 0.0, r = 0.01;
    for (; r < 10000.0; r *= 1.02)
      if (ter(r) >= 1.0) inside = r;
    if (inside == 0.0) return 0.0;
    double outside = inside * 1.02;
    while (outside - inside > 0.001) {
      const double mid = (inside + outside) / 2.0;
      (ter(mid) >= 1.0 ? inside : outside) = mid;
    }
    return inside;
  };
  const double az = rad(ant.azimuth);
  const double fx = std::sin(az), fy = std::cos(az);
  return {reach(fx, fy, 0), reach(-fx, -fy, 0), reach(-fy, fx, 0), reach(fy, -fx, 0), reach(0, 0, 1), reach(0, 0, -1)};
}

}  // namespace lobe
