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
#include <type_traits>

namespace lobe {

inline constexpr int LINE_LIMIT = 79;
inline constexpr int LINE_LIMIT_4NEC = 198;

namespace detail {

// One image being cut: `d` is the copy being cut in place, `start` the line
// being cut, `w` where its next byte goes, `k` its length so far.
template <class OnLine>
class line_cutter {
 public:
  line_cutter(std::string_view image, int limit, OnLine& on_line, bool lf_ends)
      : image_(image), n_(image.size()), limit_(limit), lf_ends_(lf_ends), on_line_(on_line) {
    work_.reserve(n_ + 1);
    work_.append(image);
    work_.push_back('\0');
    d_ = work_.data();
  }

  void run() {
    for (std::size_t i = 0; i < n_; ++i) {
      if (w_ == i && k_ < limit_) {
        const run_end end = plain_run(i);
        if (end == run_end::file) break;
        if (end == run_end::taken) continue;
      }
      one_byte(i);
    }
  }

 private:
  enum class run_end { file, taken, byte };

  void hand_over(std::size_t next) {
    d_[w_] = '\0';
    on_line_(static_cast<const char*>(d_ + start_));
    k_ = 0;
    start_ = w_ = next;
  }

  // A run of plain bytes (no CR, no LF) already in place: nearly every byte.
  // The usual line end is taken at once: the CR ends the line (at the limit
  // too, as the byte lost at the cut), and an LF right after it, before
  // anything of the next line, is dropped. Anything else is a byte of its own.
  run_end plain_run(std::size_t& i) {
    std::size_t j = i;
    const std::size_t stop = std::min(n_, i + static_cast<std::size_t>(limit_ - k_));
    while (j < stop && d_[j] != '\r' && d_[j] != '\n') ++j;
    k_ += static_cast<int>(j - i);
    w_ = j;
    if (j == n_) {
      hand_over(n_);
      return run_end::file;
    }
    if (d_[j] == '\r') {
      hand_over(j + 1);
      i = j;
      if (j + 1 < n_ && d_[j + 1] == '\n') {
        start_ = w_ = j + 2;
        i = j + 1;
        if (j + 2 == n_) hand_over(n_);
      }
      return run_end::taken;
    }
    if (j == i) return run_end::byte;
    i = j - 1;
    return run_end::taken;
  }

  void one_byte(std::size_t i) {
    const char b = d_[i];
    if (lf_ends_ && b == '\n' && (i == 0 || image_[i - 1] != '\r')) {
      // The CR of the pair: ends the line (or, at the limit, is the byte lost
      // at the cut, as a CR would be). The LF of the pair is dropped, which at
      // the end of the file hands over an empty last line.
      hand_over(i + 1);
      if (i == n_ - 1) hand_over(n_);
      return;
    }
    bool handed = false;
    if (b == '\r' || k_ == limit_) {
      hand_over(i + 1);
      handed = true;
    } else if (b != '\n') {
      d_[w_++] = b;
      ++k_;
    } else if (k_ == 0) {
      start_ = w_ = i + 1;  // an LF before anything of the line: the line starts after it
    }
    if (i == n_ - 1 && !handed) hand_over(n_);
  }

  std::string_view image_;
  std::size_t n_;
  int limit_;
  bool lf_ends_;
  OnLine& on_line_;
  std::string work_;
  char* d_ = nullptr;
  std::size_t start_ = 0, w_ = 0;
  int k_ = 0;
};

}  // namespace detail

// Calls on_line(const char* line) with each NUL-terminated line. The lines
// are cut in a copy of the image, in place: each line's end becomes its NUL,
// and only a line that loses an LF inside it is moved.
template <class OnLine>
void split_lines(std::string_view image, int limit, OnLine&& on_line, bool lf_ends = false) {
  if (limit > LINE_LIMIT_4NEC) limit = LINE_LIMIT_4NEC;
  detail::line_cutter<std::remove_reference_t<OnLine>> cutter(image, limit, on_line, lf_ends);
  cutter.run();
}

}  // namespace lobe
