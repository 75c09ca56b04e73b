#include "core/session/antenna_loader.h"

#include <cstring>

#include "core/text/c_numeric.h"
#include "core/text/field_text.h"
#include "core/formats/file_errors.h"
#include "core/io/file_image.h"
#include "core/formats/file_types.h"
#include "core/formats/nec_reader.h"
#include "core/formats/pattern_reading.h"
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
    read_ok = add_4nec_file(st, io, file);
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
  report.set_status(STB_FILENAME, st.file.file_type == FT_ANT ? c_format("%s - V%d", st.file.szFileName_name.c_str(),
                                                                          st.file.ant_file_type)
                                                              : st.file.szFileName_name);
  return report;
}

// A dropped file or a command-line path opens as the Open command would open
// it: the type from its extension in any case (a published Planet file is
// often .msi or .pln; .txt is a 4NEC table of the default columns), and a
// file that cannot be read says so.
action_report open_file_on_startup(lobe_state& st, run_log& log, const std::string& fn) {
  log.write_error_log("lvfile", "open_file_on_startup fn " + fn + " ");
  const std::string fx = dialog_extension(fn);
  std::FILE* probe = open_for_reading(fn);
  if (!probe) {
    action_report report;
    return report.fail("Unable to open antenna file.");
  }
  std::fclose(probe);
  const int type = open_type_from_extension(fx);
  log.write_error_log("lvfile", c_format("open_file_on_startup file_type %d ", type));
  if (type == FT_4NEC) st.nec = nec_columns{};
  return open_file(st, log, fn, fx);
}

load_options load_options_of(const lobe_state& st) {
  return {.file_type = st.file.file_type,
          .lf_line_ends = st.settings.lf_line_ends != 0,
          .resample_long_cuts = st.settings.resample_long_cuts != 0,
          .signed_levels = st.settings.signed_levels != 0,
          .nec = st.nec};
}

namespace {

void reset_before_load(lobe_state& st, core_io& io) {
  st.file.file_errors = 0;
  st.file.load_notices.clear();
  st.file.lf_only_empty = false;
  st.file.cut_facts.clear();
  st.emr.eheight = 25.0f;
  st.all_emax = 0.0f;
  st.view.envelope_disp_requested[0] = '\0';
  set_active_envelope(st.ed, -1);
  clear_file_errors(io.report);
}

// What the reader found becomes the state's: the file's facts, the view
// and envelope it asks for, and the zoom a new pattern starts at.
void apply_load(lobe_state& st, load_report found) {
  st.file.file_type = found.file_type;
  st.file.file_errors = found.file_errors;
  st.file.load_notices = std::move(found.notices);
  st.file.lf_only_empty = found.lf_only_empty;
  st.file.cut_facts = std::move(found.cut_facts);
  if (found.ant_version != 0) st.file.ant_file_type = found.ant_version;
  if (found.cartesian_view) {
    set_field(st.view.envelope_disp_requested, found.envelope_requested);
    st.view.display_type = DISPLAY_TYPE_RECT;
  }
  if (found.activate_envelope && st.view.envelope_disp_requested[0] != '\0') {
    const int n = count_in(st.ed.numenv, MAX_ENVELOPES);
    for (int v = 0; v < n; ++v)
      if (equals_nocase(st.ed.env[v].title, st.view.envelope_disp_requested)) set_active_envelope(st.ed, v);
  }
  st.view.centre_db_ix = 4;
}

}  // namespace

void read_antenna_image(lobe_state& st, core_io& io, const std::string* image) {
  reset_before_load(st, io);
  apply_load(st, read_pattern_image(st, load_options_of(st), io, image));
}

bool read_antenna_file(lobe_state& st, core_io& io, std::FILE* file) {
  reset_before_load(st, io);
  std::string image;
  const image_status status = read_file_image(file, image);
  if (status == image_status::no_size) return true;
  if (status == image_status::read_failed) return false;
  apply_load(st, read_pattern_image(st, load_options_of(st), io, &image));
  return true;
}

void add_4nec_image(lobe_state& st, core_io& io, const std::string* image) {
  if (!nec_cut_fits(st.pd)) return;
  const load_report found = read_4nec_image(st, load_options_of(st), io, image);
  st.file.file_errors = found.file_errors;
  st.emr.eheight = 25.0f;
  if (found.lines_read) st.view.centre_db_ix = 4;
}

bool add_4nec_file(lobe_state& st, core_io& io, std::FILE* file) {
  if (!nec_cut_fits(st.pd)) return true;
  std::string image;
  const image_status status = read_file_image(file, image);
  // A file that cannot be read adds no cut.
  if (status == image_status::read_failed) return false;
  add_4nec_image(st, io, status == image_status::no_size ? nullptr : &image);
  return true;
}

std::string read_failure(const std::string& path, const action_report& loaded) {
  std::FILE* probe = open_for_reading(path);
  if (!probe) return open_failure_text(errno);
  std::fclose(probe);
  return loaded.failure_text();
}

}  // namespace lobe
