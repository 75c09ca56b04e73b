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

cut_data_type* open_cut(pattern_record& rec, const reader_state& rs) {
  if (rs.fr_freq < 0 || rs.fr_freq >= MAX_FREQ || rs.fr_cut < 0 || rs.fr_cut >= MAX_CUTS) return nullptr;
  return &rec.pd.freq[rs.fr_freq].cut[rs.fr_cut];
}


void read_nofreq(pattern_record& rec, reader_state& rs, const char* value) {
  unsigned v = 0;
  int used = 0;
  const int got = c_sscanf(value, "%u %n", &v, &used);
  const int n = static_cast<int>(v);
  if (got < 1 || n < 1) {
    rec.pd.nofreq = 1;
    rs.found.file_errors |= FILE_ERR_NOFREQ;
  } else {
    // A file announcing more frequencies than the record holds keeps the first twelve.
    rec.pd.nofreq = n > MAX_FREQ ? MAX_FREQ : n;
  }
}

void read_fstlst(pattern_record& rec, const reader_state& rs, core_io& io, cut_data_type& cut, const char* value) {
  float first = 0.0f, last = 0.0f, emax = 0.0f;
  const int got = c_sscanf(value, "%f,%f,%f", &first, &last, &emax);
  // Fewer than two numbers leaves the angles unset, so the data lines raise FILE_ERR_FSTLST.
  if (got >= 2) {
    cut.fstlst[0] = first;
    cut.fstlst[1] = last;
  }
  cut_flags_type& flags = rec.flags.cut[rs.fr_freq][rs.fr_cut];
  if (got == 3) {
    cut.emax = emax;
    if (cut.emax > rec.all_emax) rec.all_emax = cut.emax;
    flags.sweep_completed = 1;
    io.log.write_error_log("new_nsma_data",
                           c_format("File contains: Emax %f AllEmax %f", cut.emax, rec.all_emax));
  } else {
    cut.emax = 0.0f;
    flags.sweep_completed = 0;
  }
}

void read_data_line(pattern_record& rec, reader_state& rs, const char* line) {
  cut_data_type* cut = open_cut(rec, rs);
  if (!cut) return;
  if (cut->fstlst[0] == FSTLST_UNSET || cut->fstlst[1] == FSTLST_UNSET) rs.found.file_errors |= FILE_ERR_FSTLST;
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
void on_kwrenv(pattern_record&, reader_state& rs, core_io&, const char* value) {
  rs.found.envelope_requested = value;
  rs.found.cartesian_view = true;
}

void on_nofreq(pattern_record& rec, reader_state& rs, core_io&, const char* value) { read_nofreq(rec, rs, value); }

void on_patfre(pattern_record& rec, reader_state& rs, core_io&, const char* value) {
  // A thirteenth frequency parks the cursor past the record; what follows is ignored.
  if (rs.fr_freq < MAX_FREQ) rs.fr_freq += 1;
  rs.fr_cut = -1;
  if (rs.fr_freq < MAX_FREQ) set_field(rec.pd.freq[rs.fr_freq].patfre, value);
}

void on_numcut(pattern_record& rec, reader_state& rs, core_io&, const char* value) {
  if (rs.fr_freq < 0 || rs.fr_freq >= MAX_FREQ) return;
  unsigned v = 0;
  if (c_sscanf(value, "%u", &v) == 1) rec.pd.freq[rs.fr_freq].numcut = count_in(static_cast<int>(v), MAX_CUTS);
}

void on_patcut(pattern_record& rec, reader_state& rs, core_io&, const char* value) {
  if (rs.fr_freq < 0 || rs.fr_freq >= MAX_FREQ) return;
  if (rs.fr_cut < MAX_CUTS) rs.fr_cut += 1;
  rs.fr_poin = 0;
  cut_data_type* cut = open_cut(rec, rs);
  if (!cut) return;
  set_field(cut->patcut, value);
  set_field(cut->polari, "");
  cut->nupoin = 0;
  start_cut_points(*cut);
  cut->fstlst[0] = FSTLST_UNSET;
  cut->fstlst[1] = FSTLST_UNSET;
  rec.flags.cut[rs.fr_freq][rs.fr_cut] = {0, 0};
}

void on_polari(pattern_record& rec, reader_state& rs, core_io&, const char* value) {
  if (cut_data_type* cut = open_cut(rec, rs)) set_field(cut->polari, value);
}

void on_nupoin(pattern_record& rec, reader_state& rs, core_io&, const char* value) {
  cut_data_type* cut = open_cut(rec, rs);
  int v = 0;
  if (cut && c_sscanf(value, "%i", &v) == 1) {
    cut->nupoin = count_in(v, MAX_SAMPLES);
    rs.declared = v;
  }
}

void on_fstlst(pattern_record& rec, reader_state& rs, core_io& io, const char* value) {
  if (cut_data_type* cut = open_cut(rec, rs)) read_fstlst(rec, rs, io, *cut, value);
}

struct structure_tag {
  const char* tag;
  line_parser read;
};
constexpr structure_tag k_structure_tags[] = {
    {"KWRENV", on_kwrenv}, {"NOFREQ", on_nofreq}, {"PATFRE", on_patfre}, {"NUMCUT", on_numcut},
    {"PATCUT", on_patcut}, {"POLARI", on_polari}, {"NUPOIN", on_nupoin}, {"FSTLST", on_fstlst},
};

}  // namespace

void new_nsma_data(pattern_record& rec, reader_state& rs, core_io& io, const char* pdata) {
  if (pdata[0] == '\0') return;
  // Point lines are nearly all of a file, and no tag starts with a digit or a sign.
  const char lead = pdata[0];
  if ((lead >= '0' && lead <= '9') || lead == '-' || lead == '+' || lead == '.') {
    read_data_line(rec, rs, pdata);
    return;
  }
  const std::string_view tag = first_token(pdata);
  if (tag.empty()) {
    read_data_line(rec, rs, pdata);
    return;
  }
  // The value starts after "TAGNAM:," whatever the line holds there.
  const char* value = std::strlen(pdata) >= 8 ? pdata + 8 : "";
  if (const header_field* f = header_field_by_tag(tag)) {
    set_field(field_of(rec.pd, *f), value);
    return;
  }
  for (const structure_tag& t : k_structure_tags)
    if (equals_nocase(tag, t.tag)) {
      t.read(rec, rs, io, value);
      return;
    }
  // REVNUM, REVDAT, ENDFIL and unknown tags go the way of data lines.
  read_data_line(rec, rs, pdata);
}

void finish_labz_data(pattern_record&, reader_state& rs, core_io&) { rs.found.activate_envelope = true; }

}  // namespace lobe
