// Cuts a file image into lines for the per-line parsers.
//
// Lines end at CR; LF is dropped wherever it stands. A line reaching the
// limit (79 characters for the 80-character buffer, 198 for the 4NEC reader's
// 200) is handed over as it is and the byte at the cut is lost. The end of
// the file ends the last line, so a file ending in CR LF hands over one more
// empty line, and a last line without a line end arrives whole. Files from the
// field depend on these rules: a file with LF-only line ends reads as one long
// line cut every 79 characters, exactly as it always has.
//
// With `lf_ends` (an opt-in of the settings and of lobeconv --lf) an LF that
// does not follow a CR is read as the CR LF pair it stands for: it ends the
// line, and at the end of the file it hands over the same empty last line a
// CR LF file would. Every reader then sees exactly the lines of the file's
// CR LF twin.
#pragma once

#include <cstddef>
#include <string_view>

namespace lobe {

inline constexpr int LINE_LIMIT = 79;
inline constexpr int LINE_LIMIT_4NEC = 198;

// Calls on_line(const char* line) with each NUL-terminated line.
template <class OnLine>
void split_lines(std::string_view image, int limit, OnLine&& on_line, bool lf_ends = false) {
  char buf[LINE_LIMIT_4NEC + 1];
  if (limit > LINE_LIMIT_4NEC) limit = LINE_LIMIT_4NEC;
  int k = 0;
  const std::size_t n = image.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char b = image[i];
    bool handed = false;
    const bool lone_lf = lf_ends && b == '\n' && (i == 0 || image[i - 1] != '\r');
    if (lone_lf) {
      // The CR of the pair: ends the line (or, at the limit, is the byte lost
      // at the cut, as a CR would be). The LF of the pair is dropped, which at
      // the end of the file hands over an empty last line.
      buf[k] = '\0';
      on_line(static_cast<const char*>(buf));
      k = 0;
      if (i == n - 1) {
        buf[0] = '\0';
        on_line(static_cast<const char*>(buf));
      }
      continue;
    }
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
