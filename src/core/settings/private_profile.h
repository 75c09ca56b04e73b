// Settings files in the Windows private-profile format:
//
//   [Extra]
//   Edit-enabled=1
//   Home-folder=/home/range/patterns
//
// Section and key names match case-insensitively; values are trimmed of
// surrounding blanks and of one pair of enclosing quotes. Lines end in CR LF
// (LF alone is accepted on reading). Writing one key keeps every other byte
// of the file as it was.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lobe {

// The value of `key`, or nullopt when the file, the section or the key is missing.
std::optional<std::string> find_profile_value(std::string_view text, std::string_view section, std::string_view key);

// GetPrivateProfileString: the value cut to size - 1 characters, or `def` (cut the same way).
std::string get_private_profile_string(const std::string& section, const std::string& key, const std::string& def,
                                       std::size_t size, const std::string& path);

// GetPrivateProfileInt: the leading decimal number of the value, 0 when it has
// none, `def` when the key is missing or empty.
int get_private_profile_int(const std::string& section, const std::string& key, int def, const std::string& path);

// Returns `text` with `key` of `section` set to `value`: replaced in place,
// added at the end of the section, or added in a new section at the end.
std::string set_profile_value(std::string_view text, std::string_view section, std::string_view key,
                              std::string_view value);

// WritePrivateProfileString: creates the file when needed. False when the file cannot be written.
bool write_private_profile_string(const std::string& section, const std::string& key, const std::string& value,
                                  const std::string& path);

}  // namespace lobe
