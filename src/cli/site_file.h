// The site file of `lobeconv exposure` (JSON; data/example_site.json and
// docs/EXPOSURE.md describe it).
#pragma once

#include <string>

#include "core/exposure/site_exposure.h"

namespace lobe {

// Reads `path`; pattern files are found relative to it. False with the
// reason in `problem` when the file or a pattern in it cannot be used.
bool read_site_file(const std::string& path, site& out, std::string& problem);

// The first frequency of a pattern that has a horizontal and a vertical cut,
// nearest to `mhz`, as a 3D pattern; false when the pattern has no such pair.
bool pattern_3d_of(const antenna_data_type& pd, double mhz, method_3d method, std::shared_ptr<const pattern_3d>& out);

}  // namespace lobe
