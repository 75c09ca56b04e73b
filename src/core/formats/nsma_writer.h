// Writer of NSMA 1999 files and, with kwr_fmt set, of our LABZ variant
// (KWRENV line and the peak level as a third FSTLST value).
#pragma once

#include <string>

#include "core/formats/pattern_io.h"

namespace lobe {

// GUNITS and MDGAIN as the writer puts them: as stored, except that a gain
// with its unit in its text is written as a plain number under its unit.
struct nsma_gain_fields {
  std::string gunits;
  std::string mdgain;
};
nsma_gain_fields nsma_gain_fields_of(const antenna_data_type& pd);

// Writes the whole record. Cuts without first/last angles are written with
// those of their points (first_last_of).
void write_nsma_file(const pattern_record& rec, byte_sink& out, run_log& log, int kwr_fmt,
                     const write_options& how = {});

}  // namespace lobe
