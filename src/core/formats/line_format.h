// Shared by the pattern writers: formatting one line into the scratch text
// and handing it to k_writefile, and the "scale all to strongest" offset.
#pragma once

#include <cstddef>
#include <cstring>

#include "core/text/c_numeric.h"
#include "core/io/file_sink.h"
#include "core/formats/pattern_io.h"

namespace lobe {

class line_writer {
 public:
  line_writer(byte_sink& out, run_log& log) : out_(out), log_(log) {}

  // A line without numbers or fields, written as it stands.
  void line(const char* text) { k_writefile(out_, log_, text, std::strlen(text)); }
  // A line formatted by the caller.
  void bytes(const char* text, std::size_t len) { k_writefile(out_, log_, text, len); }

  template <class First, class... Args>
  void line(const char* fmt, First first, Args... args) {
    int n = c_snprintf(str_, sizeof str_, fmt, first, args...);
    if (n < 0) n = 0;
    if (n >= static_cast<int>(sizeof str_)) n = static_cast<int>(sizeof str_) - 1;
    k_writefile(out_, log_, str_, static_cast<std::size_t>(n));
  }

 private:
  byte_sink& out_;
  run_log& log_;
  char str_[1000];
};

// The dB by which "scale all to strongest signal" lowers a cut, when the
// format does not carry the peak level itself.
float crosspol_scale(const pattern_record& rec, bool scale_to_strongest, const cut_data_type& cut,
                     bool format_carries_peak);

}  // namespace lobe
