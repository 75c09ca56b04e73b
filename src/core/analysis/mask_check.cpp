#include "core/analysis/mask_check.h"

#include <algorithm>
#include <cmath>

#include "core/text/c_numeric.h"

namespace lobe {

namespace {

struct mask_point {
  double angle, level;
};

// The mask's outline over 0..180 degrees, built as the overlay draws it: the
// first row from 0 dB at 0 degrees, each further row a level from its first
// to its last angle, straight lines between rows, and a row starting beyond
// 180 degrees only as the direction of the last line.
std::vector<mask_point> outline(const envelope_data_type& env) {
  std::vector<mask_point> pts;
  const int rows = count_in(env.nupoin, MAX_ENV_SAMPLES);
  if (rows == 0) return pts;
  const double a1 = env.angle1[0], a2 = env.angle2[0], s = env.signal[0];
  if (s >= 0.001) {
    pts = {{0, 0}, {a1, 0}, {a1, s}, {a2, s}};
  } else {
    pts = {{0, 0}, {a2, 0}};
  }
  for (int i = 1; i < rows; ++i) {
    const double b1 = env.angle1[i], b2 = env.angle2[i], level = env.signal[i];
    if (b1 > 180.0) {
      pts.push_back({b1, level});  // the last line runs toward it, and is read up to 180
      break;
    }
    pts.push_back({b1, level});
    pts.push_back({std::min(b2, 180.0), level});
  }
  return pts;
}

double fold(double angle) {
  double a = std::fmod(angle, 360.0);
  if (a < 0.0) a += 360.0;
  return a > 180.0 ? 360.0 - a : a;
}

std::optional<double> level_on(const std::vector<mask_point>& pts, double a) {
  std::optional<double> lowest;  // the smallest attenuation of the lines through a
  for (std::size_t i = 1; i < pts.size(); ++i) {
    const mask_point p = pts[i - 1], q = pts[i];
    const double lo = std::min(p.angle, q.angle), hi = std::max(p.angle, q.angle);
    if (a < lo || a > hi) continue;
    const double level = q.angle == p.angle ? std::min(p.level, q.level)
                                            : p.level + (q.level - p.level) * (a - p.angle) / (q.angle - p.angle);
    if (!lowest || level < *lowest) lowest = level;
  }
  return lowest;
}

// Runs of consecutive points that share a property, as ranges of their angles.
struct run_collector {
  std::vector<angle_range>& out;
  bool open = false;
  void add(bool in, double angle) {
    if (in && !open) out.push_back({angle, angle});
    if (in) out.back().second = angle;
    open = in;
  }
};

}  // namespace

std::optional<double> mask_level(const envelope_data_type& env, double angle) {
  if (!std::isfinite(angle)) return std::nullopt;
  return level_on(outline(env), fold(angle));
}

mask_verdict check_cut(const cut_data_type& cut, const envelope_data_type& env) {
  mask_verdict v;
  const std::vector<mask_point> pts = outline(env);
  run_collector failing{v.failing}, gaps{v.gaps};
  const int n = points_to_write(cut);
  for (int p = 0; p < n; ++p) {
    const double angle = cut.angle[p], level = cut.signal[p];
    const std::optional<double> mask = std::isfinite(angle) ? level_on(pts, fold(angle)) : std::nullopt;
    const bool gap = mask && !(level < GAP_LEVEL);  // no reading (or no number) where the mask asks for one
    gaps.add(gap, angle);
    if (!mask || gap) {
      failing.add(false, angle);
      continue;
    }
    const double margin = level - *mask;  // dB below the peak, pattern minus mask: positive is inside
    ++v.checked;
    if (!v.worst_margin_db || margin < *v.worst_margin_db) {
      v.worst_margin_db = margin;
      v.worst_angle = angle;
    }
    const bool fails = margin < -MASK_MARGIN_EPSILON_DB;
    failing.add(fails, angle);
    if (fails) v.failing_angles.push_back(angle);
  }
  if (!v.failing.empty())
    v.outcome = mask_outcome::fail;
  else if (!v.gaps.empty())
    v.outcome = mask_outcome::incomplete;
  else if (v.checked > 0)
    v.outcome = mask_outcome::pass;
  return v;
}

std::vector<mask_verdict> check_pattern(const antenna_data_type& pd, const pattern_flags_type& flags,
                                        const envelope_data_type& env) {
  std::vector<mask_verdict> out;
  for (int f = 0; f < count_in(pd.nofreq, MAX_FREQ); ++f)
    for (int c = 0; c < count_in(pd.freq[f].numcut, MAX_CUTS); ++c) {
      if (!cut_is_shown(flags, f, c) || points_to_write(pd.freq[f].cut[c]) == 0) continue;
      mask_verdict v = check_cut(pd.freq[f].cut[c], env);
      v.freq = f;
      v.cut = c;
      out.push_back(std::move(v));
    }
  return out;
}

namespace {
std::string ranges_text(const std::vector<angle_range>& ranges) {
  std::string out;
  for (const auto& [a, b] : ranges) {
    if (!out.empty()) out += ", ";
    out += a == b ? c_format("%.1f", a) : c_format("%.1f..%.1f", a, b);
  }
  return out;
}
}  // namespace

std::string verdict_line(const antenna_data_type& pd, const mask_verdict& v) {
  const cut_data_type& cut = pd.freq[v.freq].cut[v.cut];
  std::string line = c_format("%s MHz %s %s: %s", pd.freq[v.freq].patfre, cut.patcut, cut.polari, outcome_name(v.outcome));
  if (v.worst_margin_db) line += c_format(", worst margin %.2f dB at %.1f deg", *v.worst_margin_db, *v.worst_angle);
  if (!v.failing.empty()) line += "; fails at " + ranges_text(v.failing);
  if (!v.gaps.empty()) line += "; no reading at " + ranges_text(v.gaps);
  return line + "\n";
}

const char* outcome_name(mask_outcome o) {
  switch (o) {
    case mask_outcome::pass: return "pass";
    case mask_outcome::fail: return "fail";
    case mask_outcome::incomplete: return "incomplete";
    case mask_outcome::unchecked: return "unchecked";
  }
  return "unchecked";
}

}  // namespace lobe
