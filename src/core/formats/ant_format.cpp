#include "core/formats/ant_format.h"

#include <cmath>
#include <cstring>

#include "core/text/c_numeric.h"
#include "core/text/field_text.h"
#include "core/formats/line_format.h"
#include "core/text/number_scan.h"

namespace lobe {

void new_ant_data(pattern_record&, reader_state& rs, core_io& io, const char* pdata) {
  if (rs.buffer_ix >= MAX_ANTF_SAMPLES) {
    io.report.set_status(STB_ERROR, ".ant file error - too long");
    return;
  }
  float v = 0.0f;
  if (c_sscanf(pdata, "%f", &v) != 1 || !is_usable_level(v)) return;
  rs.capture_buffer[rs.buffer_ix][SIG_BUF_ANGLE] = std::fabs(v);
  rs.buffer_ix += 1;
}

namespace {

// Hands out the staged values in order. A 540-value V2 file is one short of
// its vertical angle 90; past the staged data we give the level of the
// angles V2 does not carry rather than reading stale rows.
class staged_values {
 public:
  explicit staged_values(const reader_state& rs) : rs_(rs) {}
  float next() {
    if (row_ >= rs_.buffer_ix || row_ >= MAX_ANTF_SAMPLES) return ANT_V2_NO_DATA;
    return rs_.capture_buffer[row_++][SIG_BUF_ANGLE];
  }

 private:
  const reader_state& rs_;
  int row_ = 0;
};

cut_data_type& start_ant_cut(pattern_record& rec, int c, const char* patcut) {
  cut_data_type& cut = rec.pd.freq[0].cut[c];
  set_field(cut.patcut, patcut);
  set_field(cut.polari, "");
  cut.nupoin = 360;
  cut.fstlst[0] = 0.0f;
  cut.fstlst[1] = 359.0f;
  cut.emax = 0.0f;
  cut.angle[360] = END_MARKER;
  rec.flags.cut[0][c] = {0, 0};
  return cut;
}

void fill(cut_data_type& cut, int from, int to, staged_values& values) {
  for (int i = from; i <= to; ++i) {
    cut.angle[i] = static_cast<float>(i);
    cut.signal[i] = values.next();
  }
}

void build_ant(pattern_record& rec, const reader_state& rs, int version) {
  rec.pd.nofreq = 1;
  rec.pd.freq[0].numcut = version == AFT_ANT_V1 ? 1 : 2;
  staged_values values(rs);
  fill(start_ant_cut(rec, 0, PATCUT_HORIZONTAL), 0, 359, values);
  if (version == AFT_ANT_V1) return;
  cut_data_type& vertical = start_ant_cut(rec, 1, PATCUT_VERTICAL);
  fill(vertical, 270, 359, values);
  if (version == AFT_ANT_V3) {
    fill(vertical, 0, 269, values);
    return;
  }
  fill(vertical, 0, 90, values);
  for (int i = 91; i <= 269; ++i) {
    vertical.angle[i] = static_cast<float>(i);
    vertical.signal[i] = ANT_V2_NO_DATA;
  }
}

}  // namespace

void post_process_ant_data(pattern_record& rec, reader_state& rs, core_io& io) {
  io.report.set_status(STB_ERROR, c_format("buffer_ix = %u", static_cast<unsigned>(rs.buffer_ix)));
  const int n = rs.buffer_ix;
  int version = 0;
  if (n >= 720)
    version = AFT_ANT_V3;
  else if (n >= 540)
    version = AFT_ANT_V2;
  else if (n >= 360)
    version = AFT_ANT_V1;
  if (version == 0) return;
  build_ant(rec, rs, version);
  rs.found.ant_version = version;
}

namespace {

void write_levels(line_writer& w, const cut_data_type& cut, int from, int to) {
  // "-%.3f\r\n" per level, formatted without printf.
  char level[80] = "-";
  for (int i = from; i <= to; ++i) {
    const std::size_t k = 1 + format_fixed3(level + 1, static_cast<double>(cut.signal[i]));
    std::memcpy(level + k, "\r\n", 2);
    w.bytes(level, k + 2);
  }
}

}  // namespace

void write_ant_file(const pattern_record& rec, byte_sink& out, run_log& log, const write_options& how) {
  if (rec.pd.nofreq <= 0) return;
  const freq_data_type& fr = rec.pd.freq[0];
  const int numcut = count_in(fr.numcut, MAX_CUTS);
  const int version = how.ant_version;
  line_writer w(out, log);
  for (int c = 0; c < numcut; ++c)
    if (is_horizontal_cut(fr.cut[c].patcut)) write_levels(w, fr.cut[c], 0, 359);
  if (version != AFT_ANT_V2 && version != AFT_ANT_V3) return;
  for (int c = 0; c < numcut; ++c) {
    if (!is_vertical_cut(fr.cut[c].patcut)) continue;
    write_levels(w, fr.cut[c], 270, 359);
    write_levels(w, fr.cut[c], 0, version == AFT_ANT_V2 ? 90 : 269);
  }
}

}  // namespace lobe
