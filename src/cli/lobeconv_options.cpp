// lobeconv's command line: flags, options with a value (each read by a
// small reader of its own), names.
#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/lobeconv_session.h"
#include "cli/site_file.h"
#include "core/exposure/pattern3d.h"
#include "core/text/c_numeric.h"

namespace lobe::lobeconv {

namespace {

using problem = std::optional<std::string>;

bool parse_positive(const std::string& s, int& out) {
  if (s.empty() || s.size() > 6) return false;
  int v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  if (v < 1) return false;
  out = v;
  return true;
}

std::optional<double> parse_number(const std::string& s) {
  if (s.empty() || s.size() > 30) return std::nullopt;
  // Read in "C" whatever the user's locale: "1.5" is one and a half.
  double v = 0.0;
  int used = 0;
  if (c_sscanf(s.c_str(), "%lf%n", &v, &used) != 1 || used != static_cast<int>(s.size()) || !std::isfinite(v) ||
      std::fabs(v) > 1e12)
    return std::nullopt;
  return v;
}

// Each reader gets the option's name and its value (null when the command
// line ended before it), and says what is wrong with it.
using reader = problem (*)(const std::string& name, const std::string* v, options& o);

problem ant_version(const std::string&, const std::string* v, options& o) {
  if (!v || (*v != "1" && *v != "2" && *v != "3")) return "--ant-version takes 1, 2 or 3";
  o.ant_version = (*v)[0] - '0';
  return std::nullopt;
}

problem nec_columns(const std::string&, const std::string* v, options& o) {
  const auto comma = v ? v->find(',') : std::string::npos;
  int angle = 0, signal = 0;
  if (!v || comma == std::string::npos || !parse_positive(v->substr(0, comma), angle) ||
      !parse_positive(v->substr(comma + 1), signal))
    return "--nec-columns takes two column numbers counted from 1, as in 1,2";
  o.nec_angle_col = angle - 1;
  o.nec_signal_col = signal - 1;
  return std::nullopt;
}

problem text_value(const std::string& a, const std::string* v, options& o) {
  if (!v || v->empty()) return a + " takes a value";
  (a == "--method" ? o.method : a == "--standard" ? o.standard : o.picture) = *v;
  return std::nullopt;
}

problem step(const std::string&, const std::string* v, options& o) {
  // Read as written (0.2, not the float nearest it), and dividing 180 into whole steps.
  const auto number = v ? parse_number(*v) : std::nullopt;
  if (!number) return "--step takes a number";
  const double degrees = *number;
  if (!grid_steps(degrees))
    return "--step takes degrees from 0.1 to 45 that divide 180 into whole steps (0.1, 0.5, 1, 2.5, 5 ...)";
  o.step = degrees;
  return std::nullopt;
}

problem site_number(const std::string& a, const std::string* v, options& o) {
  const auto number = v ? parse_number(*v) : std::nullopt;
  if (!number || (a != "--z" && *number < 0.0)) return a + " takes a number";
  // Frequencies and heights as a float holds them, as they always were.
  const float value = static_cast<float>(*number);
  if (a == "--freq") o.freq_mhz = value;
  if (a == "--z") o.map.z = value;
  if (a == "--antenna") o.map.antenna = static_cast<int>(value) - 1;
  return std::nullopt;
}

problem at(const std::string&, const std::string* v, options& o) {
  std::array<double, 3> xyz{};
  char tail = 0;
  if (!v || c_sscanf(v->c_str(), "%lf,%lf,%lf%c", &xyz[0], &xyz[1], &xyz[2], &tail) != 3 ||
      std::any_of(xyz.begin(), xyz.end(), [](double c) { return !(std::fabs(c) <= SITE_EXTENT_M); }))
    return "--at takes X,Y,Z in metres, each within 100 km of the origin";
  o.at = xyz;
  return std::nullopt;
}

problem choice(const std::string& a, const std::string* v, options& o) {
  // --view also names the exposure picture's view.
  if (a == "--view" && v && (*v == "top" || *v == "side")) {
    o.map.top = *v == "top";
    return std::nullopt;
  }
  const std::map<std::string, std::map<std::string, int>> choices = {
      {"--view",
       {{"polar", DISPLAY_TYPE_POLAR}, {"rect", DISPLAY_TYPE_RECT}, {"rect90", DISPLAY_TYPE_RECT90}, {"emr", DISPLAY_TYPE_EMR}}},
      {"--scale", {{"db", 0}, {"mv", 1}}},
      {"--grid", {{"lin", 0}, {"log", 1}}},
      {"--print", {{"portrait", 0}, {"landscape", 1}}}};
  const auto& allowed = choices.at(a);
  if (!v || !allowed.count(*v)) {
    std::string list;
    for (const auto& [name, code] : allowed) list += (list.empty() ? "" : ", ") + name;
    return a + " takes one of " + list;
  }
  const int code = allowed.at(*v);
  if (a == "--view") o.render.display_type = code;
  if (a == "--scale") o.render.mv_display = code;
  if (a == "--grid") o.render.log_display = code;
  if (a == "--print") o.render.print_landscape = code == 1;
  return std::nullopt;
}

problem zoom(const std::string&, const std::string* v, options& o) {
  if (!v || v->size() != 1 || (*v)[0] < '0' || (*v)[0] > '5') return "--zoom takes 0 to 5";
  o.render.zoom = (*v)[0] - '0';
  return std::nullopt;
}

problem size(const std::string&, const std::string* v, options& o) {
  const auto x = v ? v->find('x') : std::string::npos;
  int w = 0, h = 0;
  // A picture of at most 10000 pixels a side and 25 million in all: beyond
  // that a render takes minutes and gigabytes for nothing a screen shows.
  if (!v || x == std::string::npos || !parse_positive(v->substr(0, x), w) || !parse_positive(v->substr(x + 1), h) ||
      w > 10000 || h > 10000 || static_cast<long long>(w) * h > 25000000LL)
    return "--size takes WIDTHxHEIGHT in pixels, each 1 to 10000 and 25 million in all";
  o.render.width = w;
  o.render.height = h;
  return std::nullopt;
}

problem emr_number(const std::string& a, const std::string* v, options& o) {
  const auto number = v ? parse_number(*v) : std::nullopt;
  if (!number || (a != "--loss" && *number < 0.0)) return a + " takes a number" + (a != "--loss" ? " of 0 or more" : "");
  const float value = static_cast<float>(*number);
  if (a == "--power") o.render.power = value;
  if (a == "--loss") o.render.loss = value;
  if (a == "--height") o.render.height_m = value;
  return std::nullopt;
}

problem named(const std::string& a, const std::string* v, options& o) {
  const char* what = a == "--envelopes" || a == "--reference" ? "a file" : a == "--envelope" ? "a title" : "a folder";
  if (!v || v->empty()) return a + " takes " + what;
  (a == "--envelopes"  ? o.envelopes_file
   : a == "--envelope" ? o.render.envelope_title
   : a == "--reference" ? o.reference
                        : o.log_dir) = *v;
  return std::nullopt;
}

// compare: --align peak|none, --tolerance DB (above 0).
problem comparing(const std::string& a, const std::string* v, options& o) {
  if (a == "--align") {
    if (!v || (*v != "peak" && *v != "none")) return "--align takes peak or none";
    o.compare.align_peak = *v == "peak";
    return std::nullopt;
  }
  const auto number = v ? parse_number(*v) : std::nullopt;
  if (!number || !(*number > 0.0)) return "--tolerance takes a number of dB above 0";
  o.compare.tolerance_db = *number;
  return std::nullopt;
}

problem to(const std::string&, const std::string* v, options& o) {
  if (!v || v->empty() || v->find('/') != std::string::npos) return "--to takes an extension such as nsma";
  o.to_ext = (*v)[0] == '.' ? v->substr(1) : *v;
  return std::nullopt;
}

const std::map<std::string, bool options::*> k_flags = {
    {"--help", &options::help},     {"-h", &options::help},     {"--lf", &options::lf},
    {"--resample", &options::resample}, {"--signed-levels", &options::signed_levels}, {"--json", &options::json},
};

const std::map<std::string, reader> k_readers = {
    {"--ant-version", ant_version}, {"--nec-columns", nec_columns}, {"--method", text_value},
    {"--standard", text_value},     {"--render", text_value},       {"--step", step},
    {"--freq", site_number},        {"--z", site_number},           {"--antenna", site_number},
    {"--at", at},                   {"--view", choice},             {"--scale", choice},
    {"--grid", choice},             {"--print", choice},            {"--zoom", zoom},
    {"--size", size},               {"--power", emr_number},        {"--loss", emr_number},
    {"--height", emr_number},       {"--envelopes", named},         {"--envelope", named},
    {"--log-dir", named},           {"--to", to},                   {"--align", comparing},
    {"--tolerance", comparing},     {"--reference", named},
};

}  // namespace

std::optional<std::string> parse_options(const std::vector<std::string>& args, options& o) {
  bool only_names = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    // After "--" every argument is a name, even one that starts with a dash.
    if (only_names || (a.rfind("--", 0) != 0 && a != "-h")) {
      o.positional.push_back(a);
      continue;
    }
    if (a == "--") {
      only_names = true;
    } else if (const auto flag = k_flags.find(a); flag != k_flags.end()) {
      o.*(flag->second) = true;
    } else if (const auto r = k_readers.find(a); r != k_readers.end()) {
      const std::string* value = i + 1 < args.size() ? &args[++i] : nullptr;
      if (auto wrong = r->second(a, value, o)) return wrong;
    } else {
      return "unknown option " + a;
    }
  }
  return std::nullopt;
}

}  // namespace lobe::lobeconv
