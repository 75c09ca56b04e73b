// What the charts share: the centre-dB choices, the level mapping, the
// colour of a cut, the grid pens and the conversion of chart geometry to
// device pixels.
#pragma once

#include <cmath>

#include "core/record/lobe_state.h"
#include "draw/surface.h"

namespace lobe {

inline constexpr int centre_db_list[CENTRE_DB_SET] = {20, 25, 30, 35, 40, 45};
inline constexpr int centre_db_annuli[CENTRE_DB_SET] = {4, 5, 3, 5, 4, 5};
inline constexpr int centre_db_mid_annuli[CENTRE_DB_SET] = {0, 0, 1, 0, 1, 0};
inline constexpr int gr_colour_init = 0;
// What fails a check: the marks under the Cartesian axis, the verdicts' word.
inline constexpr colorref VERDICT_FAIL_COLOUR = rgb(230, 25, 56);

// A device coordinate from a chart value: truncated toward zero. Values that
// are no number or absurdly large (a bad file) land far outside any page
// instead of being undefined.
inline int pix(double v) {
  if (!(v == v)) return 0;
  if (v > 4e6) return 4000000;
  if (v < -4e6) return -4000000;
  return static_cast<int>(v);
}
inline int scaled(double v, float scf) { return pix(v * static_cast<double>(scf)); }

// The zoom step, kept inside the tables whatever the state holds.
inline int zoom_index(const view_state& v) {
  return v.centre_db_ix < 0 ? 0 : (v.centre_db_ix >= CENTRE_DB_SET ? CENTRE_DB_SET - 1 : v.centre_db_ix);
}

// The scale a grid uses: its dB range, its number of rings and dB per ring.
struct chart_range {
  int centre_dbs;
  int annuli;
  int db_increment;
};
chart_range chart_range_of(const view_state& v);

// Length of a level `signal` dB down (lowered by `shift` dB on the dB scale)
// at `k` pixels per dB (dB scale) or for the full voltage (voltage scale).
float level_length(const view_state& v, float signal, float shift, float k);

// Colour of the cut numbered n (every cut slot counts, shown or not).
colorref cut_colour(const lobe_state& st, int n);
// The place of cut c of frequency f among all cuts of the record: the n of
// its colour.
inline int cut_number(const antenna_data_type& pd, int f, int c) {
  int n = 0;
  for (int k = 0; k < f; ++k) n += count_in(pd.freq[k].numcut, MAX_CUTS);
  return n + c;
}

// Grid pens at a scale factor.
pen hpo_grey(float scf);
pen hpo_black(float scf);
pen hpo_pale(float scf);
// A trace pen of nominal width `width` in the cut's colour.
pen trace_pen(float scf, int width, colorref colour);

}  // namespace lobe
