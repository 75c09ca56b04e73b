#include "cli/verdicts_json.h"

namespace lobe {

namespace {

nlohmann::json ranges_json(const std::vector<angle_range>& ranges) {
  nlohmann::json out = nlohmann::json::array();
  for (const auto& [a, b] : ranges) out.push_back({a, b});
  return out;
}

nlohmann::json verdict_json(const antenna_data_type& pd, const mask_verdict& v) {
  const cut_data_type& cut = pd.freq[v.freq].cut[v.cut];
  nlohmann::json j = {{"freq", pd.freq[v.freq].patfre}, {"cut", cut.patcut}, {"polarisation", cut.polari},
                      {"f", v.freq},  {"c", v.cut},       {"pass", v.pass()},  {"verdict", outcome_name(v.outcome)}};
  j["worst_margin_db"] = v.worst_margin_db ? nlohmann::json(*v.worst_margin_db) : nlohmann::json(nullptr);
  j["worst_angle"] = v.worst_angle ? nlohmann::json(*v.worst_angle) : nlohmann::json(nullptr);
  j["failing_ranges"] = ranges_json(v.failing);
  j["gaps"] = ranges_json(v.gaps);
  return j;
}

nlohmann::json optional_json(const std::optional<double>& v) { return v ? nlohmann::json(*v) : nlohmann::json(nullptr); }

nlohmann::json stats_json(const deviation_stats& d) {
  return {{"points", d.points}, {"rms_db", optional_json(d.rms_db)}, {"largest_db", optional_json(d.largest_db)},
          {"largest_angle", optional_json(d.largest_angle)}};
}

}  // namespace

nlohmann::json comparison_json(const antenna_data_type& m, const antenna_data_type& r, const pattern_comparison& pc) {
  nlohmann::json j = {{"pass", pc.pass()}, {"cuts", nlohmann::json::array()}};
  for (const cut_comparison& c : pc.matched) {
    nlohmann::json params = nlohmann::json::object();
    for (const parameter_delta& p : c.parameters)
      params[p.name] = {{"measured", optional_json(p.measured)}, {"reference", optional_json(p.reference)},
                        {"difference", optional_json(p.difference())}};
    j["cuts"].push_back({{"measured", cut_label(m, c.freq, c.cut)}, {"reference", cut_label(r, c.ref_freq, c.ref_cut)},
                         {"pass", c.pass}, {"main_lobe", stats_json(c.main_lobe)},
                         {"above_30_db", stats_json(c.above_floor)}, {"parameters", params}});
  }
  auto names = [](const antenna_data_type& pd, const std::vector<std::pair<int, int>>& cuts) {
    nlohmann::json out = nlohmann::json::array();
    for (const auto& [f, c] : cuts) out.push_back(cut_label(pd, f, c));
    return out;
  };
  j["unmatched_measured"] = names(m, pc.unmatched_measured);
  j["unmatched_reference"] = names(r, pc.unmatched_reference);
  return j;
}

nlohmann::json check_json(const antenna_data_type& pd, const envelope_data_type& env,
                          const std::vector<mask_verdict>& verdicts) {
  bool all_pass = !verdicts.empty();
  for (const mask_verdict& v : verdicts) all_pass = all_pass && v.pass();
  nlohmann::json j = {{"envelope", env.title}, {"pass", all_pass}, {"cuts", nlohmann::json::array()}};
  for (const mask_verdict& v : verdicts) j["cuts"].push_back(verdict_json(pd, v));
  return j;
}

}  // namespace lobe
