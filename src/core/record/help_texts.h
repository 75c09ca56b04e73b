// The help text file, as the Help menu shows it.
#pragma once

#include <string>

namespace lobe {

// The three sections of the help text file, each kept below 4000 characters.
struct help_texts {
  std::string help_info_files;
  std::string help_info_views;
  std::string help_info_testrange;
};

}  // namespace lobe
