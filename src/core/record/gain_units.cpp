#include "core/record/gain_units.h"

#include "core/text/c_numeric.h"
#include "core/text/field_text.h"

namespace lobe {

namespace {

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && is_c_space(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_c_space(s.back())) s.remove_suffix(1);
  return s;
}

}  // namespace

bool gunits_names(std::string_view gunits, gain_unit& unit) {
  const std::string_view g = trimmed(gunits);
  if (g.size() < 3) return false;
  if (equals_nocase(g.substr(0, 3), "DBI")) unit = gain_unit::dbi;
  else if (equals_nocase(g.substr(0, 3), "DBD")) unit = gain_unit::dbd;
  else return false;
  return true;
}

gain_reading read_gain(std::string_view gain_text, std::string_view gunits) {
  gain_reading r;
  const std::string text(trimmed(gain_text));
  float v = 0.0f;
  int used = 0;
  if (c_sscanf(text.c_str(), "%f%n", &v, &used) == 1 && used > 0) {
    r.valid = true;
    r.value = v;
    r.number = text.substr(0, static_cast<std::size_t>(used));
  }
  const std::string_view rest = r.valid ? trimmed(std::string_view(text).substr(static_cast<std::size_t>(used))) : "";
  if (equals_nocase(rest, "dBi")) {
    r.unit = gain_unit::dbi;
    r.unit_in_text = true;
  } else if (equals_nocase(rest, "dBd")) {
    r.unit = gain_unit::dbd;
    r.unit_in_text = true;
  } else {
    gunits_names(gunits, r.unit);
  }
  return r;
}

}  // namespace lobe
