// The lobeconv commands that compute from patterns: parameters, lint, the
// 3D pattern and site exposure.
#include <algorithm>
#include <chrono>
#include <functional>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/analysis_json.h"
#include "cli/lobeconv_session.h"
#include "core/formats/pattern_reading.h"
#include "cli/output_guard.h"
#include "cli/site_file.h"
#include "core/analysis/cut_parameters.h"
#include "core/analysis/library_lint.h"
#include "core/exposure/pattern3d.h"
#include "core/session/antenna_loader.h"
#include "core/io/file_image.h"
#include "core/io/file_sink.h"
#include "core/formats/file_types.h"
#include "core/text/c_numeric.h"

namespace lobe::lobeconv {

int analyse(session& s, const options& o, std::ostream& out, std::ostream& err) {
  if (o.positional.size() != 2) {
    err << "lobeconv: analyse takes one FILE\n";
    return 2;
  }
  if (!load(s, o.positional[1], err)) return 1;
  if (o.json) {
    out << analysis_to_json(*s.st).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
    return 0;
  }
  out << parameters_table(*s.st, false);
  for (const datasheet_difference& d : datasheet_check(s.st->pd)) out << "Header: " << d.text << "\n";
  return 0;
}

namespace {

// Why `path` gave no pattern, from its first bytes.
std::string no_pattern_reason(const std::string& path) {
  std::string head(4096, '\0');
  long long size = 0;
  if (std::FILE* f = open_for_reading(path)) {
    head.resize(std::fread(head.data(), 1, head.size(), f));
    if (std::fseek(f, 0, SEEK_END) == 0) size = std::ftell(f);
    std::fclose(f);
  }
  return why_no_pattern(head, size);
}

}  // namespace

// Every file as the Open command loads it, without the opt-ins that would
// hide what lint is there to find.
int lint(session& s, const options& o, std::ostream& out) {
  if (o.positional.size() < 2) {
    out << "lobeconv: lint takes one or more FILEs\n";
    return 2;
  }
  int status = 0;
  const std::unique_ptr<lobe_state> start = std::make_unique<lobe_state>(*s.st);
  for (std::size_t i = 1; i < o.positional.size(); ++i) {
    const std::string& path = o.positional[i];
    *s.st = *start;
    s.st->settings.lf_line_ends = false;
    s.st->settings.resample_long_cuts = false;
    s.st->settings.signed_levels = false;
    const action_report loaded = open_file(*s.st, s.log, path, dialog_extension(path));
    std::vector<lint_finding> findings =
        loaded.ok ? lint_pattern(*s.st) : std::vector<lint_finding>{{true, "cannot read: " + read_failure(path, loaded)}};
    // A file that gave no pattern at all is an error whatever it is (LF-only
    // line ends have their own finding); so is a program or any binary file,
    // even where a few of its bytes happened to read as a point.
    if (loaded.ok && !s.st->file.lf_only_empty) {
      const std::string why = no_pattern_reason(path);
      const bool binary = why.find("program") != std::string::npos || why.find("NUL") != std::string::npos ||
                          why.find("UTF-16") != std::string::npos;
      if (!has_points(s.st->pd) || binary) findings.insert(findings.begin(), {true, why});
    }
    for (const lint_finding& f : findings) {
      out << path << ": " << (f.error ? "error" : "warning") << ": " << f.text << "\n";
      if (f.error) status = 1;
    }
  }
  return status;
}

int pattern3d(session& s, const options& o, std::ostream& err) {
  if (o.positional.size() != 3) {
    err << "lobeconv: pattern3d takes FILE and OUT.csv\n";
    return 2;
  }
  const auto method = method_3d_named(o.method);
  if (!method) {
    err << "lobeconv: --method takes summing, weighted or hybrid\n";
    return 2;
  }
  if (refuse_output_over_input(o.positional[2], {o.positional[1]}, err)) return 1;
  if (!load(s, o.positional[1], err)) return 1;
  double mhz = 0.0;
  if (o.freq_mhz) {
    mhz = *o.freq_mhz;
  } else if (s.st->pd.nofreq > 0) {
    c_sscanf(s.st->pd.freq[0].patfre, "%lf", &mhz);
  }
  std::shared_ptr<const pattern_3d> p;
  if (!pattern_3d_of(s.st->pd, mhz, *method, p)) {
    err << "lobeconv: " << o.positional[1] << " has no frequency with a horizontal and a vertical cut\n";
    return 1;
  }
  std::string csv = "azimuth,elevation,gain\n";
  // The step was checked with the options.
  const int n = *grid_steps(o.step);
  for (int e = 0; e <= n; ++e)
    for (int a = 0; a < 2 * n; ++a) {
      const double az = -180.0 + a * 180.0 / n, el = -90.0 + e * 180.0 / n;
      csv += c_format("%g,%g,%.3f\n", az, el, p->gain(az, el));
    }
  atomic_file out;
  if (!out.open(o.positional[2]) || !out.write(csv.data(), csv.size()) || !out.commit()) {
    err << "lobeconv: cannot write " << o.positional[2] << ": " << out.error() << "\n";
    return 1;
  }
  return 0;
}

namespace {

// A boundary in metres, or how far it was looked for when it goes on beyond.
nlohmann::ordered_json distance_json(double m) {
  if (m >= BOUNDARY_SEARCH_LIMIT_M) return {{"beyond_m", BOUNDARY_SEARCH_LIMIT_M}};
  return std::round(m * 1000.0) / 1000.0 + 0.0;
}

// A long computation says how far it has got, once it has taken a while.
class progress_line {
 public:
  explicit progress_line(std::ostream& err) : err_(err), start_(std::chrono::steady_clock::now()) {}
  ~progress_line() {
    if (shown_) err_ << "\n";
  }
  void operator()(int done, int total) {
    const auto now = std::chrono::steady_clock::now();
    if (now - start_ < std::chrono::seconds(2) || (shown_ && now - last_ < std::chrono::milliseconds(500) && done < total))
      return;
    err_ << "\rlobeconv: exposure: " << done << " of " << total << " antennas" << std::flush;
    shown_ = true;
    last_ = now;
  }

