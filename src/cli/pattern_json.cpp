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

// The dump of the largest pattern holds some 70 000 numbers: it is written
// straight into one string, laid out as nlohmann's dump(2) lays out the same
// document, instead of building a tree of it first.
class json_text {
 public:
  explicit json_text(std::string& out) : out_(out) {}

  void begin_object() { open('{'); }
  void end_object() { close('}'); }
  void begin_array() { open('['); }
  void end_array() { close(']'); }
  // Starts the member `key` of the object being written.
  void key(std::string_view k) {
    item();
    text(k);
    out_ += ": ";
    pending_key_ = true;
  }
  void value(int v) {
    item();
    char buf[16];
    out_.append(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
  }
  void value(bool v) {
    item();
    out_ += v ? "true" : "false";
  }
  void null() {
    item();
    out_ += "null";
  }
  // A float as the shortest decimal that reads back to it; no number is null.
  void value(float v) {
    item();
    if (!std::isfinite(v)) {
      out_ += "null";
      return;
    }
    // As the double of the float's shortest digits, in nlohmann's own layout
    // (360 is "360.0", 1e-05 "1e-05").
    char buf[64];
    out_.append(buf, nlohmann::detail::to_chars(buf, buf + sizeof buf, json_number(v)));
  }
  void value(std::string_view s) {
    item();
    text(s);
  }

 private:
  // Plain printable ASCII is copied; anything to escape or to check as UTF-8
  // goes through nlohmann's own writer (invalid bytes become U+FFFD).
  void text(std::string_view s) {
    for (unsigned char c : s)
      if (c < 0x20 || c >= 0x7f || c == '"' || c == '\\') {
        out_ += nlohmann::json(std::string(s)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        return;
      }
    out_ += '"';
    out_ += s;
    out_ += '"';
  }
  // Before a member or an element: the comma after the one before, a new line, the indent.
  void item() {
    if (pending_key_) {
      pending_key_ = false;
      return;
    }
    if (depth_ == 0) return;
    if (!first_[depth_]) out_ += ',';
    first_[depth_] = false;
    out_ += '\n';
    out_.append(2 * depth_, ' ');
  }
  void open(char c) {
    item();
    out_ += c;
    first_[++depth_] = true;
  }
  void close(char c) {
    if (!first_[depth_]) {
      out_ += '\n';
      out_.append(2 * (depth_ - 1), ' ');
    }
    --depth_;
    out_ += c;
  }

  std::string& out_;
  int depth_ = 0;
  bool first_[16] = {};
  bool pending_key_ = false;
};

void write_cut(json_text& j, const cut_data_type& cut, const cut_flags_type& flags) {
  j.begin_object();
  j.key("patcut"), j.value(std::string_view(cut.patcut, strnlen(cut.patcut, sizeof cut.patcut)));
  j.key("polari"), j.value(std::string_view(cut.polari, strnlen(cut.polari, sizeof cut.polari)));
  j.key("nupoin"), j.value(cut.nupoin);
  j.key("fstlst"), j.begin_array(), j.value(cut.fstlst[0]), j.value(cut.fstlst[1]), j.end_array();
  j.key("emax"), j.value(cut.emax);
  j.key("sweep_completed"), j.value(flags.sweep_completed);
  j.key("hide"), j.value(flags.hide);
  const int n = stored_points(cut);
  j.key("angle"), j.begin_array();
  for (int p = 0; p < n; ++p) j.value(cut.angle[p]);
  j.end_array();
  j.key("signal"), j.begin_array();
  for (int p = 0; p < n; ++p) j.value(cut.signal[p]);
  j.end_array();
  // The half-power crossings between samples (the charts mark the sample past them).
  j.key("half_power"), j.begin_array();
  for (const level_crossing& x : level_crossings(cut)) {
    j.begin_object();
    j.key("angle"), j.value(x.angle);
    j.key("falling"), j.value(x.falling);
    j.end_object();
  }
  j.end_array();
  j.key("next_angle");
  if (n < MAX_SAMPLES)
    j.value(cut.angle[n]);
  else
    j.null();
  j.end_object();
}

}  // namespace

std::string pattern_json_text(const lobe_state& st, const std::string& status_error) {
  std::string out;
  out.reserve(1 << 20);
  json_text j(out);
  j.begin_object();
  j.key("file_type"), j.value(st.file.file_type);
  j.key("ant_file_type"), j.value(st.file.ant_file_type);
  j.key("file_errors"), j.value(st.file.file_errors);
  j.key("status_error"), j.value(status_error);
  j.key("load_notices"), j.begin_array();
  for (const std::string& notice : st.file.load_notices) j.value(notice);
  j.end_array();
  j.key("all_emax"), j.value(st.all_emax);
  j.key("envelope_disp_requested"), j.value(std::string_view(st.view.envelope_disp_requested));
  j.key("display_type"), j.value(st.view.display_type);
  j.key("header"), j.begin_object();
  for (const auto& f : header_fields()) j.key(f.name), j.value(std::string_view(field_text(st.pd, f)));
  j.end_object();
  j.key("nofreq"), j.value(st.pd.nofreq);
  j.key("freq"), j.begin_array();
  const int nofreq = count_in(st.pd.nofreq, MAX_FREQ);
  for (int f = 0; f < nofreq; ++f) {
    const freq_data_type& fr = st.pd.freq[f];
    j.begin_object();
    j.key("patfre"), j.value(std::string_view(fr.patfre));
    j.key("numcut"), j.value(fr.numcut);
    j.key("cut"), j.begin_array();
    const int numcut = count_in(fr.numcut, MAX_CUTS);
    for (int c = 0; c < numcut; ++c) write_cut(j, fr.cut[c], st.flags.cut[f][c]);
    j.end_array();
    j.end_object();
  }
  j.end_array();
  j.end_object();
  return out;
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
