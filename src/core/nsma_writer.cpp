#include "core/nsma_writer.h"

#include <cmath>

#include "core/c_numeric.h"
#include "core/file_sink.h"
#include "core/line_format.h"
#include "core/number_scan.h"

#include <cstring>

namespace lobe {

void write_nsma_file(lobe_state& st, byte_sink& out, run_log& log, int kwr_fmt) {
  antenna_data_type& pd = st.pd;
  line_writer w(out, log);

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
  w.line("GUNITS:,%s\r\n", pd.gunits);
  w.line("LWGAIN:,%s\r\n", pd.lwgain);
  w.line("MDGAIN:,%s\r\n", pd.mdgain);
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
  const int nofreq = count_in(pd.nofreq, MAX_FREQ);
  w.line("NOFREQ:,%u\r\n", static_cast<unsigned>(nofreq));

  for (int f = 0; f < nofreq; ++f) {
    freq_data_type& fr = pd.freq[f];
    const int numcut = count_in(fr.numcut, MAX_CUTS);
    w.line("PATFRE:,%s\r\n", fr.patfre);
    w.line("NUMCUT:,%u\r\n", static_cast<unsigned>(numcut));
    for (int c = 0; c < numcut; ++c) {
      cut_data_type& cut = fr.cut[c];
      // The plain NSMA form bakes "scale all to strongest signal" into the
      // levels; LABZ carries the peak itself and is never shifted.
      const float s = crosspol_scale(st, cut, kwr_fmt == 1);
      const int nupoin = stored_points(cut);
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
  }
  w.line("ENDFIL:,EOF\r\n");
}

}  // namespace lobe
