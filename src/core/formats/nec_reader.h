// Imports one cut from a text table of numbers, such as a 4NEC model's
// output: up to four blank-separated numbers a line, the user picking which
// column is the angle and which the signal. Unlike the other readers it
// appends a cut to the first frequency instead of replacing the pattern.
//
//    -180.0   -12.31   0.0   -12.31
//    -179.0   -12.29   0.0   -12.29
//    ...
#pragma once

#include <string>

#include "core/formats/pattern_io.h"

namespace lobe {

// Whether the first frequency has room for one more cut.
bool nec_cut_fits(const antenna_data_type& pd);

// Adds a cut to the first frequency, when it has room, and fills it from
// the file's image (nullptr: a file of no size, whose cut stays empty).
load_report read_4nec_image(pattern_record& rec, const load_options& options, core_io& io,
                            const std::string* image);

// Stages one line (at most 198 characters), from the columns options.nec names.
void new_4nec_data(pattern_record& rec, reader_state& rs, core_io& io, const char* pdata);

// Builds the new cut from the staged rows: rotated to start at 0 degrees,
// levels shifted so that the smallest is 0 dB.
void post_process_4nec_file(pattern_record& rec, reader_state& rs, core_io& io);

}  // namespace lobe
