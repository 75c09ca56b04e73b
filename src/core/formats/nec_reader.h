// Imports one cut from a text table of numbers, such as a 4NEC model's
// output: up to four blank-separated numbers a line, the user picking which
// column is the angle and which the signal. Unlike the other readers it
// appends a cut to the first frequency instead of replacing the pattern.
//
//    -180.0   -12.31   0.0   -12.31
//    -179.0   -12.29   0.0   -12.29
//    ...
#pragma once

#include <cstdio>

#include "core/record/lobe_state.h"

namespace lobe {

// Whether the first frequency has room for one more cut.
bool nec_cut_fits(const antenna_data_type& pd);

// Adds a cut to the first frequency and fills it from the open file; false
// (and no cut added) when reading the file failed.
bool read_4nec_file(lobe_state& st, core_io& io, std::FILE* file);

// The part of read_4nec_file after the file is in memory (null: the read failed).
void read_4nec_image(lobe_state& st, core_io& io, const std::string* image);

// Stages one line (at most 198 characters).
void new_4nec_data(const nec_columns& cols, reader_state& rs, core_io& io, const char* pdata);

// Builds the new cut from the staged rows: rotated to start at 0 degrees,
// levels shifted so that the smallest is 0 dB.
void post_process_4nec_file(lobe_state& st, const reader_state& rs);

}  // namespace lobe
