// Cuts a file image into lines for the per-line parsers.
//
// Lines end at CR; LF is dropped wherever it stands. A line reaching the
// limit (79 characters for the 80-character buffer, 198 for the 4NEC reader's
// 200) is handed over as it is and the byte at the cut is lost. The end of
// the file ends the last line, so a file ending in CR LF hands over one more
// empty line, and a last line without a line end arrives whole. Files from the
// field depend on these rules: a file with LF-only line ends reads as one long
// line cut every 79 characters, exactly as it always has.
#pragma once

#include <cstddef>
#include <string_view>

namespace lobe {

inline constexpr int LINE_LIMIT = 79;
inline constexpr int LINE_LIMIT_4NEC = 198;

// Calls on_line(const char* line) with each NUL-terminated line.
template <class OnLine>
void split_lines(std::string_view image, int limit, OnLine&& on_line) {
  char buf[LINE_LIMIT_4NEC + 1];
  if (limit > LINE_LIMIT_4NEC) limit = LINE_LIMIT_4NEC;
  int k = 0;
  const std::size_t n = image.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char b = image[i];
    bool handed = false;
    if (b == '\r' || k == limit) {
      buf[k] = '\0';
      on_line(static_cast<const char*>(buf));
      k = 0;
      handed = true;
    } else if (b != '\n') {
      buf[k++] = b;
    }
    if (i == n - 1 && !handed) {
      buf[k] = '\0';
      on_line(static_cast<const char*>(buf));
      k = 0;
    }
  }
}

}  // namespace lobe
