// The program's two settings files: the executable's own (section "Extra")
// and the chart palette in the user's documents folder (section "Palette").
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/base/colour.h"
#include "core/base/lobeview.h"

namespace lobe {

class run_log;

struct settings_state {
  int edit_enabled = 0;
  char homeFolder[100] = "C:\\lobeview";
  char dsa_ip[40] = "";
  std::string ini_name;  // the executable's settings file
  // Opt-ins for files from other tools (keys "LF-line-ends",
  // "Resample-long-cuts" and "Signed-levels" of section "Extra"; lobeconv
  // --lf, --resample and --signed-levels).
  bool lf_line_ends = false;       // an LF without CR ends a line too
  bool resample_long_cuts = false;  // a cut longer than the record is resampled to 1 degree
  bool signed_levels = false;       // a cut with levels of both signs holds gains: attenuation = strongest - value
  std::array<colorref, PALETTE_SIZE> gr_colours{};
};

// The built-in trace palette.
const std::array<colorref, PALETTE_SIZE>& gr_colours_init();

// Swaps the lowest and highest byte: 0x00BBGGRR <-> 0x00RRGGBB. Its own inverse.
std::uint32_t bgrtorgb(std::uint32_t i);

// The address of the analyser a fresh installation uses.
const char* default_dsa_ip();

// The executable's path with its extension replaced by "ini"
// (D:\Apps\viewer.exe gives D:\Apps\viewer.ini; /usr/bin/lobeview gives /usr/bin/lobeview.ini).
std::string settings_path_for_executable(std::string_view exe_path);

// Section "Extra" of the executable's settings file; logs the home folder.
void read_extra_settings(settings_state& s, run_log& log, const std::string& ini_name);

// Stores the analyser address the user entered; false when the file cannot be written.
bool write_dsa_ip(settings_state& s, const std::string& ip);

std::string palette_file_path(const std::string& documents_folder);

// Loads the palette; keys that are missing keep their colour.
void read_settings_file(settings_state& s, const std::string& documents_folder);

// Saves all 28 colours; false when the file cannot be written.
bool write_settings_file(const settings_state& s, const std::string& documents_folder);

}  // namespace lobe
