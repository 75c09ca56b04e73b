#include "core/formats/nec_reader.h"

#include <cmath>
#include <memory>
#include <string>

#include "core/text/c_numeric.h"
#include "core/text/field_text.h"
#include "core/formats/file_errors.h"
#include "core/formats/line_splitter.h"
#include "core/text/number_scan.h"

namespace lobe {

bool nec_cut_fits(const antenna_data_type& pd) { return pd.nofreq <= 0 || pd.freq[0].numcut < MAX_CUTS; }

namespace {

// Steps 1 to 3 of a 4NEC load: a first frequency if there is none, the new
// empty cut, and the per-load resets.
void start_4nec_cut(pattern_record& rec, reader_state& rs, core_io& io) {
  antenna_data_type& pd = rec.pd;
  if (pd.nofreq <= 0) {
    set_field(pd.freq[0].patfre, "");
    pd.freq[0].numcut = 0;
    pd.nofreq = 1;
  }
  rs.buffer_ix = 0;
  rs.fr_freq = 0;
  rs.fr_cut = pd.freq[0].numcut < 0 ? 0 : pd.freq[0].numcut;
  cut_data_type& cut = pd.freq[0].cut[rs.fr_cut];
  set_field(cut.patcut, "");
  set_field(cut.polari, "");
  cut.nupoin = 0;
  cut.emax = 1.0f;
  pd.freq[0].numcut = rs.fr_cut + 1;
  rec.flags.cut[0][rs.fr_cut] = {0, 0};
  rs.linenumber = 0;
  rec.all_emax = 0.0f;
  clear_file_errors(io.report);
}

}  // namespace

load_report read_4nec_image(pattern_record& rec, const load_options& options, core_io& io,
                            const std::string* image) {
  auto rs = std::make_unique<reader_state>();
  rs->options = options;
  rs->found.file_type = options.file_type;
  if (!nec_cut_fits(rec.pd)) return rs->found;
  start_4nec_cut(rec, *rs, io);
  if (!image) return rs->found;
  split_lines(
      *image, LINE_LIMIT_4NEC, [&](const char* line) { new_4nec_data(rec, *rs, io, line); }, options.lf_line_ends);
  if (rs->found.file_errors != 0) report_file_errors(io.report, rs->found.file_type, rs->found.file_errors);
  post_process_4nec_file(rec, *rs, io);
  rs->found.lines_read = true;
  return rs->found;
}

void new_4nec_data(pattern_record&, reader_state& rs, core_io& io, const char* pdata) {
  if (rs.buffer_ix >= MAX_SAMPLES) {
    io.report.set_status(STB_ERROR, "4NEC file error - too long");
    return;
  }
  float p[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  const int got = c_sscanf(pdata, "%f %f %f %f", &p[0], &p[1], &p[2], &p[3]);
  const int ac = rs.options.nec.nec_angle_col, sc = rs.options.nec.nec_signal_col;
  // Headings, blank lines and short rows lack the chosen columns.
  if (ac < 0 || ac > 3 || sc < 0 || sc > 3 || got <= ac || got <= sc) return;
  float a = p[ac];
  const float s = p[sc];
  if (!is_usable_number(a) || !is_usable_level(s)) return;
  if (!(a < 360.0f)) return;
  if (a < 0.0f) a += 360.0f;
  rs.capture_buffer[rs.buffer_ix][SIG_BUF_ANGLE] = a;
  rs.capture_buffer[rs.buffer_ix][SIG_BUF_SIGNAL] = std::fabs(s);
  rs.buffer_ix += 1;
}

void post_process_4nec_file(pattern_record& rec, reader_state& rs, core_io&) {
  const int n = count_in(rs.buffer_ix, MAX_SAMPLES);
  const auto& rows = rs.capture_buffer;
  float m = 90.0f;
  int z = 0;
  for (int r = 0; r < n; ++r) {
    if (rows[r][SIG_BUF_SIGNAL] < m) m = rows[r][SIG_BUF_SIGNAL];
    if (rows[r][SIG_BUF_ANGLE] == 0.0f) z = r;
  }
  if (rs.fr_cut < 0 || rs.fr_cut >= MAX_CUTS) return;
  cut_data_type& cut = rec.pd.freq[0].cut[rs.fr_cut];
  set_field(cut.patcut, rows[0][SIG_BUF_ANGLE] == 0.0f ? PATCUT_HORIZONTAL : PATCUT_VERTICAL);
  int count = 0;
  auto copy_row = [&](int r) {
    cut.angle[count] = rows[r][SIG_BUF_ANGLE];
    cut.signal[count] = rows[r][SIG_BUF_SIGNAL] - m;
    ++count;
  };
  // From the 0-degree row to the end, then wrap round to the rows before it
  // (row 0 is the one the wrap leaves out).
  for (int r = z; r < n; ++r) copy_row(r);
  for (int r = 1; count < n - 1 && r < z; ++r) copy_row(r);
  if (count < MAX_SAMPLES) cut.angle[count] = END_MARKER;
  cut.nupoin = count;
  cut.fstlst[1] = count > 0 ? cut.angle[count - 1] : 0.0f;
  cut.fstlst[0] = 0.0f;
}

}  // namespace lobe
