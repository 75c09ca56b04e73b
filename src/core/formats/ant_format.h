// The ANT file: a headerless list of attenuation values, one per line, at
// 1-degree steps. The number of lines tells the version:
//   V1  360 lines: horizontal 0..359
//   V2  541 lines: horizontal 0..359, vertical 270..359, vertical 0..90
//   V3  720 lines: horizontal 0..359, vertical 270..359, vertical 0..269
// Values are written negated ("-3.500") and read as their absolute value.
#pragma once

#include "core/formats/pattern_io.h"

namespace lobe {

// The level given to vertical angles an ANT V2 file has no line for.
inline constexpr float ANT_V2_NO_DATA = 99.0f;

// Stages one line's value in the reader's capture buffer.
void new_ant_data(pattern_record& rec, reader_state& rs, core_io& io, const char* pdata);

// Builds the cuts of the version the staged count indicates.
void post_process_ant_data(pattern_record& rec, reader_state& rs, core_io& io);

// Writes frequency 0 in the version held in st.file.ant_file_type.
void write_ant_file(const pattern_record& rec, byte_sink& out, run_log& log, const write_options& how);

}  // namespace lobe
