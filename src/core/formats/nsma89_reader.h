// Reader of the older positional NSMA layout: ten header lines by position,
// then cut headers ("HH 360", "ELVV 181", ...) and "angle level" data lines,
// all into the first frequency.
//
//   ACME ANTENNAS            <- line 0: make
//   YG-450                   <- line 1: model
//   5 element yagi           <- line 2: comment
//   F123                     <- line 3: file number
//   NONE                     <- line 4: reverse pattern id
//   19890312                 <- line 5: date
//   M-77                     <- line 6: manufacturer id
//   406 to 470 MHz           <- line 7: frequency range
//   9.1                      <- line 8: mid-band gain
//   52                       <- line 9: azimuth beamwidth
//   HH 360
//   0 0.0
//   ...
#pragma once

#include "core/formats/pattern_io.h"

namespace lobe {

// Parses one line and counts it, whatever it held.
void new_nsma_89_data(pattern_record& rec, reader_state& rs, core_io& io, const char* pdata);

}  // namespace lobe
