#include "core/text/field_text.h"

#include <algorithm>
#include <cstring>

namespace lobe {

namespace {
char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

void set_field(std::span<char> field, std::string_view value) {
  if (field.empty()) return;
  const std::size_t n = std::min(value.size(), field.size() - 1);
  if (n > 0) std::memmove(field.data(), value.data(), n);
  field[n] = '\0';
}

bool equals_nocase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

}  // namespace lobe
