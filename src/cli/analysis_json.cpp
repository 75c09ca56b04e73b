#include "cli/analysis_json.h"

#include <cmath>
#include <optional>

#include "core/analysis/cut_parameters.h"

namespace lobe {

namespace {

using json = nlohmann::ordered_json;

// Three decimals are more than any pattern file's resolution.
json number(std::optional<double> v) {
  if (!v || !std::isfinite(*v)) return nullptr;
  return std::round(*v * 1000.0) / 1000.0 + 0.0;
}

json both(std::optional<double> a, std::optional<double> b) {
  if (!a && !b) return nullptr;
  return json::array({number(a), number(b)});
}

json lobe(const std::optional<lobe_peak>& l) {
  if (!l) return nullptr;
  return json{{"angle", number(l->angle)}, {"db", number(l->level)}};
}

}  // namespace

json analysis_to_json(const lobe_state& st) {
  const antenna_data_type& pd = st.pd;
  json cuts = json::array();
  for (int f = 0; f < count_in(pd.nofreq, MAX_FREQ); ++f)
    for (int c = 0; c < count_in(pd.freq[f].numcut, MAX_CUTS); ++c) {
      const cut_data_type& cut = pd.freq[f].cut[c];
      const cut_parameters p = analyse_cut_of(pd, f, c);
      std::optional<double> first_sidelobe;
      for (const auto& l : {p.first_sidelobe_left, p.first_sidelobe_right})
        if (l && (!first_sidelobe || l->level > *first_sidelobe)) first_sidelobe = l->level;
      cuts.push_back(json{{"freq", f},
                          {"cut", c},
                          {"patfre", pd.freq[f].patfre},
                          {"patcut", cut.patcut},
                          {"polari", cut.polari},
                          {"points", p.points},
                          {"closed", p.closed},
                          {"omni", p.omni},
                          {"ripple_db", number(p.ripple_db)},
                          {"peak_angle", number(p.peak_angle)},
                          {"peak_db", number(p.peak_db)},
                          {"hpbw", number(p.hpbw)},
                          {"hpbw_angles", p.hpbw ? both(p.hpbw_left, p.hpbw_right) : json(nullptr)},
                          {"bw10", number(p.bw10)},
                          {"bw10_angles", p.bw10 ? both(p.bw10_left, p.bw10_right) : json(nullptr)},
                          {"front_to_back", number(p.front_to_back)},
                          {"front_to_back_total", number(p.front_to_back_total)},
                          {"front_to_back_total_co_polar_only", p.front_to_back_total ? json(p.front_to_back_total_co_polar_only) : json(nullptr)},
                          {"front_to_side", both(p.front_to_side_left, p.front_to_side_right)},
                          {"first_null_angles", both(p.first_null_left, p.first_null_right)},
                          {"first_sidelobe_db", number(first_sidelobe)},
                          {"first_sidelobes", json::array({lobe(p.first_sidelobe_left), lobe(p.first_sidelobe_right)})},
                          {"strongest_sidelobe", lobe(p.strongest_sidelobe)},
                          {"tilt", number(p.tilt)},
                          {"upper_sidelobe_suppression", number(p.upper_sidelobe_suppression)},
                          {"first_lower_null_db", number(p.first_lower_null_db)},
                          {"squint_peak", number(p.squint_peak)},
                          {"squint_mid", number(p.squint_mid)},
                          {"warnings", cut_warnings(st, f, c)}});
    }
  json pairs = json::array();
  for (const polar_pair& x : polar_pairs(pd))
    pairs.push_back(json{{"freq", x.freq},
                         {"co", x.co},
                         {"cross", x.cross},
                         {"xpd_boresight", number(x.xpd_boresight)},
                         {"xpd_min_60", number(x.xpd_min_60)}});
  json directivity = json::array();
  for (const directivity_estimate& d : directivity_estimates(pd))
    directivity.push_back(json{{"freq", d.freq},
                               {"horizontal", d.horizontal},
                               {"vertical", d.vertical},
                               {"kraus_dbi", number(d.kraus_dbi)},
                               {"integral_dbi", number(d.integral_dbi)}});
  json datasheet = json::array();
  for (const datasheet_difference& d : datasheet_check(pd))
    datasheet.push_back(json{{"field", d.field}, {"claimed", d.claimed}, {"computed", number(d.computed)}, {"text", d.text}});
  return json{{"cuts", cuts}, {"pairs", pairs}, {"directivity", directivity}, {"datasheet", datasheet}};
}

}  // namespace lobe
