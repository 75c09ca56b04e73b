#include "core/record/pattern_record.h"

#include <array>
#include <cstddef>
#include <type_traits>

#include "core/text/field_text.h"

namespace lobe {

static_assert(std::is_standard_layout_v<antenna_data_type>);
static_assert(std::is_trivially_copyable_v<antenna_data_type>);

namespace {

#define LOBE_HEADER_FIELD(member, tag) \
  header_field { #member, tag, offsetof(antenna_data_type, member), sizeof(antenna_data_type::member) }

// In the order an NSMA file writes them, which is the order the writer takes.
constexpr std::array<header_field, 33> k_header_fields = {{
    LOBE_HEADER_FIELD(comnt1, "COMNT1"),
    LOBE_HEADER_FIELD(comnt2, "COMNT2"),
    LOBE_HEADER_FIELD(make, "ANTMAN"),
    LOBE_HEADER_FIELD(name, "MODNUM"),
    LOBE_HEADER_FIELD(patnum, "PATNUM"),
    LOBE_HEADER_FIELD(filnum, "FILNUM"),
    LOBE_HEADER_FIELD(fedorn, "FEDORN"),
    LOBE_HEADER_FIELD(descr1, "DESCR1"),
    LOBE_HEADER_FIELD(descr2, "DESCR2"),
    LOBE_HEADER_FIELD(descr3, "DESCR3"),
    LOBE_HEADER_FIELD(descr4, "DESCR4"),
    LOBE_HEADER_FIELD(descr5, "DESCR5"),
    LOBE_HEADER_FIELD(dtdata, "DTDATA"),
    LOBE_HEADER_FIELD(lowfrq, "LOWFRQ"),
    LOBE_HEADER_FIELD(hghfrq, "HGHFRQ"),
    LOBE_HEADER_FIELD(gunits, "GUNITS"),
    LOBE_HEADER_FIELD(lwgain, "LWGAIN"),
    LOBE_HEADER_FIELD(mdgain, "MDGAIN"),
    LOBE_HEADER_FIELD(hggain, "HGGAIN"),
    LOBE_HEADER_FIELD(azwidt, "AZWIDT"),
    LOBE_HEADER_FIELD(elwidt, "ELWIDT"),
    LOBE_HEADER_FIELD(contyp, "CONTYP"),
    LOBE_HEADER_FIELD(atvswr, "ATVSWR"),
    LOBE_HEADER_FIELD(front_to_back, "FRTOBA"),
    LOBE_HEADER_FIELD(tilt, "ELTILT"),
    LOBE_HEADER_FIELD(radctr, "RADCTR"),
    LOBE_HEADER_FIELD(potopo, "POTOPO"),
    LOBE_HEADER_FIELD(maxpow, "MAXPOW"),
    LOBE_HEADER_FIELD(antlen, "ANTLEN"),
    LOBE_HEADER_FIELD(antwid, "ANTWID"),
    LOBE_HEADER_FIELD(antdep, "ANTDEP"),
    LOBE_HEADER_FIELD(antwgt, "ANTWGT"),
    LOBE_HEADER_FIELD(pattyp, "PATTYP"),
}};

#undef LOBE_HEADER_FIELD

}  // namespace

std::span<const header_field> header_fields() { return k_header_fields; }

const header_field* header_field_by_tag(std::string_view tag) {
  for (const auto& f : k_header_fields)
    if (equals_nocase(f.tag, tag)) return &f;
  return nullptr;
}

const header_field* header_field_by_name(std::string_view name) {
  for (const auto& f : k_header_fields)
    if (name == f.name) return &f;
  return nullptr;
}

bool is_horizontal_cut(const char* patcut) {
  return equals_nocase(patcut, PATCUT_HORIZONTAL) || equals_nocase(patcut, PATCUT_AZIMUTH);
}

bool is_vertical_cut(const char* patcut) {
  return equals_nocase(patcut, PATCUT_VERTICAL) || equals_nocase(patcut, PATCUT_ELEVATION);
}

void shorten_cuts(antenna_data_type& pd, const cut_ends& ends) {
  for (const cut_end& e : ends)
    if (e.freq >= 0 && e.freq < MAX_FREQ && e.cut >= 0 && e.cut < MAX_CUTS) pd.freq[e.freq].cut[e.cut].nupoin = e.points;
}

void clear_cut_data(antenna_data_type& pd) {
  for (int f = 0; f < pd.nofreq && f < MAX_FREQ; ++f)
    for (int c = 0; c < pd.freq[f].numcut && c < MAX_CUTS; ++c)
      for (int p = 0; p < 360; ++p) pd.freq[f].cut[c].signal[p] = NO_SIG_DATA;
}

void clear_planet_header_data(antenna_data_type& pd, float& all_emax) {
  for (const auto& f : k_header_fields) set_field(field_of(pd, f), "");
  set_field(pd.pattyp, PATTYP_TYP);
  set_field(pd.gunits, GUNITS_DFLT);
  pd.nofreq = 0;
  all_emax = 0.0f;
}

bool add_freq_record(antenna_data_type& pd) {
  if (pd.nofreq < 0 || pd.nofreq >= MAX_FREQ) return false;
  freq_data_type& fr = pd.freq[pd.nofreq];
  set_field(fr.patfre, "");
  fr.numcut = 0;
  pd.nofreq += 1;
  return true;
}

bool add_cut_record(antenna_data_type& pd, pattern_flags_type& flags, int f) {
  if (f < 0 || f >= MAX_FREQ) return false;
  freq_data_type& fr = pd.freq[f];
  if (fr.numcut < 0 || fr.numcut >= MAX_CUTS) return false;
  cut_data_type& cut = fr.cut[fr.numcut];
  set_field(cut.patcut, "");
  set_field(cut.polari, "");
  cut.nupoin = 0;
  cut.emax = 1.0f;
  cut.fstlst[0] = 0.0f;
  cut.fstlst[1] = 0.0f;
  flags.cut[f][fr.numcut] = {0, 0};
  fr.numcut += 1;
  return true;
}

}  // namespace lobe
