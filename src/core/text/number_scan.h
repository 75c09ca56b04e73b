// Fast reading and writing of the numbers of the point lines, with exactly
// the results of the scanf/printf formats the files are defined by: plain
// decimal numbers take a quick path; anything unusual ("inf", hexadecimal,
// a dangling exponent, a stray blank) is handed to sscanf itself.
#pragma once

#include <cstddef>

namespace lobe {

// A level beyond this many dB is no level: no pattern holds one.
inline constexpr float MAX_LEVEL_DB = 1000.0f;

bool is_usable_number(float v);  // finite
bool is_usable_level(float v);   // finite and within MAX_LEVEL_DB

// sscanf(line, "%f,%f") (separator ',') or sscanf(line, "%f %f") (separator
// ' '), except that a line whose two numbers are not both usable (an angle
// that is not finite, a level that is not finite or beyond MAX_LEVEL_DB)
// counts as not read: 0.
int scan_two_floats(const char* line, char separator, float& a, float& b);
// The scanf result alone, whatever the numbers.
int scan_two_floats_raw(const char* line, char separator, float& a, float& b);

// printf("%.3f") of v into out (at least 64 bytes, enough for any float's
// value); returns the length.
std::size_t format_fixed3(char* out, double v);
// The same for a float, the quick way every stored value takes.
std::size_t format_fixed3(char* out, float f);

}  // namespace lobe
