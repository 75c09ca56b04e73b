// `lobeconv lint`: what is wrong with a pattern file as loaded, one finding
// a line. An error means the file as it stands loses data or reads wrongly;
// a warning, that it disagrees with itself or holds no data somewhere.
#pragma once

#include <string>
#include <vector>

#include "core/record/lobe_state.h"

namespace lobe {

struct lint_finding {
  bool error;
  std::string text;
};

// The findings of the pattern the last load left in `st` (loaded as the Open
// command loads it, without the LF or resampling opt-ins).
std::vector<lint_finding> lint_pattern(const lobe_state& st);

// Why a file that loaded gave no point of any cut, from its first bytes and
// its size: empty, UTF-16, binary (NUL bytes, a program), or text that holds
// nothing of a pattern.
std::string why_no_pattern(std::string_view head, long long size);

}  // namespace lobe
