// The short load-error report the pattern readers leave in the status bar.
#pragma once

#include <string>

namespace lobe {

struct action_report;

// "Bad file param - " followed by "NOFREQ! " and/or "FSTLST!".
std::string file_error_text(int file_errors);

// Empties the error field of the status bar before a load.
void clear_file_errors(action_report& report);

// After a load with errors: only NSMA 1999 files show the report.
void report_file_errors(action_report& report, int file_type, int file_errors);

}  // namespace lobe
