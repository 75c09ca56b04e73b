#include "core/formats/long_cuts.h"

#include <algorithm>
#include <cmath>

#include "core/text/c_numeric.h"
#include "core/record/pattern_record.h"

namespace lobe {

namespace {

long_cut* find_long_cut(reader_state& rs, int f, int c) {
  for (long_cut& l : rs.long_cuts)
    if (l.freq == f && l.cut == c) return &l;
  return nullptr;
}

// Level of the polyline `pts` (sorted by angle) at `angle`, linear between neighbours.
float level_at(const std::vector<std::pair<float, float>>& pts, double angle) {
  auto upper = std::lower_bound(pts.begin(), pts.end(), angle,
                                [](const std::pair<float, float>& p, double a) { return p.first < a; });
  if (upper == pts.begin()) return upper->second;
  if (upper == pts.end()) return pts.back().second;
  const auto lower = upper - 1;
  const double span = double(upper->first) - double(lower->first);
  if (span <= 0.0) return upper->second;
  const double t = (angle - lower->first) / span;
  return static_cast<float>(lower->second + t * (double(upper->second) - double(lower->second)));
}

}  // namespace

std::string cut_name(const antenna_data_type& pd, int f, int c) {
  const cut_data_type& cut = pd.freq[f].cut[c];
  return c_format("Cut %d (%s) of %s MHz", c + 1, cut.patcut, pd.freq[f].patfre);
}

void keep_beyond_record(reader_state& rs, int f, int c, float angle, float level) {
  long_cut* l = find_long_cut(rs, f, c);
  if (!l) {
    rs.long_cuts.push_back({f, c, rs.declared, {}});
    l = &rs.long_cuts.back();
  }
  l->extra.emplace_back(angle, level);
}

int points_beyond_record(const reader_state& rs, int f, int c) {
  for (const long_cut& l : rs.long_cuts)
    if (l.freq == f && l.cut == c) return static_cast<int>(l.extra.size());
  return 0;
}

resample_result resample_to_degrees(std::vector<std::pair<float, float>> pts, cut_data_type& cut) {
  resample_result r;
  r.points_in = static_cast<int>(pts.size());
  pts.erase(std::remove_if(pts.begin(), pts.end(),
                           [](const auto& p) { return !std::isfinite(p.first) || !std::isfinite(p.second); }),
            pts.end());
  if (pts.empty()) return r;
  std::stable_sort(pts.begin(), pts.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  // The first of equal angles stands.
  pts.erase(std::unique(pts.begin(), pts.end(), [](const auto& a, const auto& b) { return a.first == b.first; }),
            pts.end());
  const double lo = std::ceil(pts.front().first), hi = std::floor(pts.back().first);
  if (hi < lo) return r;
  const int n = static_cast<int>(std::min<double>(hi - lo + 1.0, MAX_SAMPLES));
  std::vector<std::pair<float, float>> out;
  for (int i = 0; i < n; ++i) out.emplace_back(static_cast<float>(lo + i), level_at(pts, lo + i));
  for (const auto& [a, level] : pts) {
    if (a < lo || a > lo + n - 1) continue;
    r.largest_deviation_db = std::max(r.largest_deviation_db, std::fabs(level_at(out, a) - level));
  }
  for (int i = 0; i < n; ++i) {
    cut.angle[i] = out[static_cast<std::size_t>(i)].first;
    cut.signal[i] = out[static_cast<std::size_t>(i)].second;
  }
  if (n < MAX_SAMPLES) cut.angle[n] = END_MARKER;
  cut.nupoin = n;
  cut.fstlst[0] = out.front().first;
  cut.fstlst[1] = out.back().first;
  r.points_out = n;
  return r;
}

void finish_long_cuts(pattern_record& rec, reader_state& rs) {
  for (const long_cut& l : rs.long_cuts) {
    if (l.freq < 0 || l.freq >= MAX_FREQ || l.cut < 0 || l.cut >= MAX_CUTS) continue;
    cut_data_type& cut = rec.pd.freq[l.freq].cut[l.cut];
    const int kept = stored_points(cut);
    const int given = kept + static_cast<int>(l.extra.size());
    if (!rs.options.resample_long_cuts) {
      rs.found.facts_of(l.freq, l.cut).dropped_points = given - kept;
      rs.found.notices.push_back(c_format(
          "%s: %d of its %d points were dropped; a cut holds %d. Set Resample-long-cuts=1 in section [Extra] of "
          "the settings file (lobeconv: --resample) to keep the whole cut, resampled to one point per degree.",
          cut_name(rec.pd, l.freq, l.cut).c_str(), given - kept, given, MAX_SAMPLES));
      continue;
    }
    std::vector<std::pair<float, float>> all;
    for (int p = 0; p < kept; ++p) all.emplace_back(cut.angle[p], cut.signal[p]);
    all.insert(all.end(), l.extra.begin(), l.extra.end());
    const resample_result r = resample_to_degrees(std::move(all), cut);
    rs.found.notices.push_back(c_format(
        "%s: %d points resampled to %d, one per degree (linear in dB between neighbours); largest deviation %.2f dB.",
        cut_name(rec.pd, l.freq, l.cut).c_str(), given, r.points_out, double(r.largest_deviation_db)));
  }
}

}  // namespace lobe
