#include "core/settings/settings.h"

#include <cstdio>
#include <cstdlib>

#include "core/text/c_numeric.h"
#include "core/text/field_text.h"
#include "core/io/file_image.h"
#include "core/io/file_sink.h"
#include "core/settings/private_profile.h"
#include "core/io/run_log.h"

#ifndef LOBEVIEW_DEFAULT_DSA_IP
#error "LOBEVIEW_DEFAULT_DSA_IP must be set by the build"
#endif

namespace lobe {

namespace {
constexpr const char* k_extra = "Extra";
constexpr const char* k_palette = "Palette";

// "%0.2u" and "0x%0.6x" of the file format: the zero flag adds nothing to a precision.
std::string palette_key(int i) { return c_format("%.2u", static_cast<unsigned>(i)); }
}  // namespace

const std::array<colorref, PALETTE_SIZE>& gr_colours_init() {
  static constexpr std::array<colorref, PALETTE_SIZE> k_palette_init = {
      0x000000, 0x00FF00, 0xFF0000, 0x0000FF, 0x007F00, 0x7F0000, 0x00007F, 0x00BE50, 0xBE5000, 0x5000BE,
      0x50BE00, 0xBE0050, 0x0050BE, 0x007F00, 0x544700, 0x016400, 0x670001, 0x3A0095, 0xB57D00, 0xF600FF,
      0x004D77, 0xFF9B00, 0xFF7600, 0x133D68, 0x7E93FF, 0x6C826A, 0x7EAE00, 0x0024A4,
  };
  return k_palette_init;
}

std::uint32_t bgrtorgb(std::uint32_t i) { return (i >> 16) + (i & 0xFFu) * 0x10000u + (i & 0xFF00u); }

const char* default_dsa_ip() { return LOBEVIEW_DEFAULT_DSA_IP; }

std::string settings_path_for_executable(std::string_view exe_path) {
  const std::size_t slash = exe_path.find_last_of("/\\");
  const std::size_t name_start = slash == std::string_view::npos ? 0 : slash + 1;
  const std::size_t dot = exe_path.find_last_of('.');
  if (dot != std::string_view::npos && dot > name_start) return std::string(exe_path.substr(0, dot)) + ".ini";
  return std::string(exe_path) + ".ini";
}

void read_extra_settings(settings_state& s, run_log& log, const std::string& ini_name) {
  s.ini_name = ini_name;
  s.edit_enabled = get_private_profile_int(k_extra, "Edit-enabled", 0, ini_name);
  // Without a Home-folder the file dialogs start in the user's home.
  const char* home = std::getenv("HOME");
  set_field(s.homeFolder, get_private_profile_string(k_extra, "Home-folder", home ? home : "", sizeof s.homeFolder,
                                                     ini_name));
  set_field(s.dsa_ip, get_private_profile_string(k_extra, "DSA-IP", default_dsa_ip(), sizeof s.dsa_ip, ini_name));
  s.lf_line_ends = get_private_profile_int(k_extra, "LF-line-ends", 0, ini_name) != 0;
  s.resample_long_cuts = get_private_profile_int(k_extra, "Resample-long-cuts", 0, ini_name) != 0;
  s.signed_levels = get_private_profile_int(k_extra, "Signed-levels", 0, ini_name) != 0;
  log.write_error_log("WinMain", std::string("Home folder ") + s.homeFolder + " ");
}

bool write_dsa_ip(settings_state& s, const std::string& ip) {
  set_field(s.dsa_ip, ip);
  return write_private_profile_string(k_extra, "DSA-IP", s.dsa_ip, s.ini_name);
}

std::string palette_file_path(const std::string& documents_folder) {
  std::string path = documents_folder;
  if (!path.empty() && path.back() != '/') path += '/';
  return path + LOBEVIEW_PRIVATE_SETTINGS_FILE;
}

void read_settings_file(settings_state& s, const std::string& documents_folder) {
  const std::string path = palette_file_path(documents_folder);
  for (int i = 0; i < PALETTE_SIZE; ++i) {
    const std::string text = get_private_profile_string(k_palette, palette_key(i), "", 10, path);
    if (text.empty()) continue;
    const long v = std::strtol(text.c_str(), nullptr, 0);
    s.gr_colours[static_cast<std::size_t>(i)] = bgrtorgb(static_cast<std::uint32_t>(v));
  }
}

bool write_settings_file(const settings_state& s, const std::string& documents_folder) {
  const std::string path = palette_file_path(documents_folder);
  std::string text = read_whole_file(path).value_or("");
  // One pass over the text and one write: the same result as 28 single-key writes.
  for (int i = 0; i < PALETTE_SIZE; ++i)
    text = set_profile_value(text, k_palette, palette_key(i),
                             c_format("0x%.6x", bgrtorgb(s.gr_colours[static_cast<std::size_t>(i)])));
  atomic_file out;
  if (!out.open(path)) return false;
  out.write(text.data(), text.size());
  return out.commit();
}

}  // namespace lobe
