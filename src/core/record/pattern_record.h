// The pattern record: a header of fixed-width text fields and up to 12
// frequencies of up to 8 cuts of up to 362 angle/level points.
//
// Levels are stored as non-negative attenuation in dB below the cut's peak;
// every reader stores the absolute value and every writer restores its
// format's sign. A cut with fewer than MAX_SAMPLES points carries END_MARKER
// in the angle slot after its last point.
#pragma once

#include <cmath>
#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "core/base/lobeview.h"

namespace lobe {

inline constexpr const char* PATCUT_HORIZONTAL = "H";
inline constexpr const char* PATCUT_VERTICAL = "V";
inline constexpr const char* PATCUT_AZIMUTH = "AZ";
inline constexpr const char* PATCUT_ELEVATION = "EL";
inline constexpr const char* POLARI_HPORT_HSIG = "H/H";
inline constexpr const char* POLARI_HPORT_VSIG = "H/V";
inline constexpr const char* POLARI_VPORT_VSIG = "V/V";
inline constexpr const char* POLARI_VPORT_HSIG = "V/H";
inline constexpr const char* GUNITS_DFLT = "DBD/DBD";
inline constexpr const char* PATTYP_TYP = "typical";
inline constexpr const char* PATTYP_ENV = "envelope";

struct cut_data_type {
  char patcut[16];
  char polari[16];
  int nupoin;
  float fstlst[2];
  float emax;
  float dmax;
  float angle[MAX_SAMPLES];
  float signal[MAX_SAMPLES];
};

struct freq_data_type {
  char patfre[24];
  int numcut;
  cut_data_type cut[MAX_CUTS];
};

struct antenna_data_type {
  char name[48];
  char make[48];
  char lowfrq[24];
  char hghfrq[24];
  char gunits[16];
  char lwgain[16];
  char mdgain[20];
  char hggain[16];
  char azwidt[20];
  char elwidt[20];
  char contyp[84];
  char atvswr[16];
  char front_to_back[16];
  char tilt[20];
  char radctr[16];
  char potopo[16];
  char maxpow[20];
  char comnt1[84];
  char comnt2[84];
  char patnum[48];
  char filnum[20];
  char fedorn[20];
  char descr1[84];
  char descr2[84];
  char descr3[84];
  char descr4[84];
  char descr5[84];
  char dtdata[20];
  char pattyp[18];
  char antlen[16];
  char antwid[16];
  char antdep[16];
  char antwgt[20];
  int nofreq;
  freq_data_type freq[MAX_FREQ];
};

// Where the printed page shows a header field: a block of captioned rows.
enum class page_block : unsigned char {
  identity,     // under the title: the names, pattern numbers and comments
  description,  // the description lines, without captions
  physical,     // connector, date, size and weight
  band,         // the foot's first column: frequencies and gains
  beam,         // the second: beamwidths, VSWR, front-to-back, tilt, centre
  power,        // the third: isolation and power
};

// Where the data panel edits a header field: its pane, its row, and the
// whole row or the left or right half of it.
enum class panel_pane : unsigned char { description, performance };
enum class row_part : unsigned char { whole, left, right };
struct panel_place {
  panel_pane pane;
  int row;
  row_part part;
};

// One header text field: its name in the record, its NSMA tag, where it
// lives, and where the page and the panel show it.
struct header_field {
  const char* name;
  const char* tag;
  std::size_t offset;
  std::size_t size;
  const char* caption;  // on the printed page (nullptr: none, a description line)
  page_block block;
  int page_row;  // within its block
  panel_place panel;
};

// Every header text field, in the order an NSMA file writes them.
std::span<const header_field> header_fields();
// The fields of a block of the printed page, in its order.
std::vector<const header_field*> page_fields(page_block block);
// The description lines that have text, in order.
std::vector<const char*> description_lines(const antenna_data_type& pd);
// The field tagged `tag` (case-insensitive, as the NSMA reader compares), or nullptr.
const header_field* header_field_by_tag(std::string_view tag);
// The field named `name` in the record, or nullptr.
const header_field* header_field_by_name(std::string_view name);

inline std::span<char> field_of(antenna_data_type& pd, const header_field& f) {
  return {reinterpret_cast<char*>(&pd) + f.offset, f.size};
}
inline const char* field_text(const antenna_data_type& pd, const header_field& f) {
  return reinterpret_cast<const char*>(&pd) + f.offset;
}

// Per-cut state the data panel shows beside the record: whether the cut
// carries a captured or LABZ peak level, and whether the user hid it.
struct cut_flags_type {
  int sweep_completed;
  int hide;
};

struct pattern_flags_type {
  cut_flags_type cut[MAX_FREQ][MAX_CUTS];
};

// A pattern as a file holds it: the record, the flags of its cuts and the
// largest peak level among them. Readers fill one, writers take one; the
// running program's state is one of these and more.
struct pattern_record {
  antenna_data_type pd;
  pattern_flags_type flags;  // sweep_completed / hide per cut row
  float all_emax = 0.0f;     // largest peak level seen since the last reset
};

// What a load saw of one cut that the record itself does not keep.
struct cut_load_facts {
  int freq = 0;
  int cut = 0;
  int dropped_points = 0;    // given beyond the 362 the cut holds, and not kept
  bool mixed_signs = false;  // levels of both signs: gains written by a converter, most likely
};

// Which columns of a 4NEC table hold the angle and the signal (0-based).
struct nec_columns {
  int nec_angle_col = 0;
  int nec_signal_col = 1;
};

// Whether the cut at frequency f, cut c is drawn, printed and written to Planet files.
inline bool cut_is_shown(const pattern_flags_type& flags, int f, int c) {
  return f >= 0 && f < MAX_FREQ && c >= 0 && c < MAX_CUTS && flags.cut[f][c].hide == 0;
}

// A count from the record (or a file), kept inside the table it counts.
inline int count_in(int v, int hi) { return v < 0 ? 0 : (v > hi ? hi : v); }

// Stores point `at` (an angle and a level, made non-negative as every stored
// level is) and the end marker after it, in the readers' way; false, and
// nothing stored, when `at` is outside the table.
inline bool put_point(cut_data_type& cut, int at, float angle, float level) {
  if (at < 0 || at >= MAX_SAMPLES) return false;
  cut.angle[at] = angle;
  cut.signal[at] = std::fabs(level);  // -0 too becomes +0
  if (at + 1 < MAX_SAMPLES) cut.angle[at + 1] = END_MARKER;
  return true;
}

// Number of stored points of a cut, whatever its nupoin says.
inline int stored_points(const cut_data_type& c) { return count_in(c.nupoin, MAX_SAMPLES); }

// The points of a cut a writer writes: those before its end marker. A file
// that declared more points than it gave (or gave lines that are no point)
// has no more: its count written matches its points written, and the
// marker itself never reaches a file.
inline int points_to_write(const cut_data_type& c) {
  const int n = stored_points(c);
  for (int p = 0; p < n; ++p)
    if (c.angle[p] == END_MARKER) return p;
  return n;
}

// The first and last angles a file names for a cut: its own, or where it
// has none (FSTLST_UNSET), those of its first and last points written.
struct first_last {
  float first, last;
};
inline first_last first_last_of(const cut_data_type& cut) {
  const int n = points_to_write(cut);
  first_last out{cut.fstlst[0], cut.fstlst[1]};
  // A cut with no points has nothing to take its angles from; they stay unset.
  if (n > 0 && out.first == FSTLST_UNSET) out.first = cut.angle[0];
  if (n > 0 && out.last == FSTLST_UNSET) out.last = cut.angle[n - 1];
  return out;
}
// Every cut keeps the angles an NSMA file of it names (first_last_of).
void settle_first_last(antenna_data_type& pd);

// A reader starting a cut: until a point is stored, it has none.
inline void start_cut_points(cut_data_type& cut) { cut.angle[0] = END_MARKER; }

// A drawn cut that met its end marker before its count. The charts only
// report these; the window then shortens the counts, so that later
// operations (a save above all) see the points the chart showed.
struct cut_end {
  int freq;
  int cut;
  int points;
};
using cut_ends = std::vector<cut_end>;
void shorten_cuts(antenna_data_type& pd, const cut_ends& ends);

// "H" or "AZ" in any case: a horizontal cut for the writers.
bool is_horizontal_cut(const char* patcut);
// "V" or "EL" in any case: a vertical cut.
bool is_vertical_cut(const char* patcut);

// The resets every load relies on.
void clear_cut_data(antenna_data_type& pd);
void clear_planet_header_data(antenna_data_type& pd, float& all_emax);
// Adds a frequency / a cut; false when the record is full.
bool add_freq_record(antenna_data_type& pd);
bool add_cut_record(antenna_data_type& pd, pattern_flags_type& flags, int f);

}  // namespace lobe
