// lobeconv: converts and inspects pattern files exactly as the program
// loads and saves them.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace lobe {

// Runs one command line (without the program name). Returns the exit status:
// 0 done, 1 the work failed, 2 the command line was wrong.
int run_lobeconv(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const char* const k_lobeconv_usage;

}  // namespace lobe
