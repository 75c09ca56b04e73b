#include "core/formats/nsma_writer.h"

#include <cmath>

#include "core/text/c_numeric.h"
#include "core/io/file_sink.h"
#include "core/record/gain_units.h"
#include "core/formats/line_format.h"
#include "core/text/number_scan.h"

#include <cstring>

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

// The header lines, in the order files write them.
void write_header(const lobe_state& st, line_writer& w, int kwr_fmt) {
  const antenna_data_type& pd = st.pd;
  w.line("REVNUM:,NSMA  WG16.99.050\r\n");
  w.line("REVDAT:,19990520\r\n");
  w.line("COMNT1:,%s\r\n", pd.comnt1);
  w.line("COMNT2:,%s\r\n", pd.comnt2);
  w.line("ANTMAN:,%s\r\n", pd.make);
  w.line("MODNUM:,%s\r\n", pd.name);
  w.line("PATNUM:,%s\r\n", pd.patnum);
  w.line("FILNUM:,%s\r\n", pd.filnum);
  w.line("FEDORN:,%s\r\n", pd.fedorn);
  w.line("DESCR1:,%s\r\n", pd.descr1);
  w.line("DESCR2:,%s\r\n", pd.descr2);
  w.line("DESCR3:,%s\r\n", pd.descr3);
  w.line("DESCR4:,%s\r\n", pd.descr4);
  w.line("DESCR5:,%s\r\n", pd.descr5);
  w.line("DTDATA:,%s\r\n", pd.dtdata);
  w.line("LOWFRQ:,%s\r\n", pd.lowfrq);
  w.line("HGHFRQ:,%s\r\n", pd.hghfrq);
  const nsma_gain_fields gain = nsma_gain_fields_of(pd);
  w.line("GUNITS:,%s\r\n", gain.gunits.c_str());
  w.line("LWGAIN:,%s\r\n", pd.lwgain);
  w.line("MDGAIN:,%s\r\n", gain.mdgain.c_str());
  w.line("HGGAIN:,%s\r\n", pd.hggain);
  w.line("AZWIDT:,%s\r\n", pd.azwidt);
  w.line("ELWIDT:,%s\r\n", pd.elwidt);
  w.line("CONTYP:,%s\r\n", pd.contyp);
  w.line("ATVSWR:,%s\r\n", pd.atvswr);
  w.line("FRTOBA:,%s\r\n", pd.front_to_back);
  w.line("ELTILT:,%s\r\n", pd.tilt);
  w.line("RADCTR:,%s\r\n", pd.radctr);
  w.line("POTOPO:,%s\r\n", pd.potopo);
  w.line("MAXPOW:,%s\r\n", pd.maxpow);
  w.line("ANTLEN:,%s\r\n", pd.antlen);
  w.line("ANTWID:,%s\r\n", pd.antwid);
  w.line("ANTDEP:,%s\r\n", pd.antdep);
  w.line("ANTWGT:,%s\r\n", pd.antwgt);
  if (kwr_fmt == 1)
    if (const envelope_data_type* env = active_envelope(st.ed)) w.line("KWRENV:,%s\r\n", env->title);
  w.line("PATTYP:,%s\r\n", pd.pattyp);
}

// One cut: its tags, then "%.3f,-%.3f," per point. A cut without its first
// and last angles gets them from its points.
void write_cut(const lobe_state& st, cut_data_type& cut, line_writer& w, byte_sink& out, run_log& log, int kwr_fmt) {
    // The plain NSMA form bakes "scale all to strongest signal" into the
  // levels; LABZ carries the peak itself and is never shifted.
  const float s = crosspol_scale(st, cut, kwr_fmt == 1);
  const int nupoin = points_to_write(cut);
  w.line("PATCUT:,%s\r\n", cut.patcut);
  w.line("POLARI:,%s\r\n", cut.polari);
  w.line("NUPOIN:,%u\r\n", static_cast<unsigned>(nupoin));
  // A cut with no points has nothing to take its angles from; they stay 999.
  if (nupoin > 0) {
    if (cut.fstlst[0] == FSTLST_UNSET) cut.fstlst[0] = cut.angle[0];
    if (cut.fstlst[1] == FSTLST_UNSET) cut.fstlst[1] = cut.angle[nupoin - 1];
  }
  if (kwr_fmt == 1)
    w.line("FSTLST:,%.3f,%.3f,%.3f\r\n", static_cast<double>(cut.fstlst[0]), static_cast<double>(cut.fstlst[1]),
           static_cast<double>(cut.emax));
  else
    w.line("FSTLST:,%.3f,%.3f\r\n", static_cast<double>(cut.fstlst[0]), static_cast<double>(cut.fstlst[1]));
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

void write_nsma_file(lobe_state& st, byte_sink& out, run_log& log, int kwr_fmt) {
  antenna_data_type& pd = st.pd;
  line_writer w(out, log);
  write_header(st, w, kwr_fmt);
  const int nofreq = count_in(pd.nofreq, MAX_FREQ);
  w.line("NOFREQ:,%u\r\n", static_cast<unsigned>(nofreq));
  for (int f = 0; f < nofreq; ++f) {
    freq_data_type& fr = pd.freq[f];
    const int numcut = count_in(fr.numcut, MAX_CUTS);
    w.line("PATFRE:,%s\r\n", fr.patfre);
    w.line("NUMCUT:,%u\r\n", static_cast<unsigned>(numcut));
    for (int c = 0; c < numcut; ++c) write_cut(st, fr.cut[c], w, out, log, kwr_fmt);
  }
  w.line("ENDFIL:,EOF\r\n");
}

}  // namespace lobe
