#include "core/formats/save_routing.h"

#include "core/formats/file_sink.h"
#include "core/formats/file_types.h"
#include "core/formats/format_table.h"
#include "core/settings/run_log.h"
#include "core/record/window_port.h"

namespace lobe {

bool check_something_to_save(const lobe_state& st, core_io& io) {
  if (st.pd.nofreq > 0 && st.pd.freq[0].numcut > 0) return true;
  io.win.message_box("Nothing to save.", "IDC_BUTTON_SAVE processing", message_icon::error);
  return false;
}

bool save_file(lobe_state& st, core_io& io, const std::string& path) {
  st.file.file_type = save_type_from_extension(dialog_extension(path));
  atomic_file out;
  if (!out.open(path)) {
    io.log.write_error_log("save_file", "Cannot write " + path + ": " + out.error());
    // A file we will not replace says why: it is not the folder that failed.
    io.win.message_box(out.refused() ? "Unable to open antenna file.\n" + out.error() + ": " + path
                                     : std::string("Unable to open antenna file."),
                       "IDC_BUTTON_SAVE processing", message_icon::error);
    return false;
  }
  io.win.read_form_data();
  // A type without a writer of its own (the older NSMA layout) is saved as NSMA.
  const pattern_format* f = format_of_type(st.file.file_type);
  const pattern_format* writer = f && f->write ? f : format_of_type(FT_NSMA99);
  writer->write(st, out, io);
  if (!out.commit()) {
    io.log.write_error_log("save_file", "Save of " + path + " failed (" + out.error() + "); the previous file was kept");
    io.win.message_box("The file could not be written completely. Any previous file of that name was kept.",
                       "IDC_BUTTON_SAVE processing", message_icon::error);
    return false;
  }
  st.file.szFileName = path;
  st.file.filename_set = 1;
  io.win.set_status_text(STB_FILENAME, file_title(path));
  return true;
}

}  // namespace lobe
