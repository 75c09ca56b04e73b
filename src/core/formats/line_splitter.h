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

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace lobe {

inline constexpr int LINE_LIMIT = 79;
inline constexpr int LINE_LIMIT_4NEC = 198;

// Calls on_line(const char* line) with each NUL-terminated line. The lines
// are cut in a copy of the image, in place: each line's end becomes its NUL,
// and only a line that loses an LF inside it is moved.
template <class OnLine>
void split_lines(std::string_view image, int limit, OnLine&& on_line, bool lf_ends = false) {
  if (limit > LINE_LIMIT_4NEC) limit = LINE_LIMIT_4NEC;
  const std::size_t n = image.size();
  std::string work;
  work.reserve(n + 1);
  work.append(image);
  work.push_back('\0');
  char* d = work.data();
  std::size_t start = 0, w = 0;  // the line being cut, and where its next byte goes
  int k = 0;                     // its length so far
  auto hand_over = [&](std::size_t next) {
    d[w] = '\0';
    on_line(static_cast<const char*>(d + start));
    k = 0;
    start = w = next;
  };
  for (std::size_t i = 0; i < n; ++i) {
    // A run of plain bytes (no CR, no LF) already in place: nearly every byte.
    if (w == i && k < limit) {
      std::size_t j = i;
      const std::size_t stop = std::min(n, i + static_cast<std::size_t>(limit - k));
      while (j < stop && d[j] != '\r' && d[j] != '\n') ++j;
      k += static_cast<int>(j - i);
      w = j;
      if (j == n) {
        hand_over(n);
        break;
      }
      // The usual line end taken at once: the CR ends the line (at the limit
      // too, as the byte lost at the cut), and an LF right after it, before
      // anything of the next line, is dropped.
      if (d[j] == '\r') {
        hand_over(j + 1);
        i = j;
        if (j + 1 < n && d[j + 1] == '\n') {
          start = w = j + 2;
          i = j + 1;
          if (j + 2 == n) hand_over(n);
        }
        continue;
      }
      if (j > i) {
        i = j - 1;
        continue;
      }
    }
    const char b = d[i];
    if (lf_ends && b == '\n' && (i == 0 || image[i - 1] != '\r')) {
      // The CR of the pair: ends the line (or, at the limit, is the byte lost
      // at the cut, as a CR would be). The LF of the pair is dropped, which at
      // the end of the file hands over an empty last line.
      hand_over(i + 1);
      if (i == n - 1) hand_over(n);
      continue;
    }
    bool handed = false;
    if (b == '\r' || k == limit) {
      hand_over(i + 1);
      handed = true;
    } else if (b != '\n') {
      d[w++] = b;
      ++k;
    } else if (k == 0) {
      start = w = i + 1;  // an LF before anything of the line: the line starts after it
    }
    if (i == n - 1 && !handed) hand_over(n);
  }
}

}  // namespace lobe
