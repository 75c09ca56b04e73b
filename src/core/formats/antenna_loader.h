// Opening a pattern file: choosing the format, resetting the record, reading
// the whole file, handing each line to the format's parser and running its
// post-processing.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "core/record/lobe_state.h"

namespace lobe {

// The Open command (after the file dialog): `fx` is the extension text.
action_report open_file(lobe_state& st, run_log& log, const std::string& fn, std::string_view fx);
// Why the load of `path` failed, in the system's words when it has them
// (missing, a folder, a FIFO, too large), else the load's own.
std::string read_failure(const std::string& path, const action_report& loaded);

// A dropped file or a command-line path; the type comes from the name, and
// a name with no known extension is silently ignored (not ok, no message).
action_report open_file_on_startup(lobe_state& st, run_log& log, const std::string& fn);

// Loads an open file of type st.file.file_type into the record; false when
// reading it failed (the record is then left reset and empty).
bool read_antenna_file(lobe_state& st, core_io& io, std::FILE* file);

// What a file with LF-only line ends that gave no pattern is told.
inline constexpr const char* LF_ONLY_NOTICE =
    "This file ends its lines with LF alone, and no pattern was read from it. Set LF-line-ends=1 in section "
    "[Extra] of the settings file (lobeconv: --lf) to read LF as a line end.";

bool has_lf_only_line_ends(std::string_view image);
bool has_points(const antenna_data_type& pd);

// The part of read_antenna_file after the file is in memory; `image` is null
// when the read failed. Tests and fuzzers enter here.
void read_antenna_image(lobe_state& st, core_io& io, const std::string* image);

}  // namespace lobe
