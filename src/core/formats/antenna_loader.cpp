#include "core/formats/antenna_loader.h"

#include <cstring>

#include "core/formats/ant_format.h"
#include "core/text/c_numeric.h"
#include "core/text/field_text.h"
#include "core/formats/file_errors.h"
#include "core/io/file_image.h"
#include "core/formats/file_types.h"
#include "core/formats/format_table.h"
#include "core/formats/line_splitter.h"
#include "core/formats/long_cuts.h"
#include "core/formats/nec_reader.h"
#include "core/formats/nsma89_reader.h"
#include "core/formats/nsma_reader.h"
#include "core/formats/planet_format.h"
#include "core/formats/signed_levels.h"
#include "core/io/run_log.h"

namespace lobe {

namespace {

// Resets the record before a file replaces the pattern.
void clear_for_new_pattern(lobe_state& st, core_io& io) {
  io.report.pattern_replaced = true;
  clear_cut_data(st.pd);
  clear_planet_header_data(st.pd, st.all_emax);
}

// A load that dropped points, or read nothing from a file with LF line ends,
// says so: the user must not take a shortened pattern for the whole one. A
// loss gets a message; resampled cuts only a status line.
void report_load_notices(lobe_state& st, core_io& io) {
  if (st.file.load_notices.empty()) return;
  std::string text;
  for (const std::string& n : st.file.load_notices) text += (text.empty() ? "" : "\n\n") + n;
  for (const std::string& n : st.file.load_notices) io.log.write_error_log("open_file", n);
  const bool lost = st.file.lf_only_empty || !st.settings.resample_long_cuts;
  if (lost)
    io.report.say(message_kind::load_notice, text);
  else
    io.report.set_status(STB_ERROR, st.file.load_notices.front());
}

void finish_open(lobe_state& st, core_io& io, const std::string& fn) {
  report_load_notices(st, io);
  io.report.pattern_replaced = true;
  st.view.scale_to_max_mode = 0;
  st.file.filename_set = 1;
  st.file.szFileName_name = file_title(fn);
  st.file.loaded_file_type = st.file.file_type;
}

}  // namespace

action_report open_file(lobe_state& st, run_log& log, const std::string& fn, std::string_view fx) {
  action_report report;
  core_io io{log, report};
  std::FILE* file = open_for_reading(fn);
  if (!file) return report.fail("Unable to open antenna file.");
  const int type = open_type_from_extension(fx);
  if (type == FT_4NEC && !nec_cut_fits(st.pd)) {
    std::fclose(file);
    return report.fail(
        "The first frequency already has 8 cuts, the most it can hold. Delete a cut before adding a 4NEC file.");
  }
  st.file.file_type = type;
  bool read_ok = true;
  if (type == FT_4NEC) {
    report.pattern_replaced = true;
    read_ok = read_4nec_file(st, io, file);
  } else {
    clear_for_new_pattern(st, io);
    read_ok = read_antenna_file(st, io, file);
  }
  std::fclose(file);
  if (!read_ok) {
    // A file that cannot be read is not an empty pattern.
    log.write_error_log("open_file", "Read of " + fn + " failed");
    return report.fail("Unable to open antenna file.");
  }
  finish_open(st, io, fn);
  report.set_status(STB_FILENAME, st.file.szFileName_name);
  return report;
}

action_report open_file_on_startup(lobe_state& st, run_log& log, const std::string& fn) {
  action_report report;
  core_io io{log, report};
  log.write_error_log("lvfile", "open_file_on_startup fn " + fn + " ");
  st.file.file_type = startup_type_from_name(fn);
  if (st.file.file_type == 0) {
    report.ok = false;  // silently: a name we do not know is not ours to open
    return report;
  }
  std::FILE* file = open_for_reading(fn);
  if (!file) return report.fail("Unable to open file.");
  log.write_error_log("lvfile", c_format("open_file_on_startup file_type %d ", st.file.file_type));
  clear_for_new_pattern(st, io);
  const bool read_ok = read_antenna_file(st, io, file);
  std::fclose(file);
  if (!read_ok) {
    log.write_error_log("open_file_on_startup", "Read of " + fn + " failed");
    return report.fail("Unable to open file.");
  }
  finish_open(st, io, fn);
  if (st.file.file_type == FT_ANT)
    report.set_status(STB_FILENAME, c_format("File: %s - V%d", st.file.szFileName_name.c_str(), st.file.ant_file_type));
  else
    report.set_status(STB_FILENAME, "File: " + st.file.szFileName_name);
  return report;
}

bool has_lf_only_line_ends(std::string_view image) {
  return image.find('\n') != std::string_view::npos && image.find('\r') == std::string_view::npos;
}

bool has_points(const antenna_data_type& pd) {
  for (int f = 0; f < count_in(pd.nofreq, MAX_FREQ); ++f)
    for (int c = 0; c < count_in(pd.freq[f].numcut, MAX_CUTS); ++c)
      if (points_to_write(pd.freq[f].cut[c]) > 0) return true;
  return false;
}

namespace {

void reset_before_load(lobe_state& st, core_io& io) {
  st.file.file_errors = 0;
  st.file.load_notices.clear();
  st.file.lf_only_empty = false;
  st.file.cut_facts.clear();
  st.emr.eheight = 25.0f;
  st.all_emax = 0.0f;
  clear_file_errors(io.report);
  st.view.envelope_disp_requested[0] = '\0';
  set_active_envelope(st.ed, -1);
}

void parse_image(lobe_state& st, core_io& io, const std::string* image) {
  reader_state rs;
  if (image) {
    if (st.file.file_type == FT_NSMA99 && (image->size() < 6 || std::memcmp(image->data(), "REVNUM", 6) != 0))
      st.file.file_type = FT_NSMA89;
    // The format's line parser, looked up once: no line changes the type.
    const pattern_format* format = format_of_type(st.file.file_type);
    if (const auto parse = format ? format->parse : nullptr)
      split_lines(*image, LINE_LIMIT, [&](const char* line) { parse(st, rs, io, line); }, st.settings.lf_line_ends);
    if (st.file.file_errors != 0) report_file_errors(io.report, st.file.file_type, st.file.file_errors);
  }
  if (st.file.file_type == FT_ANT) post_process_ant_data(st, rs, io);
  if (st.file.file_type == FT_LABZ) post_process_labz_data(st);
  finish_long_cuts(st, rs);
  finish_signed_levels(st, rs);
  const bool lf_only = image && !st.settings.lf_line_ends && has_lf_only_line_ends(*image);
  // The older NSMA layout takes each field from its line, so an LF-only file
  // of it gives fields and points cut out of the wrong places, not nothing:
  // that is dropped, and the user told as for the other formats.
  if (lf_only && st.file.file_type == FT_NSMA89 && has_points(st.pd)) {
    clear_cut_data(st.pd);
    clear_planet_header_data(st.pd, st.all_emax);
  }
  if (lf_only && !has_points(st.pd)) {
    st.file.lf_only_empty = true;
    st.file.load_notices.insert(st.file.load_notices.begin(), LF_ONLY_NOTICE);
  }
  st.view.centre_db_ix = 4;
}

}  // namespace

void read_antenna_image(lobe_state& st, core_io& io, const std::string* image) {
  reset_before_load(st, io);
  parse_image(st, io, image);
}

bool read_antenna_file(lobe_state& st, core_io& io, std::FILE* file) {
  reset_before_load(st, io);
  std::string image;
  const image_status status = read_file_image(file, image);
  if (status == image_status::no_size) return true;
  if (status == image_status::read_failed) return false;
  parse_image(st, io, &image);
  return true;
}

std::string read_failure(const std::string& path, const action_report& loaded) {
  std::FILE* probe = open_for_reading(path);
  if (!probe) return open_failure_text(errno);
  std::fclose(probe);
  return loaded.failure_text();
}

}  // namespace lobe
