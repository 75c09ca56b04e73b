// Starting the program: log, support files, settings, the window, a file
// named on the command line.
#pragma once

#include <string>

namespace lobe {

// Removes every double quote, except that a backslash and the character
// after it are copied unchanged.
std::string strip_quotes(const std::string& s);

// Runs the program; returns its exit code.
int run_lobeview(int argc, char** argv);

}  // namespace lobe
