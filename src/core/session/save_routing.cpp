#include "core/session/save_routing.h"

#include "core/io/file_sink.h"
#include "core/formats/file_types.h"
#include "core/formats/format_table.h"
#include "core/io/run_log.h"

namespace lobe {

write_options write_options_of(const lobe_state& st) {
  const envelope_data_type* env = active_envelope(st.ed);
  return {.scale_to_strongest = st.view.scale_to_max_mode != 0,
          .envelope_shown = env ? env->title : nullptr,
          .ant_version = st.file.ant_file_type,
          .loaded_file_type = st.file.loaded_file_type};
}

action_report check_something_to_save(const lobe_state& st) {
  action_report report;
  if (st.pd.nofreq > 0 && st.pd.freq[0].numcut > 0) return report;
  return report.fail("Nothing to save.");
}

action_report save_file(lobe_state& st, run_log& log, const std::string& path, const save_options& how) {
  action_report report;
  core_io io{log, report};
  st.file.file_type = save_type_from_extension(dialog_extension(path));
  atomic_file out;
  if (!out.open(path, how)) {
    log.write_error_log("save_file", "Cannot write " + path + ": " + out.error());
    report.system_reason = out.error();
    // A file we will not replace says why: it is not the folder that failed.
    return report.fail(out.refused() ? "Unable to open antenna file.\n" + out.error() + ": " + path
                                     : std::string("Unable to open antenna file."));
  }
  // A type without a writer of its own (the older NSMA layout) is saved as NSMA.
  const pattern_format* f = format_of_type(st.file.file_type);
  const pattern_format* writer = f && f->write ? f : format_of_type(FT_NSMA99);
  writer->write(st, out, io, write_options_of(st));
  if (writer->settles_first_last) settle_first_last(st.pd);
  if (!out.commit()) {
    log.write_error_log("save_file", "Save of " + path + " failed (" + out.error() + "); the previous file was kept");
    report.system_reason = out.error();
    return report.fail("The file could not be written completely. Any previous file of that name was kept.");
  }
  st.file.szFileName = path;
  st.file.szFileName_name = file_title(path);  // the printed page names the file now on screen
  st.file.filename_set = 1;
  report.set_status(STB_FILENAME, file_title(path));
  return report;
}

}  // namespace lobe
