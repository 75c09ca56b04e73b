#include "core/analysis/cut_parameters.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <numbers>

#include "core/record/gain_units.h"
#include "core/text/c_numeric.h"
#include "core/text/field_text.h"

namespace lobe {

double wrap180(double a) {
  a = std::fmod(a + 180.0, 360.0);
  if (a < 0) a += 360.0;
  return a - 180.0;
}

namespace {

// A cut's samples in angle order, angles in [-180, 180). Stored levels are
// attenuations; `level` is dB relative to the strongest sample, NaN for a gap.
struct samples {
  std::vector<double> angle, att, level;
  bool closed = false;
  double peak_att = 0.0;
  int peak = -1;
  int size() const { return static_cast<int>(angle.size()); }
  // Index `k` steps from `i`, going round when the cut is closed; -1 past an end.
  int step(int i, int k) const {
    const int j = i + k;
    if (closed) return ((j % size()) + size()) % size();
    return j < 0 || j >= size() ? -1 : j;
  }
};

samples samples_of(const cut_data_type& cut) {
  std::vector<std::pair<double, double>> raw;
  const int n = stored_points(cut);
  for (int p = 0; p < n && cut.angle[p] != END_MARKER; ++p) {
    const double a = cut.angle[p], s = cut.signal[p];
    if (!std::isfinite(a) || std::fabs(a) > 1e6) continue;
    raw.emplace_back(wrap180(a), std::isfinite(s) ? std::fabs(s) : GAP_LEVEL);
  }
  std::stable_sort(raw.begin(), raw.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
  samples out;
  for (const auto& [a, s] : raw) {
    if (!out.angle.empty() && std::fabs(out.angle.back() - a) < 1e-9) continue;  // the first of equal angles stands
    out.angle.push_back(a);
    out.att.push_back(s);
  }
  const int m = out.size();
  double largest_step = 0.0;
  for (int i = 1; i < m; ++i) largest_step = std::max(largest_step, out.angle[i] - out.angle[i - 1]);
  out.closed = m >= 3 && out.angle.back() - out.angle.front() >= 270.0 &&
               out.angle.front() + 360.0 - out.angle.back() <= 2.0 * largest_step + 1e-9;
  // The strongest sample; of equal ones (to a file's last decimal: a
  // dipole's front and back), the one nearest boresight.
  double strongest = GAP_LEVEL;
  for (int i = 0; i < m; ++i) strongest = std::min(strongest, out.att[i]);
  for (int i = 0; i < m; ++i)
    if (out.att[i] <= strongest + 0.0005 && (out.peak < 0 || std::fabs(out.angle[i]) < std::fabs(out.angle[out.peak])))
      out.peak = i;
  if (out.peak >= 0) out.peak_att = out.att[out.peak];
  for (int i = 0; i < m; ++i) out.level.push_back(out.att[i] < GAP_LEVEL ? out.peak_att - out.att[i] : NAN);
  return out;
}

// Angle of sample `j` reached from `from_angle` going `dir`, unwrapped so
// that it continues from there: within the turn after it going up, within
// the turn before it going down. `from_angle` may itself be unwrapped any
// number of turns either way.
double unwrapped(const samples& s, int j, double from_angle, int dir) {
  const double turns = std::floor((s.angle[j] - from_angle) / 360.0);
  double a = s.angle[j] - 360.0 * turns;  // in [from, from + 360)
  if (dir < 0 && a > from_angle) a -= 360.0;
  return a;
}

// Where the level first falls below `-drop` dB going `dir` from the peak,
// interpolated in dB; none at a gap, at an end, or back at the peak.
std::optional<double> crossing(const samples& s, double drop, int dir) {
  int prev = s.peak;
  double prev_angle = s.angle[s.peak];
  for (int k = 1; k < s.size(); ++k) {
    const int j = s.step(s.peak, dir * k);
    if (j < 0 || j == s.peak || std::isnan(s.level[j])) return std::nullopt;
    const double a = unwrapped(s, j, prev_angle, dir);
    if (s.level[j] < -drop) {
      const double t = (-drop - s.level[prev]) / (s.level[j] - s.level[prev]);
      return prev_angle + t * (a - prev_angle);
    }
    prev = j;
    prev_angle = a;
  }
  return std::nullopt;
}

// The stored attenuation at `angle`, interpolated linearly in dB.
std::optional<double> att_at(const samples& s, double angle) {
  const int m = s.size();
  if (m == 0) return std::nullopt;
  const double a = wrap180(angle);
  const int j = static_cast<int>(std::lower_bound(s.angle.begin(), s.angle.end(), a) - s.angle.begin());
  if (j < m && s.angle[j] == a) return s.att[j] < GAP_LEVEL ? std::optional<double>(s.att[j]) : std::nullopt;
  if ((j == 0 || j == m) && !s.closed) return std::nullopt;
  // Between sample i and sample k; across the join of a closed cut, from the
  // last sample to the first plus 360.
  const int i = j == 0 || j == m ? m - 1 : j - 1, k = j == m ? 0 : j;
  if (s.att[i] >= GAP_LEVEL || s.att[k] >= GAP_LEVEL) return std::nullopt;
  const double from = s.angle[i] - (j == 0 ? 360.0 : 0.0), to = s.angle[k] + (j == m ? 360.0 : 0.0);
  return s.att[i] + (a - from) / (to - from) * (s.att[k] - s.att[i]);
}

std::optional<double> level_at(const samples& s, double angle) {
  const auto att = att_at(s, angle);
  if (!att) return std::nullopt;
  return s.peak_att - *att;
}

// A lobe's top: the sample, refined by a parabola through it and its two
// neighbours (in dB), which finds a sidelobe's level between samples.
lobe_peak refine(const samples& s, int j, double angle_j) {
  const int l = s.step(j, -1), r = s.step(j, 1);
  if (l < 0 || r < 0 || std::isnan(s.level[l]) || std::isnan(s.level[r])) return {wrap180(angle_j), s.level[j]};
  const double y0 = s.level[l], y1 = s.level[j], y2 = s.level[r];
  const double denom = y0 - 2.0 * y1 + y2;
  if (denom >= 0.0) return {wrap180(angle_j), y1};
  const double d = std::clamp(0.5 * (y0 - y2) / denom, -0.5, 0.5);
  const double spacing = (unwrapped(s, r, angle_j, 1) - unwrapped(s, l, angle_j, -1)) / 2.0;
  return {wrap180(angle_j + d * spacing), y1 - 0.25 * (y0 - y2) * d};
}

struct lobe_walk {
  std::vector<lobe_peak> lobes;    // in walking order
  std::vector<double> null_angles;  // unwrapped
  std::vector<double> null_levels;
};

// Walks from the peak going `dir` (round to the peak again when the cut is
// closed, else to its end or a gap) and picks out the nulls and lobes that
// stand MIN_LOBE_PROMINENCE_DB above or below their neighbourhood.
lobe_walk walk_lobes(const samples& s, int dir) {
  lobe_walk out;
  bool seeking_null = true;
  int best = s.peak;
  double best_angle = s.angle[s.peak], angle = best_angle;
  for (int k = 1; k <= s.size(); ++k) {
    const int j = s.step(s.peak, dir * k);
    if (j < 0 || std::isnan(s.level[j])) break;
    angle = unwrapped(s, j, angle, dir);
    const double l = s.level[j];
    if (seeking_null) {
      if (best == s.peak || l < s.level[best]) {
        best = j, best_angle = angle;
      } else if (l > s.level[best] + MIN_LOBE_PROMINENCE_DB) {
        out.null_angles.push_back(best_angle);
        out.null_levels.push_back(s.level[best]);
        seeking_null = false;
        best = j, best_angle = angle;
      }
    } else {
      if (l >= s.level[best]) best = j, best_angle = angle;
      if (l < s.level[best] - MIN_LOBE_PROMINENCE_DB) {
        out.lobes.push_back(refine(s, best, best_angle));
        seeking_null = true;
        best = j, best_angle = angle;
      }
    }
    if (j == s.peak) break;
  }
  return out;
}

bool is_co_polar(const char* polari) {
  return std::strlen(polari) == 3 && polari[1] == '/' && std::toupper(static_cast<unsigned char>(polari[0])) ==
                                                             std::toupper(static_cast<unsigned char>(polari[2]));
}

// The number a header field starts with, if it starts with one.
std::optional<double> leading_number(const char* text) {
  double v = 0.0;
  if (c_sscanf(text, "%lf", &v) != 1 || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::string fixed(double v, int decimals = 1) { return c_format("%.*f", decimals, v); }

}  // namespace

std::vector<std::optional<double>> attenuations_at(const cut_data_type& cut, const std::vector<double>& angles) {
  const samples s = samples_of(cut);
  std::vector<std::optional<double>> out;
  for (double a : angles) out.push_back(att_at(s, a));
  return out;
}

std::vector<std::optional<double>> levels_at(const cut_data_type& cut, double first, int count) {
  const samples s = samples_of(cut);
  std::vector<std::optional<double>> out;
  for (int i = 0; i < count; ++i) out.push_back(level_at(s, first + i));
  return out;
}

namespace {

// The half-power and 10 dB crossings each side of the peak, and the widths between them.
void beamwidths(const samples& s, bool horizontal, cut_parameters& r) {
  r.hpbw_left = crossing(s, HALF_POWER_LEVEL_DB, -1);
  r.hpbw_right = crossing(s, HALF_POWER_LEVEL_DB, 1);
  r.bw10_left = crossing(s, 10.0, -1);
  r.bw10_right = crossing(s, 10.0, 1);
  if (r.bw10_left && r.bw10_right) r.bw10 = *r.bw10_right - *r.bw10_left;
  if (r.hpbw_left && r.hpbw_right) {
    r.hpbw = *r.hpbw_right - *r.hpbw_left;
    const double mid = (*r.hpbw_left + *r.hpbw_right) / 2.0;
    r.hpbw_left = wrap180(*r.hpbw_left), r.hpbw_right = wrap180(*r.hpbw_right);
    if (horizontal) r.squint_mid = wrap180(mid);
  }
  if (r.bw10_left && r.bw10_right) r.bw10_left = wrap180(*r.bw10_left), r.bw10_right = wrap180(*r.bw10_right);
}

// Front-to-back and front-to-side, all from the one peak reported (the refined one).
void ratios(const samples& s, const lobe_peak& top, const cut_data_type* cross, cut_parameters& r) {
  const double p = top.angle;
  auto below_peak = [&](std::optional<double> level) -> std::optional<double> {
    if (!level) return std::nullopt;
    return top.level - *level;
  };
  r.front_to_back = below_peak(level_at(s, p + 180.0));
  r.front_to_side_left = below_peak(level_at(s, p - 90.0));
  r.front_to_side_right = below_peak(level_at(s, p + 90.0));
  // Total power over 180 +/- 30: the worst case, the highest co- plus
  // cross-polar power in the sector behind the peak.
  const samples crossed = cross ? samples_of(*cross) : samples{};
  bool with_cross = cross != nullptr && crossed.peak >= 0;
  double highest = -INFINITY;
  for (double a = 150.0; a <= 210.0 + 1e-9; a += 0.5) {
    const auto co = level_at(s, p + a);
    if (!co) return;
    double power = std::pow(10.0, *co / 10.0);
    if (with_cross) {
      // Both cuts stored against the same reference, as a co/cross pair is.
      const auto x = att_at(crossed, p + a);
      if (x) power += std::pow(10.0, (s.peak_att - *x) / 10.0);
      with_cross = x.has_value();
    }
    highest = std::max(highest, power);
  }
  if (!(highest > 0.0)) return;
  r.front_to_back_total = top.level - 10.0 * std::log10(highest);
  r.front_to_back_total_co_polar_only = !with_cross;
}

// Nulls and lobes: a closed cut is walked round once; an open one each way to its end.
void lobes(const samples& s, const lobe_walk& right, const lobe_walk& left, cut_parameters& r) {
  if (!right.lobes.empty()) r.first_sidelobe_right = right.lobes.front();
  if (s.closed && !right.lobes.empty()) r.first_sidelobe_left = right.lobes.back();
  if (!left.lobes.empty()) r.first_sidelobe_left = left.lobes.front();
  if (!right.null_angles.empty()) r.first_null_right = wrap180(right.null_angles.front());
  if (s.closed && right.null_angles.size() > 1) r.first_null_left = wrap180(right.null_angles.back());
  if (!left.null_angles.empty()) r.first_null_left = wrap180(left.null_angles.front());
  for (const auto* walk : {&right, &left})
    for (const lobe_peak& l : walk->lobes)
      if (!r.strongest_sidelobe || l.level > r.strongest_sidelobe->level) r.strongest_sidelobe = l;
}

// A vertical cut's tilt, null fill below the beam and suppression of the lobes above it.
void vertical_parameters(const samples& s, const lobe_peak& top, const lobe_walk& right, const lobe_walk& left,
                         cut_parameters& r) {
  const double p = top.angle;
  r.tilt = p;
  // Above the beam is towards smaller angles; below, larger.
  if (!right.null_levels.empty()) r.first_lower_null_db = right.null_levels.front();
  const std::optional<double> upper_null =
      s.closed ? (right.null_angles.size() > 1 ? std::optional<double>(right.null_angles.back() - 360.0)
                                                : std::nullopt)
               : (left.null_angles.empty() ? std::nullopt : std::optional<double>(left.null_angles.front()));
  if (!upper_null || *upper_null < p - 20.0) return;
  double strongest = -1e9;
  for (double a = *upper_null; a >= p - 20.0 - 1e-9; a -= 0.1)
    if (const auto l = level_at(s, a)) strongest = std::max(strongest, *l);
  if (strongest > -1e9) r.upper_sidelobe_suppression = -strongest;
}

}  // namespace

cut_parameters analyse_cut(const cut_data_type& cut, const cut_data_type* cross) {
  cut_parameters r;
  const samples s = samples_of(cut);
  r.vertical = is_vertical_cut(cut.patcut);
  r.closed = s.closed;
  for (double l : s.level) r.points += !std::isnan(l);
  if (s.peak < 0) return r;
  double lowest = 0.0;
  for (double l : s.level)
    if (!std::isnan(l)) lowest = std::min(lowest, l);
  r.ripple_db = -lowest;
  r.peak_db = 0.0 - s.peak_att;
  const lobe_peak top = refine(s, s.peak, s.angle[s.peak]);
  r.peak_angle = top.angle;
  if (r.points < 2) return r;
  r.omni = s.closed && r.ripple_db < OMNI_RIPPLE_DB;
  if (!r.omni) beamwidths(s, is_horizontal_cut(cut.patcut), r);
  ratios(s, top, cross, r);
  const lobe_walk right = walk_lobes(s, 1);
  const lobe_walk left = s.closed ? lobe_walk{} : walk_lobes(s, -1);
  lobes(s, right, left, r);
  if (r.vertical)
    vertical_parameters(s, top, right, left, r);
  else if (is_horizontal_cut(cut.patcut))
    r.squint_peak = top.angle;
  return r;
}

int cross_polar_twin(const freq_data_type& fr, int co) {
  const int numcut = count_in(fr.numcut, MAX_CUTS);
  if (co < 0 || co >= numcut) return -1;
  const cut_data_type& c = fr.cut[co];
  if (!is_co_polar(c.polari)) return -1;
  for (int x = 0; x < numcut; ++x) {
    const cut_data_type& k = fr.cut[x];
    if (x != co && std::strlen(k.polari) == 3 && !is_co_polar(k.polari) &&
        std::toupper(static_cast<unsigned char>(k.polari[0])) == std::toupper(static_cast<unsigned char>(c.polari[0])) &&
        is_horizontal_cut(k.patcut) == is_horizontal_cut(c.patcut))
      return x;
  }
  return -1;
}

cut_parameters analyse_cut_of(const antenna_data_type& pd, int f, int c) {
  const freq_data_type& fr = pd.freq[f];
  const int x = cross_polar_twin(fr, c);
  return analyse_cut(fr.cut[c], x >= 0 ? &fr.cut[x] : nullptr);
}

std::vector<std::string> cut_warnings(const lobe_state& st, int f, int c) {
  std::vector<std::string> out;
  const cut_data_type& cut = st.pd.freq[f].cut[c];
  const cut_load_facts* facts = st.file.find_facts(f, c);
  if (facts && facts->dropped_points > 0)
    out.push_back(c_format("%d points were dropped (a cut holds %d): the parameters are of the points kept; read "
                           "with --resample (Resample-long-cuts=1) for the whole cut",
                           facts->dropped_points, MAX_SAMPLES));
  if (facts && facts->mixed_signs)
    out.push_back("levels of both signs: if they are gains, read with --signed-levels (Signed-levels=1)");
  const level_census levels = census_of(cut);
  if (levels.gaps > 0)
    out.push_back(c_format("%d points have no reading (gaps): nothing is measured across them", levels.gaps));
  if (!levels.normalised())
    out.push_back(c_format("not normalised: its strongest point is %.2f dB down; levels are taken from that point",
                           double(levels.strongest)));
  return out;
}

level_census census_of(const cut_data_type& cut) {
  level_census out;
  const int n = stored_points(cut);
  for (int p = 0; p < n && cut.angle[p] != END_MARKER; ++p) {
    if (cut.signal[p] == NO_SIG_DATA) ++out.no_level;
    else if (cut.signal[p] >= GAP_LEVEL) ++out.gaps;
    else out.strongest = std::min(out.strongest, cut.signal[p]);
  }
  return out;
}

std::vector<polar_pair> polar_pairs(const antenna_data_type& pd) {
  std::vector<polar_pair> out;
  for (int f = 0; f < count_in(pd.nofreq, MAX_FREQ); ++f) {
    const freq_data_type& fr = pd.freq[f];
    for (int co = 0; co < count_in(fr.numcut, MAX_CUTS); ++co) {
      const int x = cross_polar_twin(fr, co);
      if (x < 0) continue;
      const samples sc = samples_of(fr.cut[co]), sx = samples_of(fr.cut[x]);
      if (sc.peak < 0) continue;
      polar_pair pair{f, co, x, std::nullopt, std::nullopt};
      const double p = sc.angle[sc.peak];
      auto xpd = [&](double a) -> std::optional<double> {
        const auto ac = att_at(sc, a), ax = att_at(sx, a);
        if (!ac || !ax) return std::nullopt;
        return *ax - *ac;
      };
      pair.xpd_boresight = xpd(p);
      for (double a = -60.0; a <= 60.0; a += 1.0)
        if (const auto v = xpd(p + a); v && (!pair.xpd_min_60 || *v < *pair.xpd_min_60)) pair.xpd_min_60 = v;
      out.push_back(pair);
    }
  }
  return out;
}

std::vector<directivity_estimate> directivity_estimates(const antenna_data_type& pd) {
  std::vector<directivity_estimate> out;
  for (int f = 0; f < count_in(pd.nofreq, MAX_FREQ); ++f) {
    const freq_data_type& fr = pd.freq[f];
    int h = -1, v = -1;
    for (int c = 0; c < count_in(fr.numcut, MAX_CUTS); ++c) {
      if (h < 0 && is_horizontal_cut(fr.cut[c].patcut) && stored_points(fr.cut[c]) > 1) h = c;
      if (v < 0 && is_vertical_cut(fr.cut[c].patcut) && stored_points(fr.cut[c]) > 1) v = c;
    }
    if (h < 0 || v < 0) continue;
    directivity_estimate d{f, h, v, std::nullopt, std::nullopt};
    const cut_parameters ph = analyse_cut(fr.cut[h]), pv = analyse_cut(fr.cut[v]);
    if (ph.hpbw && pv.hpbw) d.kraus_dbi = 10.0 * std::log10(41253.0 / (*ph.hpbw * *pv.hpbw));
    // The product pattern G_h(azimuth) x G_v(elevation) over the sphere, in
    // one-degree cells, each cut normalised to its own peak.
    const samples sh = samples_of(fr.cut[h]), sv = samples_of(fr.cut[v]);
    std::vector<double> gh, gv;
    bool whole = sh.closed;
    for (int az = -180; az < 180 && whole; ++az) {
      const auto l = level_at(sh, az + 0.5);
      whole = l.has_value();
      if (whole) gh.push_back(std::pow(10.0, *l / 10.0));
    }
    for (int el = -90; el < 90 && whole; ++el) {
      const auto l = level_at(sv, el + 0.5);
      whole = l.has_value();
      if (whole) gv.push_back(std::pow(10.0, *l / 10.0) * std::cos((el + 0.5) / RADN));
    }
    if (whole) {
      double sum_h = 0.0, sum_v = 0.0;
      for (double g : gh) sum_h += g;
      for (double g : gv) sum_v += g;
      const double cell = 1.0 / RADN;
      d.integral_dbi = 10.0 * std::log10(4.0 * std::numbers::pi / (sum_h * cell * sum_v * cell));
    }
    out.push_back(d);
  }
  return out;
}

std::vector<datasheet_difference> datasheet_check(const antenna_data_type& pd) {
  std::vector<datasheet_difference> out;
  // The first frequency with a horizontal or a vertical cut speaks for the header.
  std::optional<cut_parameters> h, v;
  for (int f = 0; f < count_in(pd.nofreq, MAX_FREQ) && !h && !v; ++f)
    for (int c = 0; c < count_in(pd.freq[f].numcut, MAX_CUTS); ++c) {
      const cut_data_type& cut = pd.freq[f].cut[c];
      if (!h && is_horizontal_cut(cut.patcut)) h = analyse_cut(cut);
      if (!v && is_vertical_cut(cut.patcut)) v = analyse_cut(cut);
    }
  auto check = [&](const char* field, const char* text, std::optional<double> computed, double tolerance,
                   const char* unit, bool magnitude) {
    const auto claimed = leading_number(text);
    if (!claimed || !computed) return;
    const double c = magnitude ? std::fabs(*claimed) : *claimed;
    if (std::fabs(c - *computed) <= tolerance) return;
    out.push_back({field, text, *computed,
                   c_format("%s says %s, the cuts give %s %s", field, text, fixed(*computed).c_str(), unit)});
  };
  if (h) {
    check("AZWIDT", pd.azwidt, h->hpbw, 1.0, "degrees", false);
    check("FRTOBA", pd.front_to_back, h->front_to_back, 1.0, "dB", true);
  }
  if (v) {
    check("ELWIDT", pd.elwidt, v->hpbw, 1.0, "degrees", false);
    check("TILT", pd.tilt, v->tilt, 1.0, "degrees below the horizon", false);
  }
  const auto estimates = directivity_estimates(pd);
  if (!estimates.empty()) {
    const directivity_estimate& d = estimates.front();
    const std::optional<double> estimate = d.integral_dbi ? d.integral_dbi : d.kraus_dbi;
    const gain_reading g = read_gain(pd.mdgain, pd.gunits);
    if (g.valid && estimate && std::fabs(g.dbi() - *estimate) > 1.0)
      out.push_back({"MDGAIN", pd.mdgain, *estimate,
                     c_format("MDGAIN says %s (%s dBi), the cuts' directivity estimate is %s dBi", pd.mdgain,
                              fixed(g.dbi(), 2).c_str(), fixed(*estimate, 2).c_str())});
  }
  return out;
}

std::string parameters_table(const lobe_state& st, bool shown_only) {
  const antenna_data_type& pd = st.pd;
  const pattern_flags_type& flags = st.flags;
  auto value = [](std::optional<double> v, int decimals = 1) { return v ? fixed(*v, decimals) : std::string("-"); };
  std::string out = c_format("%-9s %-6s %-5s %7s %6s %7s %16s %6s %6s %7s %9s %s\n", "Freq", "Cut", "Pol", "Peak",
                             "dB", "HPBW", "-3 dB at", "BW10", "F/B", "F/B tot", "Sidelobe", "Tilt/squint");
  auto shown = [&](int f, int c) { return !shown_only || !flags.cut[f][c].hide; };
  bool co_polar_only = false;
  std::string warnings;
  for (int f = 0; f < count_in(pd.nofreq, MAX_FREQ); ++f)
    for (int c = 0; c < count_in(pd.freq[f].numcut, MAX_CUTS); ++c) {
      if (!shown(f, c)) continue;
      const cut_data_type& cut = pd.freq[f].cut[c];
      const cut_parameters p = analyse_cut_of(pd, f, c);
      const std::string at = p.hpbw ? value(p.hpbw_left) + ".." + value(p.hpbw_right) : (p.omni ? "omni" : "-");
      const std::string lean = p.tilt ? "tilt " + value(p.tilt) : (p.squint_mid ? "squint " + value(p.squint_mid) : "");
      out += c_format("%-9.9s %-6.6s %-5.5s %7s %6s %7s %16s %6s %6s %7s %9s %s\n", pd.freq[f].patfre, cut.patcut,
                      cut.polari, value(p.peak_angle).c_str(), value(p.peak_db).c_str(), value(p.hpbw).c_str(),
                      at.c_str(), value(p.bw10).c_str(), value(p.front_to_back).c_str(),
                      (value(p.front_to_back_total) + (p.front_to_back_total_co_polar_only ? "*" : "")).c_str(),
                      value(p.strongest_sidelobe ? std::optional<double>(p.strongest_sidelobe->level) : std::nullopt)
                          .c_str(),
                      lean.c_str());
      co_polar_only = co_polar_only || p.front_to_back_total_co_polar_only;
      for (const std::string& w : cut_warnings(st, f, c))
        warnings += c_format("Warning: %s %s: %s\n", pd.freq[f].patfre, cut.patcut, w.c_str());
    }
  if (co_polar_only) out += "* F/B tot of the co-polar cut alone: no cross-polar cut to add\n";
  out += warnings;
  for (const polar_pair& x : polar_pairs(pd))
    if (shown(x.freq, x.co) && shown(x.freq, x.cross))
      out += c_format("XPD %s %s %s/%s: %s dB at the peak, at least %s dB over +/-60\n", pd.freq[x.freq].patfre,
                      pd.freq[x.freq].cut[x.co].patcut, pd.freq[x.freq].cut[x.co].polari,
                      pd.freq[x.freq].cut[x.cross].polari, value(x.xpd_boresight).c_str(), value(x.xpd_min_60).c_str());
  for (const directivity_estimate& d : directivity_estimates(pd))
    if (shown(d.freq, d.horizontal) && shown(d.freq, d.vertical))
      out += c_format("Directivity %s (estimate): %s dBi from 41253 / (HPBW_h x HPBW_v), %s dBi by integration\n",
                      pd.freq[d.freq].patfre, value(d.kraus_dbi, 2).c_str(), value(d.integral_dbi, 2).c_str());
  return out;
}

}  // namespace lobe
