// The Planet antenna file: one keyword per line, values at fixed positions,
// then a horizontal and a vertical section of "angle attenuation" lines.
//
//   NAME DIPOLE-450
//   MAKE Lobeview samples
//   FREQUENCY 450
//   H_WIDTH 360
//   ...
//   POLARIZATION V/V
//   COMMENT computed
//   HORIZONTAL 360
//   0.000 0.000
//   ...
//   VERTICAL 360
//   0.000 0.000
#pragma once

#include <string>

#include "core/formats/pattern_io.h"

namespace lobe {

inline constexpr const char* PLANET_SAVE_NOTICE =
    "The Planet file format can only save one Horizontal and one Vertical cut. The first active ones found will be "
    "saved.";

// Parses one line (at most 79 characters) into the first frequency.
void new_planet_data(pattern_record& rec, reader_state& rs, core_io& io, const char* pdata);

// The GAIN line's value: the gain text, with the unit GUNITS names (dBd when
// none) added to a plain number that did not come from a Planet file.
std::string planet_gain_text(const antenna_data_type& pd, int loaded_file_type);

// Shows the one-cut-per-plane notice, then writes the first shown horizontal
// and vertical cuts found in the record.
void write_planet_file(const pattern_record& rec, byte_sink& out, core_io& io, const write_options& how = {});

}  // namespace lobe
