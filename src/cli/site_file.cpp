#include "cli/site_file.h"

#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <set>
#include <vector>

#include "core/session/antenna_loader.h"
#include "core/io/file_image.h"
#include "core/formats/file_types.h"
#include "core/record/gain_units.h"
#include "core/io/run_log.h"
#include "core/text/c_numeric.h"

namespace lobe {

namespace {

using json = nlohmann::json;

// A site file is data someone wrote by hand: a key given twice is a mistake
// to point out, not a value to pick silently.
json parse_refusing_duplicates(const std::string& text, std::string& problem) {
  std::vector<std::set<std::string>> keys;
  const json::parser_callback_t check = [&](int, json::parse_event_t event, json& parsed) {
    if (event == json::parse_event_t::object_start) keys.emplace_back();
    if (event == json::parse_event_t::object_end && !keys.empty()) keys.pop_back();
    if (event == json::parse_event_t::key && !keys.empty() && !keys.back().insert(parsed.get<std::string>()).second &&
        problem.empty())
      problem = "\"" + parsed.get<std::string>() + "\" is given twice";
    return true;
  };
  return json::parse(text, check, false);
}

// One antenna's numbers, each checked against what a real antenna can be.
struct field_rule {
  const char* key;
  double site_antenna::*member;
  bool required;
  double fallback, low, high;
  bool low_included;
  const char* range_text;
};

constexpr field_rule k_fields[] = {
    {"frequency_mhz", &site_antenna::frequency_mhz, true, 0, 0, 1e6, false, "above 0"},
    {"power_w", &site_antenna::power_w, true, 0, 0, 1e9, false, "above 0 W and at most 1e9 W"},
    {"loss_db", &site_antenna::loss_db, false, 0, 0, 100, true, "from 0 to 100 dB"},
    {"gain_dbi", &site_antenna::gain_dbi, false, 0, -50, 60, true, "from -50 to 60 dBi"},
    {"x", &site_antenna::x, false, 0, -SITE_EXTENT_M, SITE_EXTENT_M, true, "within 100 km of the origin"},
    {"y", &site_antenna::y, false, 0, -SITE_EXTENT_M, SITE_EXTENT_M, true, "within 100 km of the origin"},
    {"height", &site_antenna::height, false, 0, -SITE_EXTENT_M, SITE_EXTENT_M, true, "within 100 km of the origin"},
    {"azimuth", &site_antenna::azimuth, false, 0, -360, 360, true, "from -360 to 360 degrees"},
    {"downtilt", &site_antenna::downtilt, false, 0, -90, 90, true, "from -90 to 90 degrees"},
};

// The field's value, its fallback when it may be left out, or nullopt with the problem told.
std::optional<double> field(const json& o, const field_rule& rule, int antenna, std::string& problem) {
  auto refuse = [&](const std::string& why) {
    if (problem.empty()) problem = c_format("antenna %d: \"%s\" ", antenna, rule.key) + why;
    return std::nullopt;
  };
  if (!o.contains(rule.key)) {
    if (rule.required) return refuse("is missing");
    return rule.fallback;
  }
  const json& v = o[rule.key];
  if (!v.is_number()) return refuse("is no number");
  const double d = v.get<double>();
  if (!std::isfinite(d)) return refuse("is no finite number");
  if (d > rule.high || d < rule.low || (d == rule.low && !rule.low_included))
    return refuse(std::string("must be ") + rule.range_text);
  return d;
}

bool read_antenna(const json& a, int number, const std::filesystem::path& folder, const lobe_state& reading,
                  method_3d method, site& out, std::string& problem) {
  if (!a.is_object()) {
    problem = c_format("antenna %d is no JSON object", number);
    return false;
  }
  site_antenna ant;
  for (const field_rule& rule : k_fields) {
    const auto value = field(a, rule, number, problem);
    if (!value) return false;
    ant.*rule.member = *value;
  }
  if (!power_density_limit(out.standard, ant.frequency_mhz)) {
    problem = c_format("antenna %d: %g MHz is outside the limits of %s", number, ant.frequency_mhz,
                       exposure_standard_name(out.standard));
    return false;
  }
  std::optional<double> gain;
  if (a.contains("gain_dbi")) gain = ant.gain_dbi;
  if (a.contains("pattern")) {
    if (!a["pattern"].is_string()) {
      problem = c_format("antenna %d: \"pattern\" is no file name", number);
      return false;
    }
    ant.pattern_file = a["pattern"].get<std::string>();
    const std::string file = (folder / ant.pattern_file).string();
    auto st = std::make_unique<lobe_state>(reading);
    run_log log;
    const action_report loaded = open_file(*st, log, file, dialog_extension(file));
    if (!loaded.ok) {
      problem = c_format("antenna %d: cannot read %s: ", number, file.c_str()) + read_failure(file, loaded);
      return false;
    }
    if (!pattern_3d_of(st->pd, ant.frequency_mhz, method, ant.pattern)) {
      problem = c_format("antenna %d: %s has no frequency with a horizontal and a vertical cut", number, file.c_str());
      // What the load said tells why (LF-only line ends, say).
      for (const std::string& notice : st->file.load_notices) problem += " (" + notice + ")";
      return false;
    }
    const gain_reading g = read_gain(st->pd.mdgain, st->pd.gunits);
    if (!gain && g.valid) {
      if (!(g.dbi() >= -50.0 && g.dbi() <= 60.0)) {
        problem = c_format("antenna %d: the gain of %s must be from -50 to 60 dBi", number, file.c_str());
        return false;
      }
      gain = g.dbi();
    }
  }
  if (!gain) {
    problem = c_format("antenna %d has no \"gain_dbi\" and no pattern file with a gain", number);
    return false;
  }
  ant.gain_dbi = *gain;
  out.antennas.push_back(std::move(ant));
  return true;
}

bool read_site(const std::string& path, const lobe_state& reading, site& out, std::string& problem) {
  std::FILE* f = open_for_reading(path);
  if (!f) {
    problem = open_failure_text(errno);
    return false;
  }
  std::string text;  // stays empty for a file of no sane size, which is then no JSON object
  read_file_image(f, text);
  std::fclose(f);
  const json j = parse_refusing_duplicates(text, problem);
  if (j.is_discarded() || !j.is_object()) {
    problem = "not a JSON object";
    return false;
  }
  if (!problem.empty()) return false;
  const auto standard = exposure_standard_named(j.value("standard", std::string("icnirp2020-public")));
  if (!standard) {
    problem = "unknown standard \"" + j.value("standard", std::string()) + "\"";
    return false;
  }
  out.standard = *standard;
  out.ground_reflection = j.value("ground_reflection", false);
  const auto method = method_3d_named(j.value("method", std::string("summing")));
  if (!method) {
    problem = "unknown method \"" + j.value("method", std::string()) + "\"";
    return false;
  }
  if (!j.contains("antennas") || !j["antennas"].is_array() || j["antennas"].empty()) {
    problem = "no \"antennas\"";
    return false;
  }
  if (j["antennas"].size() > MAX_SITE_ANTENNAS) {
    problem = c_format("%zu antennas: a site holds at most %zu", j["antennas"].size(), MAX_SITE_ANTENNAS);
    return false;
  }
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  int number = 0;
  for (const auto& a : j["antennas"])
    if (!read_antenna(a, ++number, folder, reading, *method, out, problem)) return false;
  return true;
}

}  // namespace

bool read_site_file(const std::string& path, const lobe_state& reading, site& out, std::string& problem) {
  // A value of the wrong kind ("standard": 5) is a bad site file, not a crash.
  try {
    return read_site(path, reading, out, problem);
  } catch (const json::exception& e) {
    problem = std::string("not a site file: ") + e.what();
    return false;
  }
}

}  // namespace lobe
