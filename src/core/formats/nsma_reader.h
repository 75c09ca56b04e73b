// Reader of the tagged NSMA 1999 pattern format, used for .nsma, .adf and
// .labz files. LABZ is our own extension: a KWRENV tag naming the envelope
// to show, and the cut's peak level as a third FSTLST value.
//
//   REVNUM:,NSMA  WG16.99.050
//   MODNUM:,ABC-123
//   NOFREQ:,1
//   PATFRE:,450
//   NUMCUT:,1
//   PATCUT:,H
//   POLARI:,V/V
//   NUPOIN:,360
//   FSTLST:,0.000,359.000[,812.500]
//   0.000,-0.000,
//   ...
//   ENDFIL:,EOF
#pragma once

#include "core/formats/pattern_io.h"

namespace lobe {

// Parses one line (NUL-terminated, at most 79 characters).
void new_nsma_data(pattern_record& rec, reader_state& rs, core_io& io, const char* pdata);

// After a LABZ file: the envelope the file names is to become the active one.
void finish_labz_data(pattern_record& rec, reader_state& rs, core_io& io);

}  // namespace lobe
