#include "cli/pattern_json.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "core/record/half_power.h"

namespace lobe {

double json_number(float v) {
  if (!std::isfinite(v)) return static_cast<double>(v);
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf - 1, v);
  *r.ptr = '\0';
  double d = 0.0;
  std::from_chars(buf, r.ptr, d);
  return d;
}

namespace {

nlohmann::ordered_json cut_to_json(const cut_data_type& cut, const cut_flags_type& flags) {
  nlohmann::ordered_json j;
  j["patcut"] = cut.patcut;
  j["polari"] = cut.polari;
  j["nupoin"] = cut.nupoin;
  j["fstlst"] = {json_number(cut.fstlst[0]), json_number(cut.fstlst[1])};
  j["emax"] = json_number(cut.emax);
  j["sweep_completed"] = flags.sweep_completed;
  j["hide"] = flags.hide;
  const int n = stored_points(cut);
  auto angles = nlohmann::ordered_json::array();
  auto signals = nlohmann::ordered_json::array();
  for (int p = 0; p < n; ++p) {
    angles.push_back(json_number(cut.angle[p]));
    signals.push_back(json_number(cut.signal[p]));
  }
  j["angle"] = std::move(angles);
  j["signal"] = std::move(signals);
  // The half-power crossings between samples (the charts mark the sample past them).
  auto crossings = nlohmann::ordered_json::array();
  for (const level_crossing& x : level_crossings(cut))
    crossings.push_back({{"angle", json_number(x.angle)}, {"falling", x.falling}});
  j["half_power"] = std::move(crossings);
  if (n < MAX_SAMPLES)
    j["next_angle"] = json_number(cut.angle[n]);
  else
    j["next_angle"] = nullptr;
  return j;
}

}  // namespace

nlohmann::ordered_json pattern_to_json(const lobe_state& st, const std::string& status_error) {
  nlohmann::ordered_json j;
  j["file_type"] = st.file.file_type;
  j["ant_file_type"] = st.file.ant_file_type;
  j["file_errors"] = st.file.file_errors;
  j["status_error"] = status_error;
  j["load_notices"] = st.file.load_notices;
  j["all_emax"] = json_number(st.all_emax);
  j["envelope_disp_requested"] = st.view.envelope_disp_requested;
  j["display_type"] = st.view.display_type;
  nlohmann::ordered_json header = nlohmann::ordered_json::object();
  for (const auto& f : header_fields()) header[f.name] = field_text(st.pd, f);
  j["header"] = std::move(header);
  j["nofreq"] = st.pd.nofreq;
  auto freqs = nlohmann::ordered_json::array();
  const int nofreq = count_in(st.pd.nofreq, MAX_FREQ);
  for (int f = 0; f < nofreq; ++f) {
    const freq_data_type& fr = st.pd.freq[f];
    nlohmann::ordered_json jf;
    jf["patfre"] = fr.patfre;
    jf["numcut"] = fr.numcut;
    auto cuts = nlohmann::ordered_json::array();
    const int numcut = count_in(fr.numcut, MAX_CUTS);
    for (int c = 0; c < numcut; ++c) cuts.push_back(cut_to_json(fr.cut[c], st.flags.cut[f][c]));
    jf["cut"] = std::move(cuts);
    freqs.push_back(std::move(jf));
  }
  j["freq"] = std::move(freqs);
  return j;
}

nlohmann::ordered_json envelopes_to_json(const envelopes_type& ed) {
  nlohmann::ordered_json j;
  const int numenv = count_in(ed.numenv, MAX_ENVELOPES);
  j["numenv"] = ed.numenv;
  auto envs = nlohmann::ordered_json::array();
  for (int e = 0; e < numenv; ++e) {
    const envelope_data_type& env = ed.env[e];
    nlohmann::ordered_json je;
    je["title"] = env.title;
    je["nupoin"] = env.nupoin;
    auto rows = nlohmann::ordered_json::array();
    const int n = count_in(env.nupoin, MAX_ENV_SAMPLES);
    for (int r = 0; r < n; ++r)
      rows.push_back({json_number(env.angle1[r]), json_number(env.angle2[r]), json_number(env.signal[r])});
    je["rows"] = std::move(rows);
    envs.push_back(std::move(je));
  }
  j["env"] = std::move(envs);
  return j;
}

nlohmann::ordered_json help_to_json(const help_texts& help) {
  nlohmann::ordered_json j;
  j["files"] = help.help_info_files;
  j["views"] = help.help_info_views;
  j["testrange"] = help.help_info_testrange;
  return j;
}

}  // namespace lobe
