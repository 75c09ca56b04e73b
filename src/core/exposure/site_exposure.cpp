#include "core/exposure/site_exposure.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>
#include <thread>
#include <numbers>

namespace lobe {

namespace {

double deg(double rad) { return rad * RADN; }
double rad(double deg) { return deg / RADN; }

struct band {
  double from_mhz, to_mhz;
  double a, p;  // limit = a * f^p (W/m2, f in MHz)
};

// How a table writes its rows' edges: ICNIRP's rows run from above their
// lower edge up to their upper edge inclusive (">30-400 MHz"); the FCC's
// include their lower edge, and the last row its upper edge too.
struct band_table {
  bool lower_edge_excluded;
  std::vector<band> bands;
};

// ICNIRP (2020) Table 5, whole-body exposure averaged over 30 minutes,
// incident power density; FCC 47 CFR 1.1310 Table 1, converted from mW/cm2.
const band_table& bands_of(exposure_standard s) {
  static const band_table icnirp_public = {true, {{30, 400, 2, 0}, {400, 2000, 1.0 / 200, 1}, {2000, 300000, 10, 0}}};
  static const band_table icnirp_occupational = {
      true, {{30, 400, 10, 0}, {400, 2000, 1.0 / 40, 1}, {2000, 300000, 50, 0}}};
  static const band_table fcc_public = {false,
                                        {{0.3, 1.34, 1000, 0},
                                         {1.34, 30, 1800, -2},
                                         {30, 300, 2, 0},
                                         {300, 1500, 10.0 / 1500, 1},
                                         {1500, 100000, 10, 0}}};
  static const band_table fcc_occupational = {false,
                                              {{0.3, 3, 1000, 0},
                                               {3, 30, 9000, -2},
                                               {30, 300, 10, 0},
                                               {300, 1500, 10.0 / 300, 1},
                                               {1500, 100000, 50, 0}}};
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
  const band_table& t = bands_of(s);
  for (const band& b : t.bands) {
    const bool last = &b == &t.bands.back();
    const bool inside = t.lower_edge_excluded ? mhz > b.from_mhz && mhz <= b.to_mhz
                                              : mhz >= b.from_mhz && (mhz < b.to_mhz || (last && mhz == b.to_mhz));
    if (inside) return b.a * std::pow(mhz, b.p);
  }
  return std::nullopt;
}

double site_antenna::eirp_w() const { return power_w * std::pow(10.0, (gain_dbi - loss_db) / 10.0); }

antenna_frame::antenna_frame(double azimuth, double downtilt)
    : sin_az_(std::sin(rad(azimuth))),
      cos_az_(std::cos(rad(azimuth))),
      sin_t_(std::sin(rad(downtilt))),
      cos_t_(std::cos(rad(downtilt))) {}

antenna_direction antenna_frame::direction(double dx, double dy, double dz) const {
  // The site frame seen from the antenna: forward along its azimuth, right of
  // it, and up.
  const double forward = dx * sin_az_ + dy * cos_az_;
  const double right = dx * cos_az_ - dy * sin_az_;
  const double up = dz;
  // The panel is turned down by the tilt about its right-hand axis: its
  // boresight points down by t, its own "up" leans forward.
  const double f = forward * cos_t_ - up * sin_t_;
  const double u = forward * sin_t_ + up * cos_t_;
  return {deg(std::atan2(right, f)), deg(std::atan2(-u, std::hypot(f, right)))};
}

antenna_direction antenna_frame_direction(double dx, double dy, double dz, double azimuth, double downtilt) {
  return antenna_frame(azimuth, downtilt).direction(dx, dy, dz);
}

double site_antenna::gain_towards(const antenna_frame& frame, double dx, double dy, double dz) const {
  if (!pattern) return 1.0;
  const antenna_direction d = frame.direction(dx, dy, dz);
  return std::pow(10.0, pattern->gain(d.azimuth, d.elevation) / 10.0);
}

double site_antenna::power_density(double px, double py, double pz, bool ground_reflection) const {
  const double dx = px - x, dy = py - y, dz = pz - height;
  const double r2 = dx * dx + dy * dy + dz * dz;
  if (!(r2 >= 1e-8)) return INFINITY;
  return eirp_w() * gain_towards(antenna_frame(azimuth, downtilt), dx, dy, dz) *
         (ground_reflection ? FCC_GROUND_REFLECTION : 1.0) / (4.0 * std::numbers::pi * r2);
}

double site::total_exposure_ratio(double x, double y, double z) const {
  double ter = 0.0;
  for (const site_antenna& a : antennas) {
    const auto limit = power_density_limit(standard, a.frequency_mhz);
    if (limit) ter += a.power_density(x, y, z, ground_reflection) / *limit;
  }
  return ter;
}

namespace {

// The outward search's distances: from 1 cm in 2 % steps to the search limit.
const std::vector<double>& search_steps() {
  static const std::vector<double> steps = [] {
    std::vector<double> r;
    for (double d = 0.01; d < BOUNDARY_SEARCH_LIMIT_M; d *= 1.02) r.push_back(d);
    return r;
  }();
  return steps;
}

// Decides whether the total exposure ratio at a point is 1 or more without
// summing every antenna where it need not: an antenna's share is at most its
// peak-gain share, so when those bounds add up to less than 1 the answer is
// no, and otherwise the exact shares are added until the answer is sure.
class ter_decider {
 public:
  explicit ter_decider(const site& s) : s_(s) {
    for (const site_antenna& a : s.antennas) {
      const auto limit = power_density_limit(s.standard, a.frequency_mhz);
      const double k = limit ? a.eirp_w() * (s.ground_reflection ? FCC_GROUND_REFLECTION : 1.0) /
                                   (4.0 * std::numbers::pi * *limit)
                             : 0.0;
      peak_share_.push_back(std::isfinite(k) ? k : 0.0);
      total_ += peak_share_.back();
      frames_.emplace_back(a.azimuth, a.downtilt);
    }
    d2_.resize(s.antennas.size());
  }
  double total_peak_share() const { return total_; }

