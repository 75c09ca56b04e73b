// The envelope library file, kwr_envelopes.csv:
//
//   ; masks for point-to-point links
//   envelope,Class A,
//   0,10,3
//   10,180,20
//
// "envelope" lines start a mask named by their second field; the rows below
// hold two angles and a level in dB. A field ends at a comma or an apostrophe.
#pragma once

#include <string>
#include <string_view>

#include "core/record/envelope_library.h"

namespace lobe {

// Cursors of one library load.
struct envelope_reader_state {
  int envelope_ix = -1;
  int env_data_ix = 0;
};

// Parses one line.
void new_envelope_data(envelopes_type& ed, envelope_reader_state& rs, const char* pdata);

// Reads a whole library image; the library starts empty.
void read_envelope_image(envelopes_type& ed, std::string_view image);

// Reads the library from `path`; false (and an empty library) when there is none.
bool read_envelope_file(envelopes_type& ed, const std::string& path);

}  // namespace lobe
