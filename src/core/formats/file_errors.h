// The short load-error report the pattern readers leave in the status bar.
#pragma once

#include <string>

namespace lobe {

class window_port;

// "Bad file param - " followed by "NOFREQ! " and/or "FSTLST!".
std::string file_error_text(int file_errors);

// Empties the error field of the status bar before a load.
void clear_file_errors(window_port& win);

// After a load with errors: only NSMA 1999 files show the report.
void report_file_errors(window_port& win, int file_type, int file_errors);

}  // namespace lobe
