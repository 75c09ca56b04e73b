// The site file of `lobeconv exposure` (JSON; data/example_site.json and
// docs/EXPOSURE.md describe it).
#pragma once

#include <string>

#include "core/exposure/site_exposure.h"
#include "core/record/lobe_state.h"

namespace lobe {

// How far from the origin a site's coordinates and heights may lie, in metres.
inline constexpr double SITE_EXTENT_M = 100000.0;

// Reads `path`; pattern files are found relative to it and read with the
// settings of `reading` (line ends, long cuts, signed levels, 4NEC columns).
// False with the reason in `problem` when the file or a pattern in it cannot
// be used: the first problem found is the one told, naming the field.
bool read_site_file(const std::string& path, const lobe_state& reading, site& out, std::string& problem);

}  // namespace lobe
