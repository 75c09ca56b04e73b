// printf/scanf in the "C" numeric locale, whatever locale the user runs in.
//
// Every number in a pattern file, the log or a label is written and read with
// the classic formats ("%.3f", "%f,%f", "%u"); a user with a comma-decimal
// locale must still get "1.000,-0.500,". These wrappers switch the calling
// thread to the "C" locale for the one call, so the rest of the program keeps
// the user's locale.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>

namespace lobe {

int c_sscanf(const char* s, const char* fmt, ...) __attribute__((format(scanf, 2, 3)));
int c_snprintf(char* buf, std::size_t n, const char* fmt, ...) __attribute__((format(printf, 3, 4)));
// Formats into a std::string of any length.
std::string c_format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace lobe
