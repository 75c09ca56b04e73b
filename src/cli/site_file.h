// The site file of `lobeconv exposure` (JSON; data/example_site.json and
// docs/EXPOSURE.md describe it).
#pragma once

#include <string>

#include "core/exposure/site_exposure.h"

namespace lobe {

// Reads `path`; pattern files are found relative to it. False with the
// reason in `problem` when the file or a pattern in it cannot be used.
bool read_site_file(const std::string& path, site& out, std::string& problem);

}  // namespace lobe
