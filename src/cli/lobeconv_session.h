// What the lobeconv commands share: the command line as parsed, the
// program state a pattern is loaded into, and loading it.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/lobeconv_commands.h"
#include "cli/render_command.h"
#include "core/analysis/pattern_compare.h"
#include "core/record/action_report.h"
#include "core/record/lobe_state.h"
#include "core/io/run_log.h"
#include "draw/exposure_map.h"

namespace lobe::lobeconv {

// The command line, parsed.
struct options {
  std::vector<std::string> positional;
  render_options render;
  std::string envelopes_file;
  std::string to_ext;  // batch conversion: the extension of the outputs
  int ant_version = 3;
  int nec_angle_col = 0;  // 0-based
  int nec_signal_col = 1;
  std::string log_dir;
  bool help = false;
  bool lf = false;
  bool resample = false;
  bool signed_levels = false;
  bool json = false;
  std::string method = "summing";
  double step = 1.0;
  std::optional<double> freq_mhz;
  std::string standard;
  std::optional<std::array<double, 3>> at;
  std::string picture;  // exposure --render
  exposure_view map;
  compare_options compare;
  std::string reference;  // report --reference
};

// Reads the command line into `o`; what is wrong with it, if anything.
std::optional<std::string> parse_options(const std::vector<std::string>& args, options& o);

// One run's program state, loaded into by each command, and its log.
struct session {
  std::unique_ptr<lobe_state> st = make_lobe_state();
  run_log log;
  std::string status_error;  // what the window's status bar would show after the load
};

// Loads `path` as the Open command would; prints the reason and returns false when it cannot.
bool load(session& s, const std::string& path, std::ostream& err);

// Loads the envelope library of --envelopes (before the pattern: a LABZ file
// names one of its envelopes), and makes the one of --envelope the active one.
bool load_envelopes(session& s, const options& o, std::ostream& err);
bool select_envelope(session& s, const options& o, std::ostream& err);

// The commands that compute from patterns (lobeconv_analysis.cpp).
int analyse(session& s, const options& o, std::ostream& out, std::ostream& err);
int lint(session& s, const options& o, std::ostream& out);
int pattern3d(session& s, const options& o, std::ostream& err);
int exposure(session& s, const options& o, std::ostream& out, std::ostream& err, const lobeconv_renderer& renderer);

// The verdicts (lobeconv_verdicts.cpp): a pattern against a mask, a
// measured pattern against a reference.
int check(session& s, const options& o, std::ostream& out, std::ostream& err);
int compare(session& s, const options& o, std::ostream& out, std::ostream& err);
int report(session& s, const options& o, std::ostream& err, const lobeconv_renderer& renderer);

}  // namespace lobe::lobeconv
