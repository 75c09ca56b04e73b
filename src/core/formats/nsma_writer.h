// Writer of NSMA 1999 files and, with kwr_fmt set, of our LABZ variant
// (KWRENV line and the peak level as a third FSTLST value).
#pragma once

#include <string>

#include "core/record/lobe_state.h"

namespace lobe {

class byte_sink;

// GUNITS and MDGAIN as the writer puts them: as stored, except that a gain
// with its unit in its text is written as a plain number under its unit.
struct nsma_gain_fields {
  std::string gunits;
  std::string mdgain;
};
nsma_gain_fields nsma_gain_fields_of(const antenna_data_type& pd);

// Writes the whole record. Cuts without first/last angles get them from
// their points, and keep them in the record.
void write_nsma_file(lobe_state& st, byte_sink& out, run_log& log, int kwr_fmt);

}  // namespace lobe
