// Reading a whole pattern file's image: the format's table row chooses how
// its lines are parsed and what follows them; then cuts longer than the
// record, cuts of both signs and line ends that gave nothing are dealt with.
#pragma once

#include <string>
#include <string_view>

#include "core/formats/pattern_io.h"

namespace lobe {

// What a file with LF-only line ends that gave no pattern is told.
inline constexpr const char* LF_ONLY_NOTICE =
    "This file ends its lines with LF alone, and no pattern was read from it. Set LF-line-ends=1 in section "
    "[Extra] of the settings file (lobeconv: --lf) to read LF as a line end.";

bool has_lf_only_line_ends(std::string_view image);
bool has_points(const antenna_data_type& pd);

// Reads `image`, a file of options.file_type, into `rec`, which the caller
// has cleared (its largest peak and the report's error field too). With a null image no line is read but the format's finishing
// steps still run.
load_report read_pattern_image(pattern_record& rec, const load_options& options, core_io& io,
                               const std::string* image);

}  // namespace lobe
