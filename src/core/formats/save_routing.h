// Saving the pattern: the writer follows the extension of the chosen name.
#pragma once

#include <string>

#include "core/record/lobe_state.h"

namespace lobe {

// False, after the "Nothing to save." box, when there is no cut to write.
bool check_something_to_save(const lobe_state& st, core_io& io);

// Sets file_type from the name's extension and writes the record there. For
// ANT files the caller has already set ant_file_type. The old file is only
// replaced once the new one is complete.
bool save_file(lobe_state& st, core_io& io, const std::string& path);

}  // namespace lobe
