// Opening a pattern file into the running program's state: choosing the
// format, resetting the record, having the format's reader fill it, and
// applying what the reader reports (notices, the envelope and view a file
// asks for, the zoom a new pattern starts at).
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "core/formats/pattern_io.h"
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

// How st's settings say files are read, for a file of type st.file.file_type.
load_options load_options_of(const lobe_state& st);

// Loads an open file of type st.file.file_type into the record; false when
// reading it failed (the record is then left reset and empty).
bool read_antenna_file(lobe_state& st, core_io& io, std::FILE* file);

// The part of read_antenna_file after the file is in memory; `image` is null
// when it had no size. Tests and fuzzers enter here.
void read_antenna_image(lobe_state& st, core_io& io, const std::string* image);

// A 4NEC table added as a cut of the first frequency, when it has room;
// false (and no cut added) when reading the file failed.
bool add_4nec_file(lobe_state& st, core_io& io, std::FILE* file);
void add_4nec_image(lobe_state& st, core_io& io, const std::string* image);

}  // namespace lobe
