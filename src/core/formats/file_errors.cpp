#include "core/formats/file_errors.h"

#include "core/base/lobeview.h"
#include "core/record/action_report.h"

namespace lobe {

std::string file_error_text(int file_errors) {
  std::string text = "Bad file param - ";
  if (file_errors & FILE_ERR_NOFREQ) text += "NOFREQ! ";
  if (file_errors & FILE_ERR_FSTLST) text += "FSTLST!";
  return text;
}

void clear_file_errors(action_report& report) { report.set_status(STB_ERROR, ""); }

void report_file_errors(action_report& report, int file_type, int file_errors) {
  if (file_type != FT_NSMA99) return;
  report.set_status(STB_ERROR, file_error_text(file_errors));
}

}  // namespace lobe
