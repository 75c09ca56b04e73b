#include "core/formats/file_errors.h"

#include "core/record/lobeview.h"
#include "core/record/window_port.h"

namespace lobe {

std::string file_error_text(int file_errors) {
  std::string text = "Bad file param - ";
  if (file_errors & FILE_ERR_NOFREQ) text += "NOFREQ! ";
  if (file_errors & FILE_ERR_FSTLST) text += "FSTLST!";
  return text;
}

void clear_file_errors(window_port& win) { win.set_status_text(STB_ERROR, ""); }

void report_file_errors(window_port& win, int file_type, int file_errors) {
  if (file_type != FT_NSMA99) return;
  win.set_status_text(STB_ERROR, file_error_text(file_errors));
}

}  // namespace lobe
