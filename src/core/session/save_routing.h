// Saving the pattern: the writer follows the extension of the chosen name.
#pragma once

#include <string>

#include "core/io/file_sink.h"
#include "core/formats/pattern_io.h"
#include "core/record/lobe_state.h"

namespace lobe {

// What st's view and file tell a writer: the scaling, the envelope shown,
// the ANT layout, the format the pattern came from.
write_options write_options_of(const lobe_state& st);

// Fails with "Nothing to save." when there is no cut to write.
action_report check_something_to_save(const lobe_state& st);

// Sets file_type from the name's extension and writes the record there. For
// ANT files the caller has already set ant_file_type. The old file is only
// replaced once the new one is complete. The caller has copied what the user
// typed into the record.
action_report save_file(lobe_state& st, run_log& log, const std::string& path, const save_options& how = {});

}  // namespace lobe