  bool at_least_one(double x, double y, double z, std::size_t first) {
    double bound = 0.0;
    const std::size_t n = peak_share_.size();
    for (std::size_t j = 0; j < n; ++j) {
      const site_antenna& a = s_.antennas[j];
      const double dx = x - a.x, dy = y - a.y, dz = z - a.height;
      d2_[j] = dx * dx + dy * dy + dz * dz;
      bound += peak_share_[j] / d2_[j];
    }
    if (bound < 1.0) return false;
    // The antenna whose ray this is first: near it, it carries most.
    double exact = 0.0, rest = bound;
    for (std::size_t k = 0; k < n; ++k) {
      const std::size_t j = k == 0 ? first : (k <= first ? k - 1 : k);
      if (peak_share_[j] == 0.0) continue;
      const double peak = peak_share_[j] / d2_[j];
      rest -= peak;
      const site_antenna& a = s_.antennas[j];
      exact += peak * a.gain_towards(frames_[j], x - a.x, y - a.y, z - a.height);
      if (exact >= 1.0) return true;
      if (exact + rest * (1.0 + 1e-9) < 1.0) return false;
    }
    return exact >= 1.0;
  }

 private:
  const site& s_;
  std::vector<double> peak_share_, d2_;
  std::vector<antenna_frame> frames_;
  double total_ = 0.0;
};

// How far from antenna `a` along the unit vector (ux, uy, uz) the ratio
// stays at 1 or above; nothing is inside past `clear`.
double reach(const site& s, ter_decider& ter, std::size_t a, double clear, double ux, double uy, double uz) {
  const site_antenna& ant = s.antennas[a];
  auto inside_at = [&](double r) {
    return ter.at_least_one(ant.x + r * ux, ant.y + r * uy, ant.height + r * uz, a);
  };
  // The outermost step still inside, searched from the outside in; then halved down to a millimetre.
  const std::vector<double>& steps = search_steps();
  std::size_t k = static_cast<std::size_t>(std::lower_bound(steps.begin(), steps.end(), clear) - steps.begin());
  while (k > 0 && !inside_at(steps[k - 1])) --k;
  if (k == 0) return 0.0;
  if (k == steps.size()) return BOUNDARY_SEARCH_LIMIT_M;
  double inside = steps[k - 1], outside = inside * 1.02;
  while (outside - inside > 0.001) {
    const double mid = (inside + outside) / 2.0;
    (inside_at(mid) ? inside : outside) = mid;
  }
  return inside;
}

compliance_boundary boundary_with(const site& s, ter_decider& ter, std::size_t a) {
  const site_antenna& ant = s.antennas[a];
  // Past every antenna's distance from this one plus the radius at which all
  // of them together at peak gain fall below the limit, nothing is inside.
  double farthest = 0.0;
  for (const site_antenna& o : s.antennas)
    farthest = std::max(farthest, std::sqrt((o.x - ant.x) * (o.x - ant.x) + (o.y - ant.y) * (o.y - ant.y) +
                                            (o.height - ant.height) * (o.height - ant.height)));
  const double clear = farthest + std::sqrt(ter.total_peak_share()) * 1.001 + 0.001;
  const double az = rad(ant.azimuth);
  const double fx = std::sin(az), fy = std::cos(az);
  return {reach(s, ter, a, clear, fx, fy, 0),  reach(s, ter, a, clear, -fx, -fy, 0),
          reach(s, ter, a, clear, -fy, fx, 0), reach(s, ter, a, clear, fy, -fx, 0),
          reach(s, ter, a, clear, 0, 0, 1),    reach(s, ter, a, clear, 0, 0, -1)};
}

}  // namespace

compliance_boundary boundary_of(const site& s, int a) {
  ter_decider ter(s);
  return boundary_with(s, ter, static_cast<std::size_t>(a));
}

std::vector<compliance_boundary> boundaries_of(const site& s, const std::function<void(int, int)>& progress) {
  const std::size_t n = s.antennas.size();
  std::vector<compliance_boundary> out(n);
  std::atomic<std::size_t> next{0}, done{0};
  std::mutex report;
  auto work = [&] {
    ter_decider ter(s);
    for (std::size_t a = next++; a < n; a = next++) {
      out[a] = boundary_with(s, ter, a);
      const std::size_t finished = ++done;
      if (progress) {
        const std::lock_guard<std::mutex> lock(report);
        progress(static_cast<int>(finished), static_cast<int>(n));
      }
    }
  };
  // This thread works too; the others help where there are cores and antennas for them.
  const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
  std::vector<std::thread> threads;
  for (std::size_t t = 1; t < std::min(cores, n); ++t) threads.emplace_back(work);
  work();
  for (std::thread& t : threads) t.join();
  return out;
}

}  // namespace lobe
