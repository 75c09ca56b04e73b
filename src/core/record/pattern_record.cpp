#include "core/record/pattern_record.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <type_traits>

#include "core/text/field_text.h"

namespace lobe {

static_assert(std::is_standard_layout_v<antenna_data_type>);
static_assert(std::is_trivially_copyable_v<antenna_data_type>);

namespace {

#define LOBE_HEADER_FIELD(member, tag, caption, block, page_row, pane, panel_row, part)                 \
  header_field {                                                                                         \
    #member, tag, offsetof(antenna_data_type, member), sizeof(antenna_data_type::member), caption,        \
        page_block::block, page_row, panel_place { panel_pane::pane, panel_row, row_part::part }          \
  }

// In the order an NSMA file writes them, which is the order the writer takes.
constexpr std::array<header_field, 33> k_header_fields = {{
    LOBE_HEADER_FIELD(comnt1, "COMNT1", "Comment1", identity, 6, description, 2, whole),
    LOBE_HEADER_FIELD(comnt2, "COMNT2", "Comment2", identity, 7, description, 3, whole),
    LOBE_HEADER_FIELD(make, "ANTMAN", "Antenna Make", identity, 1, description, 0, whole),
    LOBE_HEADER_FIELD(name, "MODNUM", "Antenna Name", identity, 0, description, 1, whole),
    LOBE_HEADER_FIELD(patnum, "PATNUM", "Pattern ID#", identity, 2, description, 4, left),
    LOBE_HEADER_FIELD(filnum, "FILNUM", "Pattern file#", identity, 3, description, 4, right),
    LOBE_HEADER_FIELD(fedorn, "FEDORN", "Feed orientation", identity, 4, description, 5, left),
    LOBE_HEADER_FIELD(descr1, "DESCR1", nullptr, description, 0, description, -1, whole),
    LOBE_HEADER_FIELD(descr2, "DESCR2", nullptr, description, 1, description, -1, whole),
    LOBE_HEADER_FIELD(descr3, "DESCR3", nullptr, description, 2, description, -1, whole),
    LOBE_HEADER_FIELD(descr4, "DESCR4", nullptr, description, 3, description, -1, whole),
    LOBE_HEADER_FIELD(descr5, "DESCR5", nullptr, description, 4, description, -1, whole),
    LOBE_HEADER_FIELD(dtdata, "DTDATA", "Date", physical, 1, description, 7, whole),
    LOBE_HEADER_FIELD(lowfrq, "LOWFRQ", "Low Freq", band, 0, performance, 0, whole),
    LOBE_HEADER_FIELD(hghfrq, "HGHFRQ", "High Freq", band, 1, performance, 1, whole),
    LOBE_HEADER_FIELD(gunits, "GUNITS", "Gain units", band, 2, performance, 2, whole),
    LOBE_HEADER_FIELD(lwgain, "LWGAIN", "Low-band Gain", band, 3, performance, 3, whole),
    LOBE_HEADER_FIELD(mdgain, "MDGAIN", "Mid-band Gain", band, 4, performance, 4, whole),
    LOBE_HEADER_FIELD(hggain, "HGGAIN", "High-band Gain", band, 5, performance, 5, whole),
    LOBE_HEADER_FIELD(azwidt, "AZWIDT", "H beamwidth", beam, 0, performance, 6, whole),
    LOBE_HEADER_FIELD(elwidt, "ELWIDT", "V beamwidth", beam, 1, performance, 7, whole),
    LOBE_HEADER_FIELD(contyp, "CONTYP", "Connector type", physical, 0, description, 6, whole),
    LOBE_HEADER_FIELD(atvswr, "ATVSWR", "VSWR", beam, 2, performance, 8, whole),
    LOBE_HEADER_FIELD(front_to_back, "FRTOBA", "Front to Back", beam, 3, performance, 9, whole),
    LOBE_HEADER_FIELD(tilt, "ELTILT", "Electrical downtilt", beam, 4, performance, 10, whole),
    LOBE_HEADER_FIELD(radctr, "RADCTR", "Radiation centre (m)", beam, 5, performance, 11, whole),
    LOBE_HEADER_FIELD(potopo, "POTOPO", "Port-to-port Iso (dB)", power, 0, performance, 12, whole),
    LOBE_HEADER_FIELD(maxpow, "MAXPOW", "Max Input Power (W)", power, 1, performance, 13, whole),
    LOBE_HEADER_FIELD(antlen, "ANTLEN", "Length (m)", physical, 2, description, 8, left),
    LOBE_HEADER_FIELD(antwid, "ANTWID", "Width (m)", physical, 3, description, 8, right),
    LOBE_HEADER_FIELD(antdep, "ANTDEP", "Depth (m)", physical, 4, description, 9, left),
    LOBE_HEADER_FIELD(antwgt, "ANTWGT", "Weight (kg)", physical, 5, description, 9, right),
    LOBE_HEADER_FIELD(pattyp, "PATTYP", "Pattern type", identity, 5, description, 5, right),
}};

#undef LOBE_HEADER_FIELD

}  // namespace

std::span<const header_field> header_fields() { return k_header_fields; }

std::vector<const header_field*> page_fields(page_block block) {
  std::vector<const header_field*> out;
  for (const header_field& f : k_header_fields)
    if (f.block == block) out.push_back(&f);
  std::stable_sort(out.begin(), out.end(),
                   [](const header_field* a, const header_field* b) { return a->page_row < b->page_row; });
  return out;
}

std::vector<const char*> description_lines(const antenna_data_type& pd) {
  std::vector<const char*> out;
  for (const header_field* f : page_fields(page_block::description))
    if (const char* d = field_text(pd, *f); d[0] != '\0') out.push_back(d);
  return out;
}

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

void settle_first_last(antenna_data_type& pd) {
  for (int f = 0; f < count_in(pd.nofreq, MAX_FREQ); ++f)
    for (int c = 0; c < count_in(pd.freq[f].numcut, MAX_CUTS); ++c) {
      cut_data_type& cut = pd.freq[f].cut[c];
      const first_last fl = first_last_of(cut);
      cut.fstlst[0] = fl.first;
      cut.fstlst[1] = fl.last;
    }
}

}  // namespace lobe