 private:
  std::ostream& err_;
  std::chrono::steady_clock::time_point start_, last_;
  bool shown_ = false;
};

// The site's answer as `lobeconv exposure` prints it.
nlohmann::ordered_json site_json(const site& st, const std::vector<compliance_boundary>& boundaries) {
  auto round3 = [](double v) { return std::round(v * 1000.0) / 1000.0 + 0.0; };
  nlohmann::ordered_json j;
  j["standard"] = exposure_standard_name(st.standard);
  j["standard_title"] = exposure_standard_title(st.standard);
  j["ground_reflection"] = st.ground_reflection;
  nlohmann::ordered_json antennas = nlohmann::ordered_json::array();
  for (std::size_t a = 0; a < st.antennas.size(); ++a) {
    const site_antenna& ant = st.antennas[a];
    const compliance_boundary& b = boundaries[a];
    antennas.push_back({{"pattern", ant.pattern_file},
                        {"frequency_mhz", ant.frequency_mhz},
                        {"gain_dbi", round3(ant.gain_dbi)},
                        {"eirp_w", round3(ant.eirp_w())},
                        {"limit_w_m2", round3(power_density_limit(st.standard, ant.frequency_mhz).value_or(NAN))},
                        {"boundary_m",
                         {{"front", distance_json(b.front)},
                          {"back", distance_json(b.back)},
                          {"left", distance_json(b.left)},
                          {"right", distance_json(b.right)},
                          {"above", distance_json(b.above)},
                          {"below", distance_json(b.below)}}}});
  }
  j["antennas"] = antennas;
  return j;
}

}  // namespace

int exposure(session& s, const options& o, std::ostream& out, std::ostream& err, const lobeconv_renderer& renderer) {
  if (o.positional.size() != 2) {
    err << "lobeconv: exposure takes one SITE.json\n";
    return 2;
  }
  site st;
  std::string problem;
  if (!read_site_file(o.positional[1], *s.st, st, problem)) {
    err << "lobeconv: " << o.positional[1] << ": " << problem << "\n";
    return 1;
  }
  if (!o.standard.empty()) {
    const auto standard = exposure_standard_named(o.standard);
    if (!standard) {
      err << "lobeconv: --standard takes icnirp2020-public, icnirp2020-occupational, fcc-public or fcc-occupational\n";
      return 2;
    }
    st.standard = *standard;
    // The file's frequencies were checked against its own standard.
    for (const site_antenna& a : st.antennas)
      if (!power_density_limit(st.standard, a.frequency_mhz)) {
        err << "lobeconv: " << o.positional[1] << ": " << a.frequency_mhz << " MHz is outside the limits of "
            << exposure_standard_name(st.standard) << "\n";
        return 1;
      }
  }
  if (!o.picture.empty()) {
    std::vector<std::string> inputs = {o.positional[1]};
    const std::filesystem::path folder = std::filesystem::path(o.positional[1]).parent_path();
    for (const site_antenna& a : st.antennas)
      if (!a.pattern_file.empty()) inputs.push_back((folder / a.pattern_file).string());
    if (refuse_output_over_input(o.picture, inputs, err)) return 1;
  }
  std::vector<compliance_boundary> boundaries;
  {
    progress_line progress(err);
    boundaries = boundaries_of(st, std::ref(progress));
  }
  nlohmann::ordered_json j = site_json(st, boundaries);
  if (o.at) j["ter"] = st.total_exposure_ratio((*o.at)[0], (*o.at)[1], (*o.at)[2]);
  out << j.dump(2) << "\n";
  if (o.picture.empty()) return 0;
  exposure_view view = o.map;
  view.antenna = std::clamp(view.antenna, 0, static_cast<int>(st.antennas.size()) - 1);
  return renderer.picture(o.picture, o.render.width, o.render.height,
                          [&](surface& dc, int w, int h) { draw_exposure_map(st, view, dc, w, h); }, err);
}

}  // namespace lobe::lobeconv
