// The help text file, kwr_help.txt: three sections, each opened by a line
// "[FILE]", "[VIEW]" or "[TEST]" (the first four letters count, in any case).
// Every text line is kept with CR LF in front of it.
#pragma once

#include <string>
#include <string_view>

#include "core/record/help_texts.h"

namespace lobe {

// Each section holds at most this many characters (a 4000-byte buffer with its terminator).
inline constexpr std::size_t HELP_TEXT_MAX = 3999;

// Handles one line; `help_file_proc` is the current section (0 none, 1 FILE, 2 VIEW, 3 TEST).
void new_help_data(help_texts& help, int& help_file_proc, const char* pdata);

void read_help_image(help_texts& help, std::string_view image);

// False (and empty sections) when the file cannot be opened.
bool read_help_file(help_texts& help, const std::string& path);

}  // namespace lobe
