// The unit of a pattern's gain. The header keeps the gain text as the file
// gave it; the unit is read where the gain is used (the exposure chain) and
// where a writer must put it in a field of its own. An explicit unit wins: a
// "dBi" or "dBd" after the number (as Planet files write it), else GUNITS
// when it begins with DBI or DBD; with no unit anywhere the gain is in dBd.
#pragma once

#include <string>
#include <string_view>

namespace lobe {

enum class gain_unit { dbd, dbi };

inline constexpr float DBI_PER_DBD = 2.15f;

struct gain_reading {
  bool valid = false;       // the text begins with a number
  float value = 0.0f;       // in `unit`
  gain_unit unit = gain_unit::dbd;
  bool unit_in_text = false;  // "dBi"/"dBd" followed the number
  std::string number;       // the number as the text wrote it
  float dbi() const { return unit == gain_unit::dbi ? value : value + DBI_PER_DBD; }
  float dbd() const { return unit == gain_unit::dbd ? value : value - DBI_PER_DBD; }
};

gain_reading read_gain(std::string_view gain_text, std::string_view gunits);

// The unit GUNITS names, if it names one.
bool gunits_names(std::string_view gunits, gain_unit& unit);

}  // namespace lobe
