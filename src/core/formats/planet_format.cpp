#include "core/formats/planet_format.h"

#include <cmath>
#include <algorithm>
#include <cstring>
#include <string_view>

#include "core/text/c_numeric.h"
#include "core/formats/long_cuts.h"
#include "core/text/field_text.h"
#include "core/io/file_sink.h"
#include "core/record/gain_units.h"
#include "core/text/number_scan.h"
#include "core/formats/line_format.h"
#include "core/text/number_scan.h"

namespace lobe {

namespace {


// The first blank-delimited word, as "%s " reads it.
std::string_view first_word(const char* p) {
  while (*p && is_c_space(*p)) ++p;
  std::size_t n = 0;
  while (p[n] && !is_c_space(p[n])) ++n;
  return {p, n};
}

// The text of `line` from character `from` up to `cut` (or the end of the line).
std::string_view value_at(const char* line, std::size_t from, std::size_t cut) {
  const std::size_t len = std::strlen(line);
  if (from >= len) return {};
  const std::size_t end = (cut != 0 && cut < len) ? cut : len;
  return {line + from, end > from ? end - from : 0};
}

// The header lines of a Planet file, in the order they are written. A line
// is read from the keyword's column on (any case), its value from `from` up
// to `cut`; the header field it is, by the field table's name.
struct planet_line {
  const char* keyword;
  std::size_t from;
  std::size_t cut;    // 0: end of line
  const char* field;  // nullptr: the frequency and polarisation, which belong to the cuts
};

constexpr planet_line k_lines[] = {
    {"NAME", 5, 52, "name"},
    {"MAKE", 5, 52, "make"},
    {"FREQUENCY", 10, 0, nullptr},
    {"H_WIDTH", 8, 23, "azwidt"},
    {"V_WIDTH", 8, 23, "elwidt"},
    {"FRONT_TO_BACK", 14, 29, "front_to_back"},
    {"GAIN", 5, 20, "mdgain"},
    {"TILT", 5, 24, "tilt"},
    {"POLARIZATION", 13, 28, nullptr},
    {"COMMENT", 8, 0, "comnt1"},
};
constexpr std::string_view FREQUENCY = "FREQUENCY";

void open_planet_cut(pattern_record& rec, reader_state& rs, const char* value, const char* patcut) {
  freq_data_type& fr = rec.pd.freq[0];
  // A ninth section has no room; its points are ignored.
  if (fr.numcut < 0 || fr.numcut >= MAX_CUTS || rs.fr_cut + 1 >= MAX_CUTS) {
    rs.fr_cut = MAX_CUTS;
    return;
  }
  fr.numcut += 1;
  rs.fr_cut += 1;
  cut_data_type& cut = fr.cut[rs.fr_cut];
  int n = 0;
  if (c_sscanf(value, "%i", &n) != 1) n = 0;
  cut.nupoin = count_in(n, MAX_SAMPLES);
  start_cut_points(cut);
  rs.declared = n;
  set_field(cut.patcut, patcut);
  cut.emax = 0.0f;
  rec.flags.cut[0][rs.fr_cut] = {0, 0};
  rs.fr_poin = 0;
}

void read_planet_point(pattern_record& rec, reader_state& rs, const char* line) {
  if (rs.fr_cut < 0 || rs.fr_cut >= MAX_CUTS) return;
  cut_data_type& cut = rec.pd.freq[0].cut[rs.fr_cut];
  float a = 0.0f, l = 0.0f;
  if (rs.fr_poin >= MAX_SAMPLES || rs.fr_poin >= cut.nupoin) {
    // The points a longer section announced beyond the record's room are kept
    // aside, to be reported or resampled.
    if (cut.nupoin == MAX_SAMPLES && rs.declared > MAX_SAMPLES &&
        points_beyond_record(rs, 0, rs.fr_cut) < rs.declared - MAX_SAMPLES && scan_two_floats(line, ' ', a, l) == 2)
      keep_beyond_record(rs, 0, rs.fr_cut, a, std::fabs(l));
    return;
  }
  if (scan_two_floats(line, ' ', a, l) != 2) return;
  if (rs.fr_poin == 0) cut.fstlst[0] = a;
  cut.fstlst[1] = a;
  note_level_sign(rs, 0, rs.fr_cut, rs.fr_poin, l);
  if (put_point(cut, rs.fr_poin, a, l)) rs.fr_poin += 1;
}

}  // namespace

void new_planet_data(pattern_record& rec, reader_state& rs, core_io&, const char* pdata) {
  rs.fr_freq = 0;
  antenna_data_type& pd = rec.pd;
  const std::string_view key = first_word(pdata);
  for (const planet_line& k : k_lines) {
    if (!equals_nocase(key, k.keyword)) continue;
    const std::string_view v = value_at(pdata, k.from, k.cut);
    if (k.field) {
      set_field(field_of(pd, *header_field_by_name(k.field)), v);
    } else if (k.keyword == FREQUENCY) {
      set_field(pd.lowfrq, v);
      set_field(pd.hghfrq, v);
      set_field(pd.freq[0].patfre, v);
      pd.nofreq = 1;
      pd.freq[0].numcut = 0;
    } else {
      set_field(pd.freq[0].cut[0].polari, v);
      set_field(pd.freq[0].cut[1].polari, v);
    }
    return;
  }
  if (equals_nocase(key, "horizontal")) {
    open_planet_cut(rec, rs, pdata + std::min<std::size_t>(11, std::strlen(pdata)), PATCUT_HORIZONTAL);
    return;
  }
  if (equals_nocase(key, "vertical")) {
    open_planet_cut(rec, rs, pdata + std::min<std::size_t>(9, std::strlen(pdata)), PATCUT_VERTICAL);
    return;
  }
  read_planet_point(rec, rs, pdata);
}

namespace {

struct chosen_cut {
  int f = -1;
  int c = -1;
  bool found() const { return f >= 0; }
};

void write_section(const pattern_record& rec, const write_options& how, line_writer& w, const chosen_cut& pick,
                   const char* keyword) {
  const cut_data_type& cut = rec.pd.freq[pick.f].cut[pick.c];
  const float s = crosspol_scale(rec, how.scale_to_strongest, cut, false);
  const int n = points_to_write(cut);
  w.line("%s %u\r\n", keyword, static_cast<unsigned>(n));
  // "%.3f %.3f\r\n" per point, formatted without printf.
  char point[160];
  for (int p = 0; p < n; ++p) {
    std::size_t k = format_fixed3(point, static_cast<double>(cut.angle[p]));
    point[k++] = ' ';
    k += format_fixed3(point + k, static_cast<double>(cut.signal[p] + s));
    std::memcpy(point + k, "\r\n", 2);
    w.bytes(point, k + 2);
  }
}

}  // namespace

std::string planet_gain_text(const antenna_data_type& pd, int loaded_file_type) {
  const gain_reading g = read_gain(pd.mdgain, pd.gunits);
  // Planet has no GUNITS: a plain number from another format takes its unit
  // along. A Planet file's own gain is written back as it was read.
  if (!g.valid || g.unit_in_text || loaded_file_type == FT_PLANET) return pd.mdgain;
  return std::string(pd.mdgain) + (g.unit == gain_unit::dbi ? " dBi" : " dBd");
}

void write_planet_file(const pattern_record& rec, byte_sink& out, core_io& io, const write_options& how) {
  io.report.say(message_kind::save_notice, PLANET_SAVE_NOTICE);
  const antenna_data_type& pd = rec.pd;
  chosen_cut h, v;
  for (int f = 0; f < count_in(pd.nofreq, MAX_FREQ); ++f)
    for (int c = 0; c < count_in(pd.freq[f].numcut, MAX_CUTS); ++c) {
      const cut_data_type& cut = pd.freq[f].cut[c];
      if (!cut_is_shown(rec.flags, f, c) || cut.nupoin == 0) continue;
      chosen_cut& slot = is_horizontal_cut(cut.patcut) ? h : v;
      if (!slot.found()) slot = {f, c};
    }
  // Without a horizontal cut the frequency and polarisation come from the
  // vertical one; without either they are written empty.
  const chosen_cut& named = h.found() ? h : v;
  const char* patfre = named.found() ? pd.freq[named.f].patfre : "";
  const char* polari = named.found() ? pd.freq[named.f].cut[named.c].polari : "";

  const std::string gain = planet_gain_text(pd, how.loaded_file_type);
  line_writer w(out, io.log);
  for (const planet_line& k : k_lines) {
    const header_field* f = k.field ? header_field_by_name(k.field) : nullptr;
    const char* value = !f                            ? (k.keyword == FREQUENCY ? patfre : polari)
                        : std::string_view(f->tag) == "MDGAIN" ? gain.c_str()
                                                               : field_text(pd, *f);
    w.line("%s %s\r\n", k.keyword, value);
  }
  if (h.found()) write_section(rec, how, w, h, "HORIZONTAL");
  if (v.found()) write_section(rec, how, w, v, "VERTICAL");
}

}  // namespace lobe
