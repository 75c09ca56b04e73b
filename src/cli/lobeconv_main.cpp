#include <clocale>
#include <iostream>

#include "cli/lobeconv_commands.h"

int main(int argc, char** argv) {
  // Dates in the log follow the user's locale; numbers never do (core formats them in "C").
  std::setlocale(LC_ALL, "");
  std::vector<std::string> args(argv + 1, argv + argc);
  return lobe::run_lobeconv(args, std::cout, std::cerr);
}
