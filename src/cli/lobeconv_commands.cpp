#include "cli/lobeconv_commands.h"
#include "cli/lobeconv_session.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>

#include "cli/output_guard.h"
#include "cli/pattern_json.h"
#include "cli/site_file.h"
#include "core/session/antenna_loader.h"
#include "core/formats/envelope_file.h"
#include "core/io/file_image.h"
#include "core/io/file_sink.h"
#include "core/formats/file_types.h"
#include "core/formats/format_table.h"
#include "core/formats/help_file.h"
#include "core/session/save_routing.h"
#include "core/record/action_report.h"
#include "core/record/lobe_state.h"
#include "core/io/run_log.h"
#include "core/text/c_numeric.h"

namespace lobe {

const char* const k_lobeconv_usage =
    "Usage: lobeconv COMMAND [ARGS] [OPTIONS]\n"
    "\n"
    "Reads and writes antenna pattern files exactly as Lobeview's Open and Save\n"
    "commands do.\n"
    "\n"
    "Commands:\n"
    "  dump FILE              Print the pattern loaded from FILE as JSON: file type,\n"
    "                         load errors, header fields, and every frequency and cut\n"
    "                         with its points.\n"
    "  convert IN OUT         Read IN and write OUT; the format of OUT follows its\n"
    "                         extension: .nsma and .adf NSMA, .labz LABZ, .ant ANT,\n"
    "                         anything else Planet. A failed conversion leaves no\n"
    "                         OUT behind and keeps an old one. Every cut counts as\n"
    "                         shown; Planet keeps the first horizontal and the first\n"
    "                         vertical cut.\n"
    "  convert IN... FOLDER --to EXT\n"
    "                         Convert many files into FOLDER, each named after its\n"
    "                         input with the extension EXT.\n"
    "  envelopes FILE         Print an envelope library (kwr_envelopes.csv) as JSON.\n"
    "  help FILE              Print the three sections of a help text file\n"
    "                         (kwr_help.txt) as JSON.\n"
    "  analyse FILE           Print the parameters of every cut (peak, beamwidths,\n"
    "                         front-to-back, sidelobes, tilt, squint), the polar\n"
    "                         pairs' cross-polar discrimination, a directivity\n"
    "                         estimate and the header fields the cuts contradict;\n"
    "                         with --json as JSON (docs/ANALYSIS.md).\n"
    "  lint FILE...           Check a library of files: one line per finding, exit\n"
    "                         status 1 when any is an error.\n"
    "  pattern3d FILE OUT.csv A 3D pattern from the first horizontal and vertical cut\n"
    "                         of a frequency: azimuth, elevation (below the horizon)\n"
    "                         and gain (dB below the peak) rows; --method summing,\n"
    "                         weighted or hybrid (default summing), --step DEG\n"
    "                         (default 1), --freq MHZ (default the first).\n"
    "  exposure SITE.json     RF exposure of a site of antennas against a standard\n"
    "                         (--standard icnirp2020-public, icnirp2020-occupational,\n"
    "                         fcc-public or fcc-occupational): EIRP, limit and\n"
    "                         compliance boundary per antenna as JSON; --at X,Y,Z adds\n"
    "                         the total exposure ratio there; --render OUT.png with\n"
    "                         --view top (at --z M, default 1.5) or side (along\n"
    "                         --antenna N's azimuth) draws it (docs/EXPOSURE.md).\n"
    "  check FILE --envelope TITLE --envelopes LIB\n"
    "                         Every cut against a mask of the envelope library: a\n"
    "                         line per cut with its verdict (pass, fail, incomplete\n"
    "                         where it has no reading under the mask), its worst\n"
    "                         margin and where, the failing angle ranges and the\n"
    "                         gaps; with --json as JSON. Exit status 0 when every\n"
    "                         cut passes, 1 when one does not, 2 on an error\n"
    "                         (docs/VERDICTS.md).\n"
    "  compare MEASURED REFERENCE\n"
    "                         Each shown cut of MEASURED against the cut of the same\n"
    "                         kind at the nearest frequency (within 1 %) of\n"
    "                         REFERENCE, any formats: RMS and largest deviation over\n"
    "                         the main lobe and where the reference is above -30 dB,\n"
    "                         the parameters' differences, a verdict per cut\n"
    "                         (--tolerance DB, default 1, of RMS over the main lobe),\n"
    "                         the cuts left unmatched; --align peak compares each\n"
    "                         below its own peak; --json. Exit status as check's.\n"
    "  report FILE OUT.pdf    A test report: the printed page of every frequency (on\n"
    "                         the Cartesian chart with the mask when one is given),\n"
    "                         then the parameters and the verdicts of check\n"
    "                         (--envelope, --envelopes) and compare (--reference\n"
    "                         FILE), with the date and the files' names; OUT.png\n"
    "                         draws its first page.\n"
    "  render IN OUT          Draw IN's charts into OUT: .png, .svg or .pdf. Without\n"
    "                         --print, the chart as the main window in view mode\n"
    "                         shows it in a client area of --size; with --print, the\n"
    "                         printed page on A4 at 600 dpi.\n"
    "\n"
    "Options:\n"
    "  --ant-version 1|2|3    ANT version to write (default 3).\n"
    "  --nec-columns A,S      Angle and signal columns of a 4NEC text file,\n"
    "                         counted from 1 (default 1,2).\n"
    "  --log-dir DIR          Write the run log lobeview_log.txt into DIR.\n"
    "  --envelopes FILE       Envelope library to load before IN (a LABZ file may\n"
    "                         name one of its envelopes).\n"
    "  --envelope TITLE       Show (render) or save (convert to LABZ) this envelope.\n"
    "  --lf                   Read an LF without CR as a line end too (files from\n"
    "                         Linux tools and version control). Without it, lines\n"
    "                         end at CR as in Lobeview, and a file with LF line\n"
    "                         ends alone reads as nothing (said on stderr).\n"
    "  --resample             Keep a cut longer than the 362 points the record\n"
    "                         holds by resampling it to one point per degree\n"
    "                         (linear in dB); without it the points beyond are\n"
    "                         dropped (said on stderr).\n"
    "  --signed-levels        Read a cut whose levels have both signs (gains, as\n"
    "                         some converters write them) as gains: dB below\n"
    "                         the peak = strongest level - level. Without it\n"
    "                         every level is taken as dB below the peak whatever\n"
    "                         its sign (said on stderr).\n"
    "\n"
    "Render options:\n"
    "  --view polar|rect|rect90|emr   chart to draw (default: the one IN asks for)\n"
    "  --scale db|mv          dB or linear voltage scale (default db)\n"
    "  --grid lin|log         ring spacing on the dB scale (default lin)\n"
    "  --zoom 0..5            dB range 20, 25, 30, 35, 40, 45 (default 4: 40 dB)\n"
    "  --size WxH             client area in pixels (default 1280x820)\n"
    "  --print portrait|landscape     draw the printed page instead\n"
    "  --power W              EMR transmitter power (default 200)\n"
    "  --loss DB              EMR feeder loss (default 0)\n"
    "  --height M             EMR antenna height (default 25)\n"
    "  --help                 Show this text.\n"
    "  --                     Every argument after this is a file name, even one\n"
    "                         that starts with a dash.\n"
    "\n"
    "Formats, by the extension in any case (an .nsma file that does not start with\n"
    "REVNUM is read in the older positional layout; any other extension is Planet):\n";

namespace {

// The formats as the format table has them: extension, name, what it holds.
std::string format_list() {
  std::string out;
  for (const pattern_format& f : pattern_formats()) {
    if (!f.extension) continue;
    const char* how = f.write ? "read, written" : "read";
    out += c_format("  .%-5s %s (%s): %s\n", f.extension, f.name, how, f.carries);
  }
  return out + "\nExit status: 0 done, 1 the file could not be read or written, 2 bad command line.\n";
}

}  // namespace

namespace lobeconv {

bool load(session& s, const std::string& path, std::ostream& err) {
  const action_report loaded = open_file(*s.st, s.log, path, dialog_extension(path));
  if (!loaded.ok) {
    err << "lobeconv: cannot read " << path << ": " << read_failure(path, loaded) << "\n";
    return false;
  }
  const std::string* status_error = loaded.status_of(STB_ERROR);
  s.status_error = status_error ? *status_error : "";
  // What the load dropped or changed, never silently.
  for (const std::string& notice : s.st->file.load_notices) err << "lobeconv: " << path << ": " << notice << "\n";
  return true;
}

// Loads the envelope library named on the command line, before the pattern.
bool load_envelopes(session& s, const options& o, std::ostream& err) {
  if (o.envelopes_file.empty()) return true;
  if (!read_envelope_file(s.st->ed, o.envelopes_file)) {
    err << "lobeconv: cannot read " << o.envelopes_file << "\n";
    return false;
  }
  return true;
}

bool select_envelope(session& s, const options& o, std::ostream& err) {
  if (o.render.envelope_title.empty()) return true;
  if (const int e = envelope_titled(s.st->ed, o.render.envelope_title); e >= 0) {
    set_active_envelope(s.st->ed, e);
    return true;
  }
  err << "lobeconv: no envelope titled \"" << o.render.envelope_title << "\" in the library\n";
  return false;
}

namespace {

// The files a command reads: positional arguments [from, to) and the envelope library.
std::vector<std::string> inputs_of(const options& o, std::size_t from, std::size_t to) {
  std::vector<std::string> in(o.positional.begin() + static_cast<std::ptrdiff_t>(from),
                              o.positional.begin() + static_cast<std::ptrdiff_t>(to));
  if (!o.envelopes_file.empty()) in.push_back(o.envelopes_file);
  return in;
}

// convert writes pattern files: a picture's name would get a Planet file.
bool refuse_picture(const std::string& name, std::ostream& err) {
  if (!is_picture_name(name)) return false;
  err << "lobeconv: convert writes pattern files, not pictures (" << name << "); use lobeconv render\n";
  return true;
}

int render(session& s, const options& o, std::ostream& err, const lobeconv_renderer& renderer) {
  if (o.positional.size() != 3) {
    err << "lobeconv: render takes IN and OUT\n";
    return 2;
  }
  if (refuse_output_over_input(o.positional[2], inputs_of(o, 1, 2), err)) return 1;
  if (!load_envelopes(s, o, err) || !load(s, o.positional[1], err) || !select_envelope(s, o, err)) return 1;
  return renderer.draw(*s.st, s.log, o.render, o.positional[2], err);
}

int dump(session& s, const options& o, std::ostream& out, std::ostream& err) {
  if (o.positional.size() != 2) {
    err << "lobeconv: dump takes one FILE\n";
    return 2;
  }
  if (!load(s, o.positional[1], err)) return 1;
  out << pattern_json_text(*s.st, s.status_error) << "\n";
  return 0;
}

// One file: read as the Open command does, written as the Save command does.
int convert_one(session& s, const options& o, const std::string& in, const std::string& out_path, std::ostream& err,
                const save_options& how = {}) {
  if (!load(s, in, err) || !select_envelope(s, o, err)) return 1;
  if (const action_report nothing = check_something_to_save(*s.st); !nothing.ok) {
    err << "lobeconv: " << in << ": " << nothing.failure_text() << "\n";
    return 1;
  }
  s.st->file.ant_file_type = o.ant_version;
  const action_report saved = save_file(*s.st, s.log, out_path, how);
  if (!saved.ok) {
    err << "lobeconv: cannot write " << out_path << ": " << saved.failure_line() << "\n";
    return 1;
  }
  for (const action_message& note : saved.messages) err << "lobeconv: note: " << note.text << "\n";
  return 0;
}

std::string batch_output_name(const std::string& folder, const std::string& in, const std::string& ext) {
  return (std::filesystem::path(folder) / std::filesystem::path(in).stem()).string() + "." + ext;
}

// Every input into the folder, named after it with the new extension.
int convert_batch(session& s, const options& o, std::ostream& err) {
  if (o.positional.size() < 3) {
    err << "lobeconv: convert --to takes one or more IN and a FOLDER\n";
    return 2;
  }
  const std::string folder = o.positional.back();
  if (!std::filesystem::is_directory(folder)) {
    err << "lobeconv: " << folder << " is not a folder\n";
    return 2;
  }
  if (refuse_picture("x." + o.to_ext, err)) return 2;
  // No output may be one of the batch's inputs: checked for all before any is written.
  const std::vector<std::string> inputs = inputs_of(o, 1, o.positional.size() - 1);
  bool over_input = false;
  for (std::size_t i = 1; i + 1 < o.positional.size(); ++i)
    over_input = refuse_output_over_input(batch_output_name(folder, o.positional[i], o.to_ext), inputs, err) || over_input;
  if (over_input) return 1;
  if (!load_envelopes(s, o, err)) return 1;
  int status = 0;
  const std::unique_ptr<lobe_state> start = std::make_unique<lobe_state>(*s.st);
  // Two inputs that would be written to one name (a.nsma and a.pla --to labz)
  // are both refused: neither may silently replace the other.
  // Each file still replaces its old one only once complete, but the batch
  // goes to the disk in one sync at its end, not one per file.
  remove_stale_temp_files(folder);
  spare_files spares;
  const save_options batch{.sync_each_file = false, .sweep_stale_temps = false, .spares = &spares};
  std::map<std::string, std::vector<std::string>> by_output;
  for (std::size_t i = 1; i + 1 < o.positional.size(); ++i)
    by_output[batch_output_name(folder, o.positional[i], o.to_ext)].push_back(o.positional[i]);
  for (std::size_t i = 1; i + 1 < o.positional.size(); ++i) {
    const std::string& in = o.positional[i];
    const auto& same = by_output[batch_output_name(folder, in, o.to_ext)];
    if (same.size() > 1) {
      std::string names;
      for (const std::string& n : same) names += (names.empty() ? "" : ", ") + n;
      err << "lobeconv: " << in << " not converted: " << names << " would all be written to "
          << batch_output_name(folder, in, o.to_ext) << "\n";
      status = 1;
      continue;
    }
    // Each file starts from the state the batch started with (the library,
    // the options), copied over the last file's: no new allocation per file.
    *s.st = *start;
    if (convert_one(s, o, in, batch_output_name(folder, in, o.to_ext), err, batch) != 0) status = 1;
  }
  spares.release();
  if (std::string why; !sync_folder(folder, why)) {
    err << "lobeconv: cannot put " << folder << " on the disk: " << why << "\n";
    status = 1;
  }
  return status;
}

int convert(session& s, const options& o, std::ostream& err) {
  if (o.to_ext.empty()) {
    if (o.positional.size() != 3) {
      err << "lobeconv: convert takes IN and OUT (or IN... FOLDER --to EXT)\n";
      return 2;
    }
    if (refuse_picture(o.positional[2], err)) return 2;
    if (refuse_output_over_input(o.positional[2], inputs_of(o, 1, 2), err)) return 1;
    if (!load_envelopes(s, o, err)) return 1;
    return convert_one(s, o, o.positional[1], o.positional[2], err);
  }
  return convert_batch(s, o, err);
}

int envelopes(const options& o, std::ostream& out, std::ostream& err) {
  if (o.positional.size() != 2) {
    err << "lobeconv: envelopes takes one FILE\n";
    return 2;
  }
  auto ed = std::make_unique<envelopes_type>();
  if (!read_envelope_file(*ed, o.positional[1])) {
    err << "lobeconv: cannot read " << o.positional[1] << "\n";
    return 1;
  }
  out << envelopes_to_json(*ed).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
  return 0;
}

int help_text(const options& o, std::ostream& out, std::ostream& err) {
  if (o.positional.size() != 2) {
    err << "lobeconv: help takes one FILE\n";
    return 2;
  }
  help_texts help;
  if (!read_help_file(help, o.positional[1])) {
    err << "lobeconv: cannot read " << o.positional[1] << "\n";
    return 1;
  }
  out << help_to_json(help).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
  return 0;
}

}  // namespace
}  // namespace lobeconv

int run_lobeconv(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 const lobeconv_renderer& renderer) {
  using namespace lobeconv;
  options o;
  if (auto problem = parse_options(args, o)) {
    err << "lobeconv: " << *problem << "\n" << "Try 'lobeconv --help'.\n";
    return 2;
  }
  if (o.help) {
    out << k_lobeconv_usage << format_list();
    return 0;
  }
  if (o.positional.empty()) {
    err << "lobeconv: no command given\n" << "Try 'lobeconv --help'.\n";
    return 2;
  }
  const std::string& command = o.positional[0];
  const bool draws = command == "render" || command == "report" || (command == "exposure" && !o.picture.empty());
  if (draws && !renderer.draw) {
    if (renderer.hand_over) return renderer.hand_over(args, err);
    err << "lobeconv: this build cannot render\n";
    return 1;
  }
  session s;
  s.st->settings.lf_line_ends = o.lf;
  s.st->settings.resample_long_cuts = o.resample;
  s.st->settings.signed_levels = o.signed_levels;
  s.st->nec.nec_angle_col = o.nec_angle_col;
  s.st->nec.nec_signal_col = o.nec_signal_col;
  if (!o.log_dir.empty() && !s.log.open(o.log_dir)) {
    err << "lobeconv: cannot create the log in " << o.log_dir << "\n";
    return 1;
  }
  if (command == "dump") return dump(s, o, out, err);
  if (command == "convert") return convert(s, o, err);
  if (command == "envelopes") return envelopes(o, out, err);
  if (command == "render") return render(s, o, err, renderer);
  if (command == "help") return help_text(o, out, err);
  if (command == "analyse") return analyse(s, o, out, err);
  if (command == "lint") return lint(s, o, out);
  if (command == "pattern3d") return pattern3d(s, o, err);
  if (command == "exposure") return exposure(s, o, out, err, renderer);
  if (command == "check") return check(s, o, out, err);
  if (command == "compare") return compare(s, o, out, err);
  if (command == "report") return report(s, o, err, renderer);
  err << "lobeconv: unknown command " << command << "\n" << "Try 'lobeconv --help'.\n";
  return 2;
}

}  // namespace lobe
