#include "core/formats/nsma_writer.h"

#include <cmath>

#include "core/text/c_numeric.h"
#include "core/io/file_sink.h"
#include "core/record/gain_units.h"
#include "core/formats/line_format.h"
#include "core/text/number_scan.h"

#include <cstring>
#include <string_view>

namespace lobe {

nsma_gain_fields nsma_gain_fields_of(const antenna_data_type& pd) {
  nsma_gain_fields out{pd.gunits, pd.mdgain};
  const gain_reading g = read_gain(pd.mdgain, pd.gunits);
  // A gain that carries its unit in its text (as a Planet file writes it)
  // becomes a plain number under the GUNITS of that unit, which other NSMA
  // readers demand. When the other gains already stand under a GUNITS, the
  // number is converted to it instead.
  if (!g.valid || !g.unit_in_text) return out;
  gain_unit named = gain_unit::dbd;
  const bool others = pd.lwgain[0] != '\0' || pd.hggain[0] != '\0';
  if (others && gunits_names(pd.gunits, named) && named != g.unit) {
    out.mdgain = c_format("%.2f", double(named == gain_unit::dbi ? g.dbi() : g.dbd()));
    return out;
  }
  out.mdgain = g.number;
  if (!others || !gunits_names(pd.gunits, named)) out.gunits = g.unit == gain_unit::dbi ? "DBI/DBI" : "DBD/DBD";
  return out;
}

namespace {

// The header lines, in the order of the field table; the gain's unit and
// value as the gain rules make them, and the envelope a LABZ file shows
// just before its pattern type.
void write_header(const antenna_data_type& pd, const write_options& how, line_writer& w, int kwr_fmt) {
  w.line("REVNUM:,NSMA  WG16.99.050\r\n");
  w.line("REVDAT:,19990520\r\n");
  const nsma_gain_fields gain = nsma_gain_fields_of(pd);
  for (const header_field& f : header_fields()) {
    const std::string_view tag = f.tag;
    if (tag == "PATTYP" && kwr_fmt == 1 && how.envelope_shown) w.line("KWRENV:,%s\r\n", how.envelope_shown);
    const char* value = tag == "GUNITS" ? gain.gunits.c_str() : tag == "MDGAIN" ? gain.mdgain.c_str() : field_text(pd, f);
    w.line("%s:,%s\r\n", f.tag, value);
  }
}

// One cut: its tags, then "%.3f,-%.3f," per point. A cut without its first
// and last angles gets them from its points.
void write_cut(const pattern_record& rec, const write_options& how, const cut_data_type& cut, line_writer& w,
               byte_sink& out, run_log& log, int kwr_fmt) {
  // The plain NSMA form bakes "scale all to strongest signal" into the
  // levels; LABZ carries the peak itself and is never shifted.
  const float s = crosspol_scale(rec, how.scale_to_strongest, cut, kwr_fmt == 1);
  const int nupoin = points_to_write(cut);
  w.line("PATCUT:,%s\r\n", cut.patcut);
  w.line("POLARI:,%s\r\n", cut.polari);
  w.line("NUPOIN:,%u\r\n", static_cast<unsigned>(nupoin));
  const first_last fl = first_last_of(cut);
  if (kwr_fmt == 1)
    w.line("FSTLST:,%.3f,%.3f,%.3f\r\n", static_cast<double>(fl.first), static_cast<double>(fl.last),
           static_cast<double>(cut.emax));
  else
    w.line("FSTLST:,%.3f,%.3f\r\n", static_cast<double>(fl.first), static_cast<double>(fl.last));
  // "%.3f,-%.3f,\r\n" per point, formatted without printf: a full record has 35 000 of them.
  char point[160];
  for (int p = 0; p < nupoin; ++p) {
    std::size_t n = format_fixed3(point, cut.angle[p]);
    point[n++] = ',';
    point[n++] = '-';
    n += format_fixed3(point + n, static_cast<float>(cut.signal[p] + s));
    std::memcpy(point + n, ",\r\n", 3);
    k_writefile(out, log, point, n + 3);
  }
}

}  // namespace

void write_nsma_file(const pattern_record& rec, byte_sink& out, run_log& log, int kwr_fmt, const write_options& how) {
  const antenna_data_type& pd = rec.pd;
  line_writer w(out, log);
  write_header(pd, how, w, kwr_fmt);
  const int nofreq = count_in(pd.nofreq, MAX_FREQ);
  w.line("NOFREQ:,%u\r\n", static_cast<unsigned>(nofreq));
  for (int f = 0; f < nofreq; ++f) {
    const freq_data_type& fr = pd.freq[f];
    const int numcut = count_in(fr.numcut, MAX_CUTS);
    w.line("PATFRE:,%s\r\n", fr.patfre);
    w.line("NUMCUT:,%u\r\n", static_cast<unsigned>(numcut));
    for (int c = 0; c < numcut; ++c) write_cut(rec, how, fr.cut[c], w, out, log, kwr_fmt);
  }
  w.line("ENDFIL:,EOF\r\n");
}

}  // namespace lobe
