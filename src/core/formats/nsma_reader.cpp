#include "core/formats/nsma_reader.h"

#include <cmath>
#include <cstring>
#include <string_view>

#include "core/text/c_numeric.h"
#include "core/formats/long_cuts.h"
#include "core/text/field_text.h"
#include "core/text/number_scan.h"
#include "core/io/run_log.h"

namespace lobe {

namespace {


// The first run of up to six non-blank characters, as "%6s" reads it.
std::string_view first_token(const char* p) {
  while (*p && is_c_space(*p)) ++p;
  std::size_t n = 0;
  while (n < 6 && p[n] && !is_c_space(p[n])) ++n;
  return {p, n};
}

cut_data_type* open_cut(lobe_state& st, const reader_state& rs) {
  if (rs.fr_freq < 0 || rs.fr_freq >= MAX_FREQ || rs.fr_cut < 0 || rs.fr_cut >= MAX_CUTS) return nullptr;
  return &st.pd.freq[rs.fr_freq].cut[rs.fr_cut];
}


void read_nofreq(lobe_state& st, const char* value) {
  unsigned v = 0;
  int used = 0;
  const int got = c_sscanf(value, "%u %n", &v, &used);
  const int n = static_cast<int>(v);
  if (got < 1 || n < 1) {
    st.pd.nofreq = 1;
    st.file.file_errors |= FILE_ERR_NOFREQ;
  } else {
    // A file announcing more frequencies than the record holds keeps the first twelve.
    st.pd.nofreq = n > MAX_FREQ ? MAX_FREQ : n;
  }
}

void read_fstlst(lobe_state& st, const reader_state& rs, core_io& io, cut_data_type& cut, const char* value) {
  float first = 0.0f, last = 0.0f, emax = 0.0f;
  const int got = c_sscanf(value, "%f,%f,%f", &first, &last, &emax);
  // Fewer than two numbers leaves the angles unset, so the data lines raise FILE_ERR_FSTLST.
  if (got >= 2) {
    cut.fstlst[0] = first;
    cut.fstlst[1] = last;
  }
  cut_flags_type& flags = st.flags.cut[rs.fr_freq][rs.fr_cut];
  if (got == 3) {
    cut.emax = emax;
    if (cut.emax > st.all_emax) st.all_emax = cut.emax;
    flags.sweep_completed = 1;
    io.log.write_error_log("new_nsma_data",
                           c_format("File contains: Emax %f AllEmax %f", cut.emax, st.all_emax));
  } else {
    cut.emax = 0.0f;
    flags.sweep_completed = 0;
  }
}

void read_data_line(lobe_state& st, reader_state& rs, const char* line) {
  cut_data_type* cut = open_cut(st, rs);
  if (!cut) return;
  if (cut->fstlst[0] == FSTLST_UNSET || cut->fstlst[1] == FSTLST_UNSET) st.file.file_errors |= FILE_ERR_FSTLST;
  float angle = 0.0f, level = 0.0f;
  if (rs.fr_poin >= cut->nupoin) {
    // Points beyond NUPOIN are ignored; those a longer NUPOIN announced but the
    // record has no room for are kept aside, to be reported or resampled.
    if (cut->nupoin == MAX_SAMPLES && rs.declared > MAX_SAMPLES &&
        points_beyond_record(rs, rs.fr_freq, rs.fr_cut) < rs.declared - MAX_SAMPLES &&
        scan_two_floats(line, ',', angle, level) == 2)
      keep_beyond_record(rs, rs.fr_freq, rs.fr_cut, angle, std::fabs(level));
    return;
  }
  if (scan_two_floats(line, ',', angle, level) != 2) return;
  note_level_sign(rs, rs.fr_freq, rs.fr_cut, rs.fr_poin, level);
  if (put_point(*cut, rs.fr_poin, angle, level)) rs.fr_poin += 1;
}

}  // namespace

namespace {

// The structure tags: each sets the cursors or the open cut from its value.
void on_kwrenv(lobe_state& st, reader_state&, core_io&, const char* value) {
  set_field(st.view.envelope_disp_requested, value);
  st.view.display_type = DISPLAY_TYPE_RECT;
}

void on_nofreq(lobe_state& st, reader_state&, core_io&, const char* value) { read_nofreq(st, value); }

void on_patfre(lobe_state& st, reader_state& rs, core_io&, const char* value) {
  // A thirteenth frequency parks the cursor past the record; what follows is ignored.
  if (rs.fr_freq < MAX_FREQ) rs.fr_freq += 1;
  rs.fr_cut = -1;
  if (rs.fr_freq < MAX_FREQ) set_field(st.pd.freq[rs.fr_freq].patfre, value);
}

void on_numcut(lobe_state& st, reader_state& rs, core_io&, const char* value) {
  if (rs.fr_freq < 0 || rs.fr_freq >= MAX_FREQ) return;
  unsigned v = 0;
  if (c_sscanf(value, "%u", &v) == 1) st.pd.freq[rs.fr_freq].numcut = count_in(static_cast<int>(v), MAX_CUTS);
}

void on_patcut(lobe_state& st, reader_state& rs, core_io&, const char* value) {
  if (rs.fr_freq < 0 || rs.fr_freq >= MAX_FREQ) return;
  if (rs.fr_cut < MAX_CUTS) rs.fr_cut += 1;
  rs.fr_poin = 0;
  cut_data_type* cut = open_cut(st, rs);
  if (!cut) return;
  set_field(cut->patcut, value);
  set_field(cut->polari, "");
  cut->nupoin = 0;
  start_cut_points(*cut);
  cut->fstlst[0] = FSTLST_UNSET;
  cut->fstlst[1] = FSTLST_UNSET;
  st.flags.cut[rs.fr_freq][rs.fr_cut] = {0, 0};
}

void on_polari(lobe_state& st, reader_state& rs, core_io&, const char* value) {
  if (cut_data_type* cut = open_cut(st, rs)) set_field(cut->polari, value);
}

void on_nupoin(lobe_state& st, reader_state& rs, core_io&, const char* value) {
  cut_data_type* cut = open_cut(st, rs);
  int v = 0;
  if (cut && c_sscanf(value, "%i", &v) == 1) {
    cut->nupoin = count_in(v, MAX_SAMPLES);
    rs.declared = v;
  }
}

void on_fstlst(lobe_state& st, reader_state& rs, core_io& io, const char* value) {
  if (cut_data_type* cut = open_cut(st, rs)) read_fstlst(st, rs, io, *cut, value);
}

struct structure_tag {
  const char* tag;
  void (*read)(lobe_state&, reader_state&, core_io&, const char*);
};
constexpr structure_tag k_structure_tags[] = {
    {"KWRENV", on_kwrenv}, {"NOFREQ", on_nofreq}, {"PATFRE", on_patfre}, {"NUMCUT", on_numcut},
    {"PATCUT", on_patcut}, {"POLARI", on_polari}, {"NUPOIN", on_nupoin}, {"FSTLST", on_fstlst},
};

}  // namespace

void new_nsma_data(lobe_state& st, reader_state& rs, core_io& io, const char* pdata) {
  if (pdata[0] == '\0') return;
  // Point lines are nearly all of a file, and no tag starts with a digit or a sign.
  const char lead = pdata[0];
  if ((lead >= '0' && lead <= '9') || lead == '-' || lead == '+' || lead == '.') {
    read_data_line(st, rs, pdata);
    return;
  }
  const std::string_view tag = first_token(pdata);
  if (tag.empty()) {
    read_data_line(st, rs, pdata);
    return;
  }
  // The value starts after "TAGNAM:," whatever the line holds there.
  const char* value = std::strlen(pdata) >= 8 ? pdata + 8 : "";
  if (const header_field* f = header_field_by_tag(tag)) {
    set_field(field_of(st.pd, *f), value);
    return;
  }
  for (const structure_tag& t : k_structure_tags)
    if (equals_nocase(tag, t.tag)) {
      t.read(st, rs, io, value);
      return;
    }
  // REVNUM, REVDAT, ENDFIL and unknown tags go the way of data lines.
  read_data_line(st, rs, pdata);
}

void post_process_labz_data(lobe_state& st) {
  if (st.view.envelope_disp_requested[0] == '\0') return;
  const int n = count_in(st.ed.numenv, MAX_ENVELOPES);
  for (int v = 0; v < n; ++v)
    if (equals_nocase(st.ed.env[v].title, st.view.envelope_disp_requested)) set_active_envelope(st.ed, v);
}

}  // namespace lobe
