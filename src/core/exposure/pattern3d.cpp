#include "core/exposure/pattern3d.h"

#include <algorithm>
#include <cmath>

#include "core/analysis/cut_parameters.h"
#include "core/text/c_numeric.h"

namespace lobe {

namespace {

// Linear interpolation in a table of whole degrees starting at `first`.
double interpolate(const double* table, int size, double first, double at) {
  const double x = std::clamp(at - first, 0.0, static_cast<double>(size - 1));
  const int i = std::min(static_cast<int>(x), size - 2);
  return table[i] + (x - i) * (table[i + 1] - table[i]);
}

}  // namespace

std::optional<method_3d> method_3d_named(const std::string& name) {
  if (name == "summing") return method_3d::summing;
  if (name == "weighted") return method_3d::weighted;
  if (name == "hybrid") return method_3d::hybrid;
  return std::nullopt;
}

std::optional<int> grid_steps(double step) {
  const double steps = 180.0 / step;
  if (!(step >= 0.1 && step <= 45.0) || std::fabs(steps - std::round(steps)) > 1e-9 * steps) return std::nullopt;
  return static_cast<int>(std::lround(steps));
}

pattern_3d::pattern_3d(const cut_data_type& horizontal, const cut_data_type& vertical, method_3d method,
                       std::optional<double> floor_db)
    : method_(method) {
  double lowest = 0.0;
  // A direction the cut does not cover is as low as the cut goes.
  auto fill = [&](const cut_data_type& cut, double* table, int size, double first) {
    const auto levels = levels_at(cut, first, size);
    double low = 0.0;
    for (const auto& l : levels)
      if (l) low = std::min(low, *l);
    for (int i = 0; i < size; ++i) table[i] = levels[static_cast<std::size_t>(i)].value_or(low);
    lowest = std::min(lowest, low);
  };
  fill(horizontal, h_, 360, -180.0);
  fill(vertical, v_, 181, -90.0);
  floor_ = std::min(0.0, floor_db.value_or(lowest));
}

double pattern_3d::horizontal(double azimuth) const {
  const double a = std::remainder(azimuth, 360.0);
  // Round the join: 179 to -180.
  if (a >= 179.0) return h_[359] + (a - 179.0) * (h_[0] - h_[359]);
  return interpolate(h_, 360, -180.0, a);
}

double pattern_3d::vertical(double elevation) const { return interpolate(v_, 181, -90.0, elevation); }

double pattern_3d::gain(double azimuth, double elevation) const {
  if (!std::isfinite(azimuth) || !std::isfinite(elevation)) return floor_;
  const double gh = horizontal(azimuth), gv = vertical(elevation);
  // Summing: the two attenuations add, each cut normalised to its own peak.
  const double summed = gh + gv;
  // Cross-weighted: each cut's gain weighted by how far the direction lies
  // from the other cut's plane, in linear power, normalised with order 2.
  const double h = std::min(1.0, std::pow(10.0, gh / 10.0)), v = std::min(1.0, std::pow(10.0, gv / 10.0));
  const double w1 = v * (1.0 - h), w2 = h * (1.0 - v);
  const double norm = std::hypot(w1, w2);
  double g = 0.0;
  if (method_ == method_3d::summing) {
    g = summed;
  } else {
    const double weighted = norm > 0.0 ? (gh * w1 + gv * w2) / norm : 0.0;
    if (method_ == method_3d::weighted) {
      g = weighted;
    } else {
      // Hybrid: summing near the main beam, cross-weighted away from it.
      const double w3 = std::pow(h * v, 1.0 / HYBRID_ORDER);
      g = summed * w3 + weighted * (1.0 - w3);
    }
  }
  return std::clamp(g, floor_, 0.0);
}

bool pattern_3d_of(const antenna_data_type& pd, double mhz, method_3d method, std::shared_ptr<const pattern_3d>& out) {
  int best = -1, h = -1, v = -1;
  double best_distance = INFINITY;
  for (int f = 0; f < count_in(pd.nofreq, MAX_FREQ); ++f) {
    int fh = -1, fv = -1;
    for (int c = 0; c < count_in(pd.freq[f].numcut, MAX_CUTS); ++c) {
      // A cut of fewer than two points is no cut to build a pattern from (it would read as isotropic).
      const cut_data_type& cut = pd.freq[f].cut[c];
      if (points_to_write(cut) < 2) continue;
      if (fh < 0 && is_horizontal_cut(cut.patcut)) fh = c;
      if (fv < 0 && is_vertical_cut(cut.patcut)) fv = c;
    }
    double fmhz = 0.0;
    const double distance = c_sscanf(pd.freq[f].patfre, "%lf", &fmhz) == 1 ? std::fabs(fmhz - mhz) : 1e12;
    if (fh >= 0 && fv >= 0 && distance < best_distance) best = f, h = fh, v = fv, best_distance = distance;
  }
  if (best < 0) return false;
  out = std::make_shared<pattern_3d>(pd.freq[best].cut[h], pd.freq[best].cut[v], method);
  return true;
}

}  // namespace lobe
