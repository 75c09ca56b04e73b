// Fixed-width text fields and the case-insensitive comparisons the file
// formats use.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace lobe {

// Copies `value` into a NUL-terminated field, cut to the field's width less one.
void set_field(std::span<char> field, std::string_view value);

template <std::size_t N>
void set_field(char (&field)[N], std::string_view value) {
  set_field(std::span<char>(field, N), value);
}

// White space as scanf skips it in the "C" locale.
inline bool is_c_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// ASCII case-insensitive equality of whole strings.
bool equals_nocase(std::string_view a, std::string_view b);


}  // namespace lobe
