#include "core/analysis/pattern_compare.h"

#include <algorithm>
#include <cmath>
#include <strings.h>

#include "core/analysis/cut_parameters.h"
#include "core/text/c_numeric.h"

namespace lobe {

namespace {

std::optional<double> frequency_of(const freq_data_type& fr) {
  double mhz = 0.0;
  if (c_sscanf(fr.patfre, "%lf", &mhz) != 1 || !std::isfinite(mhz) || mhz <= 0.0) return std::nullopt;
  return mhz;
}

bool has_points(const cut_data_type& cut) { return points_to_write(cut) > 0; }

// Same orientation, and the same polarisation where both name one.
bool same_kind(const cut_data_type& a, const cut_data_type& b) {
  if (is_vertical_cut(a.patcut) != is_vertical_cut(b.patcut)) return false;
  return a.polari[0] == '\0' || b.polari[0] == '\0' || strcasecmp(a.polari, b.polari) == 0;
}

// The reference cut for a measured one: the same kind at the nearest
// frequency within the tolerance; of equal ones the first.
std::optional<std::pair<int, int>> match(const antenna_data_type& ref, const cut_data_type& cut, double mhz,
                                         double tolerance) {
  std::optional<std::pair<int, int>> best;
  double best_distance = 0.0;
  for (int f = 0; f < count_in(ref.nofreq, MAX_FREQ); ++f) {
    const std::optional<double> r = frequency_of(ref.freq[f]);
    if (!r || std::fabs(*r - mhz) > tolerance * mhz) continue;
    for (int c = 0; c < count_in(ref.freq[f].numcut, MAX_CUTS); ++c) {
      const cut_data_type& rc = ref.freq[f].cut[c];
      if (!has_points(rc) || !same_kind(cut, rc)) continue;
      if (!best || std::fabs(*r - mhz) < best_distance) {
        best = {f, c};
        best_distance = std::fabs(*r - mhz);
      }
    }
  }
  return best;
}

// Whether `angle` lies in the main lobe: between the reference's 10 dB
// crossings (which may straddle 180), or anywhere when it has none.
bool in_main_lobe(const cut_parameters& ref, double angle) {
  if (!ref.bw10_left || !ref.bw10_right) return true;
  const double a = wrap180(angle), l = *ref.bw10_left, r = *ref.bw10_right;
  return l <= r ? a >= l && a <= r : a >= l || a <= r;
}

struct accumulator {
  double sum_sq = 0.0;
  deviation_stats stats;
  void add(double deviation, double angle) {
    ++stats.points;
    sum_sq += deviation * deviation;
    if (!stats.largest_db || std::fabs(deviation) > std::fabs(*stats.largest_db)) {
      stats.largest_db = deviation;
      stats.largest_angle = angle;
    }
  }
  deviation_stats done() {
    if (stats.points > 0) stats.rms_db = std::sqrt(sum_sq / stats.points);
    return stats;
  }
};

std::optional<double> stronger_sidelobe(const cut_parameters& p) {
  std::optional<double> out;
  for (const auto& lobe : {p.first_sidelobe_left, p.first_sidelobe_right})
    if (lobe && (!out || lobe->level > *out)) out = lobe->level;
  return out;
}

std::vector<parameter_delta> parameter_deltas(const cut_parameters& m, const cut_parameters& r) {
  return {{"hpbw", m.hpbw, r.hpbw},
          {"bw10", m.bw10, r.bw10},
          {"front_to_back", m.front_to_back, r.front_to_back},
          {"tilt", m.tilt, r.tilt},
          {"peak_angle", m.peak_angle, r.peak_angle},
          {"first_sidelobe", stronger_sidelobe(m), stronger_sidelobe(r)}};
}

cut_comparison compare_cut(const antenna_data_type& measured, int f, int c, const antenna_data_type& reference, int rf,
                           int rc, const compare_options& options) {
  const cut_parameters mp = analyse_cut_of(measured, f, c), rp = analyse_cut_of(reference, rf, rc);
  accumulator lobe, floor;
  for (const deviation_point& d : deviation_curve(measured, f, c, reference, rf, rc, options)) {
    if (d.main_lobe) lobe.add(d.deviation, d.angle);
    if (d.above_floor) floor.add(d.deviation, d.angle);
  }
  cut_comparison out{f, c, rf, rc, lobe.done(), floor.done(), parameter_deltas(mp, rp), false};
  out.pass = out.main_lobe.rms_db && *out.main_lobe.rms_db <= options.tolerance_db;
  return out;
}

}  // namespace

std::vector<deviation_point> deviation_curve(const antenna_data_type& measured, int f, int c,
                                             const antenna_data_type& reference, int rf, int rc,
                                             const compare_options& options) {
  const cut_data_type& cut = measured.freq[f].cut[c];
  const cut_data_type& ref = reference.freq[rf].cut[rc];
  const cut_parameters rp = analyse_cut_of(reference, rf, rc);
  std::vector<double> angles, levels;
  std::vector<int> index;
  for (int p = 0; p < points_to_write(cut); ++p) {
    if (!std::isfinite(cut.angle[p]) || !(cut.signal[p] < GAP_LEVEL)) continue;  // no reading: nothing to compare
    angles.push_back(cut.angle[p]);
    levels.push_back(cut.signal[p]);
    index.push_back(p);
  }
  const std::vector<std::optional<double>> ref_att = attenuations_at(ref, angles);
  // Aligned on the peak, each level is taken below its own pattern's peak.
  const double m_peak = options.align_peak ? census_of(cut).strongest : 0.0;
  const double r_peak = census_of(ref).strongest;
  std::vector<deviation_point> out;
  for (std::size_t i = 0; i < angles.size(); ++i) {
    if (!ref_att[i]) continue;
    // Gains: the negated attenuations.
    const double deviation = -(levels[i] - m_peak) + (*ref_att[i] - (options.align_peak ? r_peak : 0.0));
    out.push_back({index[i], angles[i], deviation, in_main_lobe(rp, angles[i]), *ref_att[i] - r_peak < COMPARE_FLOOR_DB});
  }
  return out;
}

std::string cut_label(const antenna_data_type& pd, int f, int c) {
  return c_format("%s MHz %s %s", pd.freq[f].patfre, pd.freq[f].cut[c].patcut, pd.freq[f].cut[c].polari);
}

namespace {
std::string stats_text(const char* what, const deviation_stats& d) {
  if (!d.rms_db) return c_format("%s: no common angles", what);
  return c_format("%s: RMS %.2f dB, largest %.2f dB at %.1f deg (%d points)", what, *d.rms_db, *d.largest_db,
                  *d.largest_angle, d.points);
}
}  // namespace

std::string comparison_text(const antenna_data_type& m, const antenna_data_type& r, const pattern_comparison& pc) {
  std::string out;
  for (const cut_comparison& c : pc.matched) {
    out += cut_label(m, c.freq, c.cut) + " against " + cut_label(r, c.ref_freq, c.ref_cut) + ": " +
           (c.pass ? "pass" : "fail") + "\n  " + stats_text("main lobe", c.main_lobe) + "\n  " +
           stats_text("above -30 dB", c.above_floor) + "\n";
    for (const parameter_delta& p : c.parameters)
      if (const auto d = p.difference()) out += std::string("  ") + p.name + c_format(" %+.2f", *d) + "\n";
  }
  for (const auto& [f, c] : pc.unmatched_measured) out += "No reference for " + cut_label(m, f, c) + "\n";
  for (const auto& [f, c] : pc.unmatched_reference) out += "Not measured: " + cut_label(r, f, c) + "\n";
  return out;
}

bool pattern_comparison::pass() const {
  // Every shown measured cut found its reference and passes.
  return !matched.empty() && unmatched_measured.empty() &&
         std::all_of(matched.begin(), matched.end(), [](const cut_comparison& c) { return c.pass; });
}

pattern_comparison compare_patterns(const antenna_data_type& measured, const pattern_flags_type& shown,
                                    const antenna_data_type& reference, const compare_options& options) {
  pattern_comparison out;
  std::vector<std::vector<bool>> used(MAX_FREQ, std::vector<bool>(MAX_CUTS, false));
  for (int f = 0; f < count_in(measured.nofreq, MAX_FREQ); ++f)
    for (int c = 0; c < count_in(measured.freq[f].numcut, MAX_CUTS); ++c) {
      const cut_data_type& cut = measured.freq[f].cut[c];
      if (!cut_is_shown(shown, f, c) || !has_points(cut)) continue;
      const std::optional<double> mhz = frequency_of(measured.freq[f]);
      const auto ref = mhz ? match(reference, cut, *mhz, options.freq_tolerance) : std::nullopt;
      if (!ref) {
        out.unmatched_measured.emplace_back(f, c);
        continue;
      }
      used[static_cast<std::size_t>(ref->first)][static_cast<std::size_t>(ref->second)] = true;
      out.matched.push_back(compare_cut(measured, f, c, reference, ref->first, ref->second, options));
    }
  for (int f = 0; f < count_in(reference.nofreq, MAX_FREQ); ++f)
    for (int c = 0; c < count_in(reference.freq[f].numcut, MAX_CUTS); ++c)
      if (has_points(reference.freq[f].cut[c]) && !used[static_cast<std::size_t>(f)][static_cast<std::size_t>(c)])
        out.unmatched_reference.emplace_back(f, c);
  return out;
}

}  // namespace lobe
