// Writer of NSMA 1999 files and, with kwr_fmt set, of our LABZ variant
// (KWRENV line and the peak level as a third FSTLST value).
#pragma once

#include "core/lobe_state.h"

namespace lobe {

class byte_sink;

// Writes the whole record. Cuts without first/last angles get them from
// their points, and keep them in the record.
void write_nsma_file(lobe_state& st, byte_sink& out, run_log& log, int kwr_fmt);

}  // namespace lobe
