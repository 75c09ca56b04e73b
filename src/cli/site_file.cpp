#include "cli/site_file.h"

#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "core/formats/antenna_loader.h"
#include "core/formats/file_image.h"
#include "core/formats/file_types.h"
#include "core/record/gain_units.h"
#include "core/settings/run_log.h"
#include "core/text/c_numeric.h"

namespace lobe {

namespace {

bool read_site(const std::string& path, site& out, std::string& problem);

}  // namespace

bool read_site_file(const std::string& path, site& out, std::string& problem) {
  // A value of the wrong kind ("standard": 5) is a bad site file, not a crash.
  try {
    return read_site(path, out, problem);
  } catch (const nlohmann::json::exception& e) {
    problem = std::string("not a site file: ") + e.what();
    return false;
  }
}

namespace {

bool read_site(const std::string& path, site& out, std::string& problem) {
  std::FILE* f = open_for_reading(path);
  if (!f) {
    problem = open_failure_text(errno);
    return false;
  }
  std::string text;  // stays empty for a file of no sane size, which is then no JSON object
  read_file_image(f, text);
  std::fclose(f);
  const auto j = nlohmann::json::parse(text, nullptr, false);
  if (j.is_discarded() || !j.is_object()) {
    problem = "not a JSON object";
    return false;
  }
  // The first problem found is the one told.
  auto number = [&](const nlohmann::json& o, const char* key, double fallback, bool required) -> std::optional<double> {
    if (!o.contains(key)) {
      if (required && problem.empty()) problem = std::string("\"") + key + "\" is missing";
      return required ? std::nullopt : std::optional<double>(fallback);
    }
    if (!o[key].is_number() || !std::isfinite(o[key].get<double>())) {
      if (problem.empty()) problem = std::string("\"") + key + "\" is no number";
      return std::nullopt;
    }
    return o[key].get<double>();
  };
  const auto standard = exposure_standard_named(j.value("standard", std::string("icnirp2020-public")));
  if (!standard) {
    problem = "unknown standard \"" + j.value("standard", std::string()) + "\"";
    return false;
  }
  out.standard = *standard;
  out.ground_reflection = j.value("ground_reflection", false);
  const auto method = method_3d_named(j.value("method", std::string("summing")));
  if (!method || !j.contains("antennas") || !j["antennas"].is_array() || j["antennas"].empty()) {
    problem = method ? "no \"antennas\"" : "unknown method \"" + j.value("method", std::string()) + "\"";
    return false;
  }
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  for (const auto& a : j["antennas"]) {
    site_antenna ant;
    const auto mhz = number(a, "frequency_mhz", 0, true), power = number(a, "power_w", 0, true);
    const auto loss = number(a, "loss_db", 0, false), x = number(a, "x", 0, false), y = number(a, "y", 0, false);
    const auto height = number(a, "height", 0, false), az = number(a, "azimuth", 0, false);
    const auto tilt = number(a, "downtilt", 0, false);
    if (!mhz || !power || !loss || !x || !y || !height || !az || !tilt) return false;
    ant.frequency_mhz = *mhz, ant.power_w = *power, ant.loss_db = *loss, ant.x = *x, ant.y = *y;
    ant.height = *height, ant.azimuth = *az, ant.downtilt = *tilt;
    if (!power_density_limit(out.standard, ant.frequency_mhz)) {
      problem = c_format("%g MHz is outside the limits of %s", ant.frequency_mhz, exposure_standard_name(out.standard));
      return false;
    }
    std::optional<double> gain;
    if (a.contains("gain_dbi") && !(gain = number(a, "gain_dbi", 0, true))) return false;
    if (a.contains("pattern")) {
      ant.pattern_file = a["pattern"].is_string() ? a["pattern"].get<std::string>() : "";
      const std::string file = (folder / ant.pattern_file).string();
      auto st = make_lobe_state();
      run_log log;
      if (!open_file(*st, log, file, dialog_extension(file)).ok || !pattern_3d_of(st->pd, ant.frequency_mhz, *method, ant.pattern)) {
        problem = "no horizontal and vertical cut read from " + file;
        return false;
      }
      const gain_reading g = read_gain(st->pd.mdgain, st->pd.gunits);
      if (!gain && g.valid) gain = g.dbi();
    }
    if (!gain) {
      problem = "an antenna has no \"gain_dbi\" and no pattern file with a gain";
      return false;
    }
    ant.gain_dbi = *gain;
    out.antennas.push_back(std::move(ant));
  }
  return true;
}

}  // namespace

}  // namespace lobe
