#include "core/formats/nsma89_reader.h"

#include <cmath>
#include <cstring>
#include <iterator>
#include <span>
#include <string>
#include <string_view>

#include "core/text/c_numeric.h"
#include "core/text/field_text.h"
#include "core/text/number_scan.h"

namespace lobe {

namespace {

// Data lines that arrive before any cut header land beyond every cut.
constexpr int NO_CUT_OPEN = 363;

bool starts_with_none(const char* line) {
  return std::strlen(line) >= 4 && equals_nocase(std::string_view(line, 4), "none");
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// "406 to 470 MHz": the first run of digits is the low frequency, the second the high one.
void read_frequency_range(antenna_data_type& pd, const char* line) {
  const char* p = line;
  while (*p && !is_digit(*p)) ++p;
  const char* low = p;
  while (is_digit(*p)) ++p;
  const std::string_view low_run(low, static_cast<std::size_t>(p - low));
  set_field(pd.lowfrq, low_run);
  set_field(pd.freq[0].patfre, low_run);
  set_field(pd.hghfrq, "NA");
  while (*p && !is_digit(*p)) ++p;
  const char* high = p;
  while (is_digit(*p)) ++p;
  if (p > high) set_field(pd.hghfrq, std::string_view(high, static_cast<std::size_t>(p - high)));
}

// The ten header lines of the older layout: the header field each is (by the
// field table's name), and the words put before its text. A line that
// starts with "none" leaves a prefixed field empty.
struct positional_line {
  const char* field;   // nullptr: the frequency range, read apart
  const char* prefix;  // nullptr: the line as it stands
};
constexpr positional_line k_header_lines[] = {
    {"make", nullptr},   {"name", nullptr},   {"comnt1", nullptr}, {"filnum", nullptr},
    {"comnt2", "Reverse pattern ID# - "},     {"dtdata", nullptr},
    {"descr1", "Manufacturer ID# - "},        {nullptr, nullptr},
    {"mdgain", nullptr}, {"azwidt", nullptr},
};
constexpr int HEADER_LINES = static_cast<int>(std::size(k_header_lines));

void read_header_line(pattern_record& rec, reader_state& rs, const char* line) {
  antenna_data_type& pd = rec.pd;
  if (rs.linenumber == 0) {
    pd.nofreq = 1;
    pd.freq[0].numcut = 0;
    rs.fr_poin = NO_CUT_OPEN;
  }
  const positional_line& k = k_header_lines[rs.linenumber];
  if (!k.field) {
    read_frequency_range(pd, line);
    return;
  }
  const std::span<char> field = field_of(pd, *header_field_by_name(k.field));
  if (!k.prefix)
    set_field(field, line);
  else if (!starts_with_none(line))
    set_field(field, std::string(k.prefix) + line);
}

struct cut_code {
  const char* code;
  const char* patcut;
  const char* polari;
};

constexpr cut_code k_codes[] = {
    {"HH", PATCUT_HORIZONTAL, POLARI_HPORT_HSIG},   {"HV", PATCUT_HORIZONTAL, POLARI_HPORT_VSIG},
    {"VV", PATCUT_HORIZONTAL, POLARI_VPORT_VSIG},   {"VH", PATCUT_HORIZONTAL, POLARI_VPORT_HSIG},
    {"ELHH", PATCUT_VERTICAL, POLARI_HPORT_HSIG}, {"ELHV", PATCUT_VERTICAL, POLARI_HPORT_VSIG},
    {"ELVV", PATCUT_VERTICAL, POLARI_VPORT_VSIG}, {"ELVH", PATCUT_VERTICAL, POLARI_VPORT_HSIG},
};

void open_cut(pattern_record& rec, reader_state& rs, const char* code, int count) {
  freq_data_type& fr = rec.pd.freq[0];
  if (fr.numcut < 0 || fr.numcut >= MAX_CUTS) {
    rs.fr_poin = NO_CUT_OPEN;  // a ninth cut header: its points go nowhere
    return;
  }
  fr.numcut += 1;
  rs.fr_cut = fr.numcut - 1;
  cut_data_type& cut = fr.cut[rs.fr_cut];
  cut.nupoin = count_in(count, MAX_SAMPLES);
  start_cut_points(cut);
  cut.emax = 0.0f;
  rec.flags.cut[0][rs.fr_cut].sweep_completed = 0;
  rs.fr_poin = 0;
  // An unknown code names nothing; the cut keeps no stale names.
  set_field(cut.patcut, "");
  set_field(cut.polari, "");
  for (const cut_code& k : k_codes)
    if (equals_nocase(code, k.code)) {
      set_field(cut.patcut, k.patcut);
      set_field(cut.polari, k.polari);
    }
}

void read_body_line(pattern_record& rec, reader_state& rs, const char* line) {
  float a = 0.0f, l = 0.0f;
  if (scan_two_floats(line, ' ', a, l) == 2) {
    if (rs.fr_cut < 0 || rs.fr_cut >= MAX_CUTS || rs.fr_poin > 361) return;
    cut_data_type& cut = rec.pd.freq[0].cut[rs.fr_cut];
    if (rs.fr_poin >= cut.nupoin) return;
    note_level_sign(rs, 0, rs.fr_cut, rs.fr_poin, l);
    if (put_point(cut, rs.fr_poin, a, l)) rs.fr_poin += 1;
    return;
  }
  char code[80];
  int count = 0;
  if (c_sscanf(line, "%79s %i", code, &count) == 2) open_cut(rec, rs, code, count);
}

}  // namespace

void new_nsma_89_data(pattern_record& rec, reader_state& rs, core_io&, const char* pdata) {
  rs.fr_freq = 0;
  if (rs.linenumber < HEADER_LINES)
    read_header_line(rec, rs, pdata);
  else
    read_body_line(rec, rs, pdata);
  if (rs.linenumber < 0x7fffffff) rs.linenumber += 1;
}

}  // namespace lobe
